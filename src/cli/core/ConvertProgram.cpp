#include "ConvertProgram.h"

#include "AppFolder.h"
#include "BatchRun.h"
#include "Catalog.h"
#include "CommandLine.h"
#include "ConsoleView.h"
#include "ConvertArgs.h"
#include "OptionSets.h"
#include "Probe.h"
#include "ProbePool.h"
#include "Settings.h"
#include "SheetLayout.h"
#include "ToolControl.h"
#include "UserProfiles.h"

#include <cerrno>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace vx {

namespace fs = std::filesystem;

namespace {

struct UsageError {
    std::string message;
};

// The user's own profiles, as the window lists them; a file that holds none is
// said once, as the window says it at its start.
UserProfileStore LoadUserProfiles(std::FILE* err) {
    UserProfileStore store;
    for (const ProfileRejection& rejected : store.Load())
        std::fprintf(err, "vantorix-convert: the profile %s is not used: %s\n",
                     rejected.file.c_str(), rejected.reason.c_str());
    return store;
}

void ListProfiles(std::FILE* out, const UserProfileStore& store) {
    std::string heading;
    for (int position = 1; const CatalogEntry* entry = ProfileCatalog::At(position); ++position) {
        if (entry->kind == EntryKind::Heading) {
            heading = entry->text;
            std::fprintf(out, "%d\t%s\n", position, entry->text);
        } else {
            std::fprintf(out, "%d\t%s\t%s\n", position, heading.c_str(), entry->text);
        }
    }
    if (store.Profiles().empty()) return;
    std::fprintf(out, "\tMy profiles\n");
    for (const UserProfile& profile : store.Profiles())
        std::fprintf(out, "\tMy profiles\t%s\n", profile.name.c_str());
}

// A position, an entry's exact text, or the name of one of the user's profiles:
// the entry with the values that the conversion puts on its option set.
UserProfile ResolveEntry(const std::string& given, const UserProfileStore& store) {
    int position = 0;
    if (given.find_first_not_of("0123456789") == std::string::npos && given.size() < 6)
        position = std::atoi(given.c_str());
    for (int p = 1; position == 0 && ProfileCatalog::At(p); ++p)
        if (given == ProfileCatalog::At(p)->text) position = p;
    if (position == 0)
        if (const UserProfile* profile = store.Find(given)) return *profile;
    const CatalogEntry* entry = ProfileCatalog::At(position);
    if (!entry) throw UsageError{"no entry \"" + given + "\" (see --list-profiles)"};
    if (entry->kind == EntryKind::Heading)
        throw UsageError{"\"" + std::string(entry->text) +
                         "\" is a heading: choose one of its profiles (see --list-profiles)"};
    UserProfile designed;
    designed.name = entry->text;
    designed.base = position;
    return designed;
}

// Options changed as the property grid changes them, by the names it shows and
// to values it offers, checked as a saved profile is.
void SetOptions(UserProfile& profile, const ConvertArgs& args) {
    for (const auto& [name, value] : args.sets) {
        std::erase_if(profile.values, [&](const OptionValue& v) { return v.caption == name; });
        profile.values.push_back({name, value});
    }
    if (const auto problem = OptionsProblem(profile.base, profile.values))
        throw UsageError{*problem};
}

// Files as absolute paths: the encoder runs in the application folder.
std::vector<std::string> SourceFiles(const std::vector<std::string>& given) {
    std::vector<std::string> files;
    for (const std::string& file : given) {
        std::error_code error;
        const fs::path path = fs::absolute(file, error);
        if (error || !fs::is_regular_file(path, error)) throw UsageError{file + ": no such file"};
        files.push_back(path.lexically_normal().string());
    }
    return files;
}

BatchSettings Settings(const ConvertArgs& args, const std::string& appFolder) {
    BatchSettings settings = LoadBatchSettings(appFolder);
    if (args.outputFolder) { // relative to where the command was given
        std::error_code error;
        settings.outputFolder = fs::absolute(*args.outputFolder, error).lexically_normal();
    }
    if (args.atOnce) settings.parallel = *args.atOnce;
    if (args.addNew) settings.addNew = *args.addNew;
    return settings;
}

// Every file probed as the window probes it, several at once.
void AddRows(SourceList& rows, const std::vector<std::string>& files,
             const std::string& appFolder) {
    std::mutex mutex;
    std::condition_variable done;
    std::map<std::uint64_t, std::string> reports;
    {
        ProbePool pool(WithTrailingSeparator(appFolder), ProbePool::DefaultWorkers(),
                       [&](std::uint64_t id, std::string output) {
                           std::lock_guard lock(mutex);
                           reports[id] = std::move(output);
                           done.notify_one();
                       });
        for (const std::string& file : files)
            pool.Submit(rows.Append(file), file);
        std::unique_lock lock(mutex);
        done.wait(lock, [&] { return reports.size() == files.size(); });
    }
    for (const auto& [id, output] : reports)
        FillRow(rows, id, output);
}

void Trim(SourceList& rows, const ConvertArgs& args) {
    for (int row = 0; row < rows.Count(); ++row) {
        if (args.start) rows.SetAt(row, kStart, *ClipTimeText(*args.start));
        if (args.end) rows.SetAt(row, kEnd, *ClipTimeText(*args.end));
    }
}

// What fp.dll runs for each row, for a POSIX shell: the encoder with -y first.
int DryRun(BatchRun& batch, const SourceList& rows, const ConvertIo& io) {
    int status = kExitConverted;
    const auto plan = batch.Plan();
    for (std::size_t row = 0; row < plan.size(); ++row) {
        const SourceItem& item = rows.Row(static_cast<int>(row));
        if (!item.unreadable.empty() || !plan[row].ok()) {
            std::fprintf(io.err, "vantorix-convert: %s: %s\n", item.columns[kFileName].c_str(),
                         item.unreadable.empty() ? Describe(plan[row].error)
                                                 : item.unreadable.c_str());
            status = kExitFailed;
            continue;
        }
        std::vector<std::string> arguments = SplitCommandLine(plan[row].value->commandLine);
        std::string line = "ffmpeg -y";
        for (std::size_t i = 1; i < arguments.size(); ++i) { // after the tool itself
            line += ' ';
            line += ShellQuoted(arguments[i]);
        }
        std::fprintf(io.out, "%s\n", line.c_str());
    }
    return status;
}

// Serves the batch until it ends; an interrupt cancels it as the Cancel button does.
bool Convert(BatchRun& batch, const ConvertIo& io) {
    bool interrupted = false;
    if (!batch.Start()) return false;
    while (batch.Running()) {
        pollfd fds[2] = {{batch.WakeDescriptor(), POLLIN, 0}, {io.interruptFd, POLLIN, 0}};
        const int count = io.interruptFd >= 0 ? 2 : 1;
        if (poll(fds, count, BatchRun::kRefreshMilliseconds) < 0 && errno != EINTR) break;
        if (count == 2 && (fds[1].revents & POLLIN)) {
            signalfd_siginfo info;
            if (read(io.interruptFd, &info, sizeof info) > 0 && !interrupted) {
                interrupted = true;
                batch.RequestCancel();
            }
        }
        batch.Step();
    }
    return interrupted;
}

int Summary(const SourceList& rows, bool interrupted, const ConvertIo& io) {
    int converted = 0, failed = 0, cancelled = 0;
    for (int row = 0; row < rows.Count(); ++row) {
        const std::string& status = rows.At(row, kStatus);
        converted += status == "OK";
        failed += status == "Fail";
        cancelled += status == "Cancel";
    }
    std::fprintf(io.err, "%d of %d files converted, %d failed", converted, rows.Count(), failed);
    if (cancelled > 0) std::fprintf(io.err, ", %d cancelled", cancelled);
    std::fprintf(io.err, ".\n");
    if (interrupted) return kExitInterrupted;
    return converted == rows.Count() ? kExitConverted : kExitFailed;
}

int Run(const ConvertArgs& args, const std::string& appFolder, const ConvertIo& io) {
    UserProfile profile = ResolveEntry(args.entry, LoadUserProfiles(io.err));
    SetOptions(profile, args);
    const int position = profile.base;
    OptionSheet sheet;
    FillDefaultLayout(sheet);
    ApplyOptions(sheet, position, profile.values);
    const std::vector<std::string> files = SourceFiles(args.files);

    SourceList rows;
    AddRows(rows, files, appFolder);
    Trim(rows, args);
    ToolControl tools;
    ConsoleView view(rows, position, io.err, io.terminal);
    BatchRun batch(rows, sheet, tools, view, appFolder);
    batch.UseSettings(Settings(args, appFolder));
    if (args.dryRun) return DryRun(batch, rows, io);
    const bool interrupted = Convert(batch, io);
    return Summary(rows, interrupted, io);
}

} // namespace

int RunConvert(const std::vector<std::string>& arguments, const std::string& appFolder,
               const ConvertIo& io) {
    const ParsedArgs parsed = ParseConvertArgs(arguments);
    try {
        if (!parsed.error.empty()) throw UsageError{parsed.error};
        if (parsed.args.help) {
            std::fputs(kConvertUsage, io.out);
            return kExitConverted;
        }
        if (parsed.args.listProfiles) {
            ListProfiles(io.out, LoadUserProfiles(io.err));
            return kExitConverted;
        }
        return Run(parsed.args, appFolder, io);
    } catch (const UsageError& error) {
        std::fprintf(io.err, "vantorix-convert: %s\nTry 'vantorix-convert --help'.\n",
                     error.message.c_str());
        return kExitUsage;
    }
}

} // namespace vx

#include "ConvertProgram.h"

#include "AppFolder.h"
#include "BatchRun.h"
#include "Catalog.h"
#include "CommandLine.h"
#include "ConsoleView.h"
#include "ConvertArgs.h"
#include "DryRunLine.h"
#include "EventCounter.h"
#include "FolderScan.h"
#include "KeptList.h"
#include "OptionSets.h"
#include "OutputFolder.h"
#include "Probe.h"
#include "ProbePool.h"
#include "Settings.h"
#include "SheetLayout.h"
#include "TimeText.h"
#include "ToolControl.h"
#include "UserFolders.h"
#include "UserProfiles.h"
#include "WatchProgram.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
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

// What goes to standard output for another program to read: the first write
// that fails is kept, so that a closed pipe or a full disk is said, not passed over.
class OutputLines {
  public:
    explicit OutputLines(std::FILE* out) : out_(out) {}
    void Put(const std::string& line) {
        errno = 0;
        if (error_ == 0 && (std::fputs(line.c_str(), out_) == EOF || std::fputc('\n', out_) == EOF))
            error_ = errno != 0 ? errno : EIO;
    }
    // Empty when everything reached the reader, else why it did not.
    std::string Finish() {
        errno = 0;
        if (error_ == 0 && (std::fflush(out_) != 0 || std::ferror(out_)))
            error_ = errno != 0 ? errno : EIO;
        return error_ == 0 ? std::string() : std::strerror(error_);
    }

  private:
    std::FILE* out_;
    int error_ = 0;
};

// Standard output was not written: said on standard error, and the status is 1.
int Unwritten(const ConvertIo& io, const char* what, const std::string& reason) {
    std::fprintf(io.err, "vantorix-convert: the %s could not be written to standard output: %s\n",
                 what, reason.c_str());
    return kExitFailed;
}

int ListProfiles(const ConvertIo& io, const UserProfileStore& store) {
    OutputLines out(io.out);
    std::string heading;
    for (int position = 1; const CatalogEntry* entry = ProfileCatalog::At(position); ++position) {
        if (entry->kind == EntryKind::Heading) heading = entry->text;
        out.Put(std::to_string(position) + "\t" +
                (entry->kind == EntryKind::Heading ? heading : heading + "\t" + entry->text));
    }
    if (!store.Profiles().empty()) out.Put("\tMy profiles");
    for (const UserProfile& profile : store.Profiles())
        out.Put("\tMy profiles\t" + profile.name);
    const std::string problem = out.Finish();
    return problem.empty() ? kExitConverted : Unwritten(io, "profile list", problem);
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
    for (const auto& set : args.sets) {
        // The caption the entry shows; a lambda cannot name a structured binding in clang 14.
        const std::string name = CurrentCaption(profile.base, set.first);
        std::erase_if(profile.values, [&](const OptionValue& v) { return v.caption == name; });
        profile.values.push_back({name, set.second});
    }
    if (const auto problem = OptionsProblem(profile.base, profile.values))
        throw UsageError{*problem};
}

// Files and folders as absolute paths (the encoder runs in the application
// folder); a folder gives the Flash Video files below it. Folders passed over
// are said; files that are no Flash Video are named once and left out.
ScanResult SourceFiles(const std::vector<std::string>& given, std::FILE* err) {
    std::vector<std::string> paths;
    for (const std::string& file : given) {
        std::error_code error;
        const fs::path path = fs::absolute(file, error);
        if (error || (!fs::is_regular_file(path, error) && !fs::is_directory(path, error)))
            throw UsageError{file + ": no such file"};
        paths.push_back(path.lexically_normal().string());
    }
    ScanResult found = CollectSources(paths);
    for (const std::string& note : found.notes)
        std::fprintf(err, "vantorix-convert: %s\n", note.c_str());
    if (!found.refused.empty())
        std::fprintf(err, "vantorix-convert: %s\n", RefusedSentence(found.refused).c_str());
    if (found.files.empty()) throw UsageError{"no Flash Video file (.flv, .f4v) to convert"};
    return found;
}

BatchSettings Settings(const ConvertArgs& args, const std::string& appFolder) {
    BatchSettings settings = LoadBatchSettings(appFolder);
    if (args.outputFolder) { // relative to where the command was given
        std::error_code error;
        settings.outputFolder = fs::absolute(*args.outputFolder, error).lexically_normal();
    }
    if (args.atOnce) settings.parallel = *args.atOnce;
    if (args.addNew) settings.addNew = *args.addNew;
    if (args.keepFolders) settings.keepFolders = true;
    return settings;
}

// Every file probed as the window probes it, several at once. False when the
// user stopped it: the players are ended and no row is filled.
bool AddRows(SourceList& rows, const std::vector<FoundFile>& files, const std::string& appFolder,
             const ConvertIo& io) {
    std::mutex mutex;
    std::map<std::uint64_t, std::string> reports;
    const EventCounter reported;
    {
        ProbePool pool(WithTrailingSeparator(appFolder), ProbePool::DefaultWorkers(),
                       [&](std::uint64_t id, std::string output) {
                           std::lock_guard lock(mutex);
                           reports[id] = std::move(output);
                           reported.Add();
                       });
        for (const FoundFile& file : files)
            pool.Submit(rows.Append(file.path, file.root), file.path);
        for (;;) {
            {
                std::lock_guard lock(mutex);
                if (reports.size() == files.size()) break;
            }
            pollfd fds[2] = {{reported.Descriptor(), POLLIN, 0}, {io.interruptFd, POLLIN, 0}};
            if (poll(fds, io.interruptFd >= 0 ? 2 : 1, -1) < 0 && errno != EINTR) break;
            if ((fds[1].revents & POLLIN) && TakeInterrupt(io)) return false;
            reported.Take();
        }
    }
    for (const auto& [id, output] : reports)
        FillRow(rows, id, output);
    return true;
}

void Trim(SourceList& rows, const ConvertArgs& args) {
    for (int row = 0; row < rows.Count(); ++row) {
        if (args.start) rows.SetAt(row, kStart, TimeText(*args.start));
        if (args.end) rows.SetAt(row, kEnd, TimeText(*args.end));
    }
}

// What fp.dll runs for each row, for a POSIX shell: the encoder with -y first. A
// row whose line could not be run safely is left out and said, as a failed row is.
int DryRun(BatchRun& batch, const SourceList& rows, const ConvertIo& io) {
    int status = kExitConverted;
    OutputLines out(io.out);
    const auto plan = batch.Plan();
    for (std::size_t row = 0; row < plan.size(); ++row) {
        const SourceItem& item = rows.Row(static_cast<int>(row));
        const std::string& source = item.columns[kFileName];
        std::optional<std::string> line;
        std::string problem = item.unreadable;
        if (problem.empty() && !plan[row].ok()) problem = Describe(plan[row].error);
        if (problem.empty() && !(line = DryRunLine(plan[row].value->commandLine))) {
            const bool output = !HoldsControl(source);
            problem = std::string("left out: ") +
                      (output ? "its output name " + Printable(plan[row].value->outputPath)
                              : std::string("its name")) +
                      " holds a line break or another control character, which would break its "
                      "command line in a shell or GNU parallel";
        }
        if (!problem.empty()) {
            std::fprintf(io.err, "vantorix-convert: %s: %s\n", Printable(source).c_str(),
                         problem.c_str());
            status = kExitFailed;
            continue;
        }
        out.Put(*line);
    }
    const std::string unwritten = out.Finish();
    return unwritten.empty() ? status : Unwritten(io, "command lines", unwritten);
}

// Serves the batch until it ends; an interrupt cancels it as the Cancel button does.
// Nothing when the batch did not start (the view has said why).
std::optional<bool> Convert(BatchRun& batch, const SourceList& rows, const ConvertIo& io) {
    bool interrupted = false;
    if (!batch.Start()) { // refused, or every row ended at once
        for (int row = 0; row < rows.Count(); ++row)
            if (!rows.At(row, kStatus).empty()) return false;
        return std::nullopt;
    }
    while (batch.Running()) {
        pollfd fds[2] = {{batch.WakeDescriptor(), POLLIN, 0}, {io.interruptFd, POLLIN, 0}};
        const int count = io.interruptFd >= 0 ? 2 : 1;
        if (poll(fds, count, batch.NextStepMilliseconds()) < 0 && errno != EINTR) break;
        if (count == 2 && (fds[1].revents & POLLIN) && TakeInterrupt(io) && !interrupted) {
            interrupted = true;
            batch.RequestCancel();
        }
        batch.Step();
    }
    return interrupted;
}

// The batch log lives in the state folder; a folder that cannot be written is said once.
void CheckStateFolder(const ConvertIo& io) {
    const std::string folder = KeptListFolder();
    if (const std::string problem = FolderWriteProblem(folder); !problem.empty())
        std::fprintf(io.err,
                     "vantorix-convert: the state folder %s cannot be written (%s): the batch "
                     "log, with each encoder's own words, will not be kept\n",
                     Printable(folder).c_str(), problem.c_str());
}

int Summary(const SourceList& rows, bool interrupted, const ConvertIo& io) {
    int converted = 0, shortRows = 0, failed = 0, cancelled = 0;
    for (int row = 0; row < rows.Count(); ++row) {
        const std::string& status = rows.At(row, kStatus);
        converted += status == "OK";
        shortRows += status == kShortStatus;
        failed += status == "Fail";
        cancelled += status == "Cancel";
    }
    std::fprintf(io.err, "%d of %d files converted", converted, rows.Count());
    // A short output is all its source holds: no failure of the run.
    if (shortRows > 0) std::fprintf(io.err, ", %d shorter than expected", shortRows);
    std::fprintf(io.err, ", %d failed", failed);
    if (cancelled > 0) std::fprintf(io.err, ", %d cancelled", cancelled);
    std::fprintf(io.err, ".\n");
    if (interrupted) return kExitInterrupted;
    return converted + shortRows == rows.Count() ? kExitConverted : kExitFailed;
}

// Converts the files that arrived below `root` as one batch and gives each file's result.
WatchBatch ConvertArrivals(const std::vector<std::string>& files, const std::string& root,
                           const BatchSettings& settings, const ConvertArgs& args,
                           OptionSheet& sheet, int position, const std::string& appFolder,
                           const ConvertIo& io) {
    std::vector<FoundFile> found;
    for (const std::string& file : files)
        found.push_back({file, root}); // kept folders are those below the watched one
    SourceList rows;
    WatchBatch outcome;
    if (!AddRows(rows, found, appFolder, io)) {
        outcome.interrupted = true; // stopped while the files were probed
        return outcome;
    }
    Trim(rows, args);
    ToolControl tools;
    ConsoleView view(rows, position, io.err, io.terminal);
    BatchRun batch(rows, sheet, tools, view, appFolder);
    batch.UseSettings(settings);
    outcome.interrupted = Convert(batch, rows, io).value_or(false);
    for (int row = 0; row < rows.Count(); ++row)
        outcome.results[rows.At(row, kFileName)] = rows.At(row, kStatus);
    return outcome;
}

int Watch(const ConvertArgs& args, OptionSheet& sheet, int position, const std::string& appFolder,
          const ConvertIo& io) {
    std::error_code error;
    const std::string root = fs::absolute(*args.watch, error).lexically_normal().string();
    const BatchSettings settings = Settings(args, appFolder);
    const std::string output = AbsoluteOutputFolder(settings.outputFolder, appFolder, HomeFolder());
    return RunWatch(
        root, output, StateHome() + "/vantorix",
        [&](const std::vector<std::string>& files) {
            return ConvertArrivals(files, root, settings, args, sheet, position, appFolder, io);
        },
        io);
}

int Run(const ConvertArgs& args, const std::string& appFolder, const ConvertIo& io) {
    UserProfile profile = ResolveEntry(args.entry, LoadUserProfiles(io.err));
    SetOptions(profile, args);
    const int position = profile.base;
    OptionSheet sheet;
    FillDefaultLayout(sheet);
    ApplyOptions(sheet, position, profile.values);
    if (args.watch) {
        CheckStateFolder(io);
        return Watch(args, sheet, position, appFolder, io);
    }
    const ScanResult found = SourceFiles(args.files, io.err);
    // Files left out make the run a partial one, however it ends.
    const auto partial = [&found](int status) {
        return status == kExitConverted && !found.refused.empty() ? kExitFailed : status;
    };

    SourceList rows;
    if (!AddRows(rows, found.files, appFolder, io)) return Summary(rows, true, io);
    Trim(rows, args);
    if (args.join) {
        if (rows.Count() < 2) throw UsageError{"--join needs two files or more"};
        // A copying join reads a list of the parts that only a conversion writes.
        if (args.dryRun) throw UsageError{"--join cannot be combined with --dry-run"};
        std::vector<int> all(static_cast<std::size_t>(rows.Count()));
        for (int row = 0; row < rows.Count(); ++row)
            all[static_cast<std::size_t>(row)] = row;
        rows.Join(all);
    }
    ToolControl tools;
    ConsoleView view(rows, position, io.err, io.terminal);
    BatchRun batch(rows, sheet, tools, view, appFolder);
    batch.UseSettings(Settings(args, appFolder));
    if (args.dryRun) return partial(DryRun(batch, rows, io));
    CheckStateFolder(io);
    const std::optional<bool> interrupted = Convert(batch, rows, io);
    if (!interrupted) return kExitFailed; // no file was started: the reason is said
    return partial(Summary(rows, *interrupted, io));
}

} // namespace

bool TakeInterrupt(const ConvertIo& io) {
    signalfd_siginfo info;
    return io.interruptFd >= 0 && read(io.interruptFd, &info, sizeof info) > 0;
}

int RunConvert(const std::vector<std::string>& arguments, const std::string& appFolder,
               const ConvertIo& io) {
    const ParsedArgs parsed = ParseConvertArgs(arguments);
    try {
        if (!parsed.error.empty()) throw UsageError{parsed.error};
        if (parsed.args.help) {
            OutputLines out(io.out);
            out.Put(std::string(kConvertUsage, std::strlen(kConvertUsage) - 1));
            const std::string problem = out.Finish();
            return problem.empty() ? kExitConverted : Unwritten(io, "help", problem);
        }
        if (parsed.args.listProfiles) return ListProfiles(io, LoadUserProfiles(io.err));
        return Run(parsed.args, appFolder, io);
    } catch (const UsageError& error) {
        std::fprintf(io.err, "vantorix-convert: %s\nTry 'vantorix-convert --help'.\n",
                     error.message.c_str());
        return kExitUsage;
    }
}

} // namespace vx

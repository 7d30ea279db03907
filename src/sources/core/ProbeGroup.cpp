#include "ProbeGroup.h"

#include "CommandLine.h"
#include "Process.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace vx {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

std::string GroupIdentifyCommandLine(const std::string& appFolder,
                                     const std::vector<std::string>& paths) {
    std::string line = Quoted(appFolder + "mp.dll") +
                       " -identify -benchmark -nosound -vo null -vf cropdetect -endpos 1";
    for (const std::string& path : paths) { // in two steps: GCC 12 -O3 warns falsely otherwise
        line += ' ';
        line += Quoted(path);
    }
    return line;
}

GroupReportSplitter::GroupReportSplitter(std::vector<std::string> names)
    : names_(std::move(names)) {}

std::vector<std::size_t> GroupReportSplitter::Feed(std::string_view chunk) {
    output_ += chunk;
    std::vector<std::size_t> whole;
    while (starts_.size() < names_.size()) {
        const std::string line = "Playing " + names_[starts_.size()] + ".";
        std::size_t at = output_.find(line, scanned_);
        // The line stands alone: a line break (or nothing) before it, a line break after it.
        for (; at != std::string::npos; at = output_.find(line, at + 1)) {
            const std::size_t end = at + line.size();
            if (end >= output_.size()) break; // its end is still to come
            const bool breakBefore = at == 0 || output_[at - 1] == '\n' || output_[at - 1] == '\r';
            if (breakBefore && (output_[end] == '\n' || output_[end] == '\r')) break;
        }
        if (at == std::string::npos || at + line.size() >= output_.size()) {
            // Look again from where the line may begin once more output has come.
            const std::size_t tail =
                output_.size() > line.size() ? output_.size() - line.size() : 0;
            scanned_ = std::max(scanned_, at == std::string::npos ? tail : at);
            break;
        }
        if (!starts_.empty()) whole.push_back(starts_.size() - 1);
        markers_.push_back(at);
        starts_.push_back(at + line.size() + 1);
        scanned_ = starts_.back();
    }
    return whole;
}

std::string GroupReportSplitter::Report(std::size_t file) const {
    if (file >= starts_.size()) return {};
    const std::size_t from = std::min(starts_[file], output_.size());
    const std::size_t to = file + 1 < markers_.size() ? markers_[file + 1] : output_.size();
    return output_.substr(from, to - from);
}

namespace {

// The files as the player is given them: links in a folder of our own with
// plain names, so that the line the player prints for each is known exactly
// (it does not depend on the bytes of the real name nor on the locale) and no
// text inside a file can pass for it.
class AliasFolder {
  public:
    explicit AliasFolder(const std::vector<std::string>& paths) {
        std::error_code error;
        std::string pattern = (fs::temp_directory_path(error) / "vx-probe-XXXXXX").string();
        if (paths.size() < 2 || error || mkdtemp(pattern.data()) == nullptr) return;
        folder_ = pattern;
        for (const std::string& path : paths) {
            const std::string alias =
                folder_ + "/" + std::to_string(links_.size()) + Extension(path);
            const fs::path target = fs::absolute(path, error);
            if (error || symlink(target.c_str(), alias.c_str()) != 0) return;
            links_.push_back(alias);
        }
        complete_ = true;
    }
    ~AliasFolder() {
        for (const std::string& link : links_)
            unlink(link.c_str());
        if (!folder_.empty()) rmdir(folder_.c_str());
    }
    AliasFolder(const AliasFolder&) = delete;
    AliasFolder& operator=(const AliasFolder&) = delete;

    // Empty when the links could not all be made.
    std::vector<std::string> aliases() const {
        return complete_ ? links_ : std::vector<std::string>{};
    }

  private:
    // The real name's extension when it is plain letters and digits, so that
    // the player sees the same kind of name.
    static std::string Extension(const std::string& path) {
        const std::string name = fs::path(path).filename().string();
        const std::size_t dot = name.rfind('.');
        if (dot == std::string::npos || dot == 0 || name.size() - dot > 9) return {};
        for (std::size_t i = dot + 1; i < name.size(); ++i)
            if (!std::isalnum(static_cast<unsigned char>(name[i]))) return {};
        return name.substr(dot);
    }

    std::string folder_;
    std::vector<std::string> links_;
    bool complete_ = false;
};

bool Cancelled(const ProbeControl& control) {
    return control.cancelled && control.cancelled->load();
}

// How one group run ended.
struct GroupRun {
    std::size_t reached = 0; // files the player opened
    bool clean = false;      // it ended by itself with exit code 0
    bool stalled = false;    // it printed nothing for too long and was ended
};

// Runs the player over the aliases, handing each whole report to `whole`.
GroupRun RunGroup(const std::string& appFolder, const std::vector<std::string>& aliases,
                  const ProbeControl& control,
                  const std::function<void(std::size_t, std::string)>& whole,
                  GroupReportSplitter& splitter) {
    GroupRun run;
    auto lastOutput = Clock::now(); // outlives the process, whose end may still read
    Process process;
    process.CmdLine = GroupIdentifyCommandLine(appFolder, aliases);
    process.Async = true;
    process.StdOutChanged = [&](std::string& chunk) {
        lastOutput = Clock::now();
        for (std::size_t file : splitter.Feed(chunk))
            whole(file, splitter.Report(file));
    };
    process.Launch();
    while (process.IsActive()) {
        process.Read();
        if (Cancelled(control)) {
            process.Abort(kProbeAborted);
            return run;
        }
        if (Clock::now() - lastOutput >= control.stallLimit) {
            process.Abort(kProbeAborted);
            run.stalled = true;
            break;
        }
    }
    run.reached = splitter.Reached();
    run.clean = !run.stalled && process.RC() == 0;
    return run;
}

} // namespace

void RunIdentifyGroup(const std::string& appFolder, const std::vector<std::string>& paths,
                      const ProbeControl& control, const GroupReport& report) {
    std::vector<std::size_t> probed; // indices of the regular files
    std::vector<std::string> probedPaths;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (!IsProbeable(paths[i])) {
            report(i, {}); // the row of a file the player cannot read
            continue;
        }
        probed.push_back(i);
        probedPaths.push_back(paths[i]);
    }
    std::vector<std::size_t> alone; // positions in `probed` asked one at a time
    const AliasFolder folder(probedPaths);
    const std::vector<std::string> aliases = folder.aliases();
    if (aliases.empty()) {
        for (std::size_t k = 0; k < probed.size(); ++k)
            alone.push_back(k);
    } else {
        GroupReportSplitter splitter(aliases);
        std::vector<std::size_t> second; // sound-only files, asked again after the run
        const auto whole = [&](std::size_t k, std::string output) {
            if (NeedsSecondLook(output))
                second.push_back(k);
            else
                report(probed[k], std::move(output));
        };
        const GroupRun run = RunGroup(appFolder, aliases, control, whole, splitter);
        if (Cancelled(control)) return;
        if (run.reached > 0) {
            const std::size_t last = run.reached - 1;
            if (run.clean)
                whole(last, splitter.Report(last));
            else if (run.stalled)
                report(probed[last], {}); // given up, as a probe of its own would be
            else
                alone.push_back(last); // it may have ended the player: asked again alone
        }
        for (std::size_t k = run.reached; k < probed.size(); ++k)
            alone.push_back(k);
        for (std::size_t k : second) {
            if (Cancelled(control)) return;
            report(probed[k],
                   WithSecondLook(appFolder, probedPaths[k], splitter.Report(k), control));
        }
    }
    for (std::size_t k : alone) {
        if (Cancelled(control)) return;
        report(probed[k], RunIdentify(appFolder, probedPaths[k], control));
    }
}

} // namespace vx

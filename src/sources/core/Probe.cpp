#include "Probe.h"

#include "CommandLine.h"
#include "MissingTool.h"
#include "Numbers.h"
#include "Process.h"
#include "TimeText.h"

#include <cctype>
#include <sys/stat.h>

namespace vx {

std::string IdentifyCommandLine(const std::string& appFolder, const std::string& path) {
    return Quoted(appFolder + "mp.dll") +
           " -identify -benchmark -nosound -vo null -vf cropdetect -endpos 1 " + Quoted(path);
}

std::string SoundIdentifyCommandLine(const std::string& appFolder, const std::string& path) {
    return Quoted(appFolder + "mp.dll") + " -identify -ao null -vo null -frames 0 " + Quoted(path);
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string current;
    for (char c : text) {
        if (c == '\n' || c == '\r') {
            if (!current.empty()) lines.push_back(std::move(current));
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    if (!current.empty()) lines.push_back(std::move(current));
    return lines;
}

namespace {

// "[lavf] stream 1: audio (mp3float), -aid 0" names the sound's decoder.
std::optional<std::string> DemuxedAudio(const std::string& line) {
    static const std::string kMark = ": audio (";
    if (!line.starts_with("[lavf] stream ")) return std::nullopt;
    const std::size_t at = line.find(kMark);
    if (at == std::string::npos) return std::nullopt;
    const std::size_t from = at + kMark.size();
    const std::size_t to = line.find(')', from);
    if (to == std::string::npos) return std::nullopt;
    return line.substr(from, to - from);
}

} // namespace

IdentifyReport ParseIdentifyReport(const std::string& output) {
    IdentifyReport report;
    std::optional<std::string> demuxedAudio;
    for (const std::string& line : SplitLines(output)) {
        if (!demuxedAudio) demuxedAudio = DemuxedAudio(line);
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = line.substr(0, eq);
        const std::size_t next = line.find('=', eq + 1);
        const std::string value =
            line.substr(eq + 1, next == std::string::npos ? next : next - eq - 1);
        if (key == "ID_VIDEO_WIDTH" || key == "ID_VIDEO_HEIGHT") {
            const auto number = ToInt32(value);
            if (!number) {
                report.failed = true;
                return report;
            }
            (key == "ID_VIDEO_WIDTH" ? report.width : report.height) = *number;
        } else if (key == "ID_LENGTH") {
            report.length = ReadNumber(value);
        } else if (key == "ID_AUDIO_ID") {
            report.sound = true;
        } else if (key == "ID_VIDEO_FORMAT") {
            report.format = value;
        } else if (key == "ID_AUDIO_FORMAT") {
            report.audioFormat = value;
        }
    }
    if (!report.audioFormat) report.audioFormat = demuxedAudio;
    return report;
}

bool IsProbeable(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

namespace {

// Runs one player command and gives its output; empty when given up.
std::string RunPlayer(const std::string& commandLine, const ProbeControl& control) {
    Process process;
    process.CmdLine = commandLine;
    process.Async = true;
    process.PumpMessages = control.pump;
    process.Launch();
    const auto deadline = std::chrono::steady_clock::now() + control.timeLimit;
    while (process.IsActive()) {
        process.Read();
        const bool cancelled = control.cancelled && control.cancelled->load();
        if (cancelled || std::chrono::steady_clock::now() >= deadline) {
            process.Abort(kProbeAborted); // no report: the row of an unreadable file
            return {};
        }
    }
    return process.StdOut();
}

bool HasPicture(const IdentifyReport& report) {
    return report.width > 0 && report.height > 0;
}

constexpr const char* kUnreadableReason =
    "Vantorix could not read this file: it may be damaged, incomplete or not a Flash video. "
    "It will be skipped when converting.";

} // namespace

bool NeedsSecondLook(const std::string& output) {
    const IdentifyReport report = ParseIdentifyReport(output);
    // Without sound the player finds no stream to play in a sound-only file.
    return !HasPicture(report) && report.sound && !report.length && !report.failed;
}

std::string WithSecondLook(const std::string& appFolder, const std::string& path,
                           std::string output, const ProbeControl& control) {
    output += '\n';
    output += RunPlayer(SoundIdentifyCommandLine(appFolder, path), control);
    return output;
}

std::string RunIdentify(const std::string& appFolder, const std::string& path,
                        const ProbeControl& control) {
    // A FIFO, a device or a folder could keep the player waiting for ever.
    if (!IsProbeable(path)) return {};
    std::string output = RunPlayer(IdentifyCommandLine(appFolder, path), control);
    if (!NeedsSecondLook(output)) return output;
    return WithSecondLook(appFolder, path, std::move(output), control);
}

void FillRow(SourceList& list, std::uint64_t id, const std::string& output) {
    const IdentifyReport report = ParseIdentifyReport(output);
    if (report.length) {
        list.Set(id, kEnd, LengthTimeText(*report.length));
        list.Set(id, kVideoTime, LengthTimeText(*report.length));
    }
    if (report.format) list.Set(id, kFormat, *report.format);
    if (report.audioFormat) list.SetAudioFormat(id, *report.audioFormat);
    if (report.failed) return;
    list.Set(id, kStart, "0:00:00");
    const bool soundOnly =
        !HasPicture(report) && report.sound && report.length && *report.length > 0;
    list.Set(id, kSize,
             soundOnly ? kSoundOnly
                       : std::to_string(report.width) + "x" + std::to_string(report.height));
    if (HasPicture(report) || soundOnly) return;
    // No report at all may mean no player to make one.
    const std::string tool = MissingToolIn(SplitLines(output));
    list.SetUnreadable(id, tool.empty() ? kUnreadableReason : MissingToolSentence(tool));
}

void AddSourceFile(SourceList& list, const std::string& appFolder, const std::string& path,
                   const std::function<void()>& pump) {
    const std::uint64_t id = list.Append(path);
    ProbeControl control;
    control.pump = pump;
    FillRow(list, id, RunIdentify(appFolder, path, control));
    if (pump) pump();
}

bool IsFlvName(const std::string& path) {
    if (path.size() < 3) return false;
    std::string tail = path.substr(path.size() - 3);
    for (char& c : tail)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return tail == "FLV" || tail == "F4V"; // F4V: Flash's own MP4-based video
}

SelectedFiles ParseDialogSelection(const std::vector<std::string>& paths) {
    SelectedFiles selection;
    for (const std::string& path : paths) {
        const std::size_t slash = path.rfind('/');
        const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
        if (selection.Count == 0) selection.Folder = folder.empty() ? "/" : folder;
        selection.Names.push_back(slash == std::string::npos ? path : path.substr(slash + 1));
        ++selection.Count;
    }
    return selection;
}

} // namespace vx

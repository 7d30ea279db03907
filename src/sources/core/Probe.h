#pragma once
// Probing an added file with the player tool in identify mode.

#include "SourceList.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vx {

// The identify command line. The tool path is quoted too, so that an
// application folder with blanks still starts the tool.
std::string IdentifyCommandLine(const std::string& appFolder, const std::string& path);
// The identify command that lets the sound through: a file without a picture
// tells its length only so.
std::string SoundIdentifyCommandLine(const std::string& appFolder, const std::string& path);

// What one report says, read line by line as the row is written: a width or
// height that is not an integer stops the reading there (failed is then true,
// and only what came before it counts).
struct IdentifyReport {
    int width = 0;
    int height = 0;
    std::optional<double> length;
    std::optional<std::string> format;
    bool sound = false; // the file has a sound stream
    // ID_AUDIO_FORMAT, or without it (a report made with -nosound) the decoder
    // the demuxer names for the first sound stream.
    std::optional<std::string> audioFormat;
    bool failed = false;
};

IdentifyReport ParseIdentifyReport(const std::string& output);

// Lines split at every line feed and every carriage return.
std::vector<std::string> SplitLines(const std::string& text);

// Only regular files are probed: a FIFO, a device or a folder would keep the
// player waiting, and gets the row of a file the player cannot read.
bool IsProbeable(const std::string& path);

// A probe takes about 0.1 s; one that has not ended after this is given up
// (a file on a hung network mount) and its row is that of an unreadable file.
inline constexpr std::chrono::milliseconds kProbeTimeLimit{20000};
// The exit code recorded for a probe that was given up.
inline constexpr int kProbeAborted = 124;
// A run over several files that prints nothing for this long is given up.
inline constexpr std::chrono::milliseconds kProbeStallLimit{10000};

struct ProbeControl {
    std::chrono::milliseconds timeLimit = kProbeTimeLimit;
    std::chrono::milliseconds stallLimit = kProbeStallLimit;
    const std::atomic<bool>* cancelled = nullptr; // set from another thread to give up
    std::function<void()> pump;                   // serves the window while waiting
};

// Runs the player's identify command on the file and gives its report (its
// standard output and error); empty for a file that is not probed, a tool that
// cannot start, and a probe given up. A file with sound and no picture is asked
// again for its length, and both reports are given.
std::string RunIdentify(const std::string& appFolder, const std::string& path,
                        const ProbeControl& control);
// Whether a report is that of a file with sound and no picture, whose length
// only a second run that lets the sound through tells.
bool NeedsSecondLook(const std::string& output);
// That second run's report, after the first.
std::string WithSecondLook(const std::string& appFolder, const std::string& path,
                           std::string output, const ProbeControl& control);

// Fills the row with that id from a report; a row removed meanwhile is left alone.
// A file with neither a picture nor sound of a known length is marked unreadable.
void FillRow(SourceList& list, std::uint64_t id, const std::string& output);

// Appends a row for the file and fills it from the probe, waiting for it. The
// window is served through `pump` while the tool runs.
void AddSourceFile(SourceList& list, const std::string& appFolder, const std::string& path,
                   const std::function<void()>& pump);

// The rule for dropped files: the last three characters, upper-cased, are "FLV"
// (or "F4V").
bool IsFlvName(const std::string& path);

// The files chosen in the open dialog: one folder (ending in "/") and names.
struct SelectedFiles {
    int Count = 0;
    std::string Folder;
    std::vector<std::string> Names;
};

// Built from the full paths the dialog returns, in the dialog's order.
SelectedFiles ParseDialogSelection(const std::vector<std::string>& paths);

} // namespace vx

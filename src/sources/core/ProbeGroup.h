#pragma once
// Probing several files with one run of the player: the identify command with
// all of them after its options. Most of a probe's time is the player's own
// start-up, which a group pays once.

#include "Probe.h"

#include <cstddef>
#include <string_view>

namespace vx {

// At most this many files go to one run.
inline constexpr std::size_t kProbeGroupSize = 16;

// The identify command over several files: the same options, the files after them.
std::string GroupIdentifyCommandLine(const std::string& appFolder,
                                     const std::vector<std::string>& paths);

// Cuts the report of a group run into the report of each file at the line
// "Playing NAME." that the player prints as it opens it, the names matched in
// the order they were given.
class GroupReportSplitter {
  public:
    explicit GroupReportSplitter(std::vector<std::string> names);
    // Takes more of the output; gives the files whose reports are now whole
    // (those followed by the next file's line).
    std::vector<std::size_t> Feed(std::string_view chunk);
    // How many files the player has opened so far.
    std::size_t Reached() const { return starts_.size(); }
    // The report of a file that was reached, as far as it came.
    std::string Report(std::size_t file) const;

  private:
    std::vector<std::string> names_;
    std::string output_;
    std::vector<std::size_t> markers_; // where each reached file's line begins
    std::vector<std::size_t> starts_;  // where its report begins, after that line
    std::size_t scanned_ = 0;          // the next file's line is not before this
};

// Called with the index of a file and what RunIdentify on it alone would give.
using GroupReport = std::function<void(std::size_t file, std::string output)>;

// Probes the files with as few runs as it can, handing out each file's report
// once, as soon as it is known. A run that prints nothing for
// `control.stallLimit` or ends abnormally is ended: the file it was on is given
// up (after a stall) or asked again alone (after a crash), and the files it had
// not reached are probed one at a time. Nothing is reported once cancelled.
void RunIdentifyGroup(const std::string& appFolder, const std::vector<std::string>& paths,
                      const ProbeControl& control, const GroupReport& report);

} // namespace vx

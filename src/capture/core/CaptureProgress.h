#pragma once
// The encoder's progress report and the status line made from it.
//
// With "-progress" the encoder writes blocks of "key=value" lines, each block
// ended by "progress=continue" (or "progress=end" for the last one). The keys
// used: "frame" (frames written to the first output, the recording),
// "drop_frames", and "out_time_us" (microseconds; "out_time_ms" holds
// microseconds too, despite its name, and serves when the first is missing).

#include "CaptureControl.h"

#include <string>
#include <string_view>

namespace vx {

class ProgressReader {
  public:
    // Takes the next bytes of the report; true when they completed a block.
    bool Feed(std::string_view bytes);
    // The figures of the last complete block.
    const CaptureStatistics& Statistics() const { return done_; }
    // The encoder has written its last block.
    bool Ended() const { return done_.final; }

  private:
    void TakeLine(std::string_view line);

    std::string partial_;     // an unfinished line
    CaptureStatistics block_; // the block being read
    bool haveMicroseconds_ = false;
    CaptureStatistics done_;
    bool completed_ = false;
};

// "250 frames (3 dropped) - 10.04 sec.": the time in seconds with two decimals.
std::string StatusLine(const CaptureStatistics& statistics);

} // namespace vx

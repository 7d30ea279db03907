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
    // The last of the encoder's own messages that names a cause, such as
    // "file:/x/a.avi: No such file or directory"; empty when there was none.
    const std::string& LastMessage() const { return message_; }

  private:
    void TakeLine(std::string_view line);

    std::string partial_;     // an unfinished line
    CaptureStatistics block_; // the block being read
    bool haveMicroseconds_ = false;
    CaptureStatistics done_;
    bool completed_ = false;
    std::string message_;
};

// Why an encoder ended unasked, in its own words: the cause at the end of its
// last message ("No space left on device"), or its exit code when it gave none.
std::string FailureReason(const std::string& lastMessage, int exitCode);

// "250 frames (3 dropped) - 10.04 sec.": the time in seconds with two decimals.
std::string StatusLine(const CaptureStatistics& statistics);

} // namespace vx

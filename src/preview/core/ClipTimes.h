#pragma once
// The clip of one file chosen in the trimming window: what the main window
// hands over, and the rules for the two times.

#include <optional>
#include <string>
#include <string_view>

namespace vx {

// The selected row as the trimming window gets it.
struct ClipHandover {
    std::string ClipFile;         // the row's path; emptied when the window closes
    std::string ClipStartText;    // its "Start"
    std::string ClipEndText;      // its "End"
    std::string ClipDurationText; // its "Video Time"
};
ClipHandover& SharedClip();

// A clip time "H:MM:SS" (hours of any number of digits, minutes and seconds
// below 60) in seconds; nothing for text that is not such a time.
std::optional<int> ReadClipTime(std::string_view text);

// The clip length from the start to the end text as time text ("-0:00:03"
// when the end lies before the start); nothing when either text is no time or
// the length is beyond 32767 seconds either way.
std::optional<std::string> ClipLengthText(std::string_view start, std::string_view end);

// A pair that OK accepts: both are times and the start lies before the end.
bool ClipPairValid(std::string_view start, std::string_view end);

} // namespace vx

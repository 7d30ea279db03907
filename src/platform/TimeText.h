#pragma once
// Time text: a count of seconds shown as the time of day that lies that many
// seconds after midnight, "H:MM:SS" with unpadded hours, in a fixed format.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vx {

// Seconds after midnight as "H:MM:SS"; 24 hours and more wrap around.
std::string TimeText(std::int64_t seconds);

// The same, after narrowing the count to a 16-bit signed number, as the
// timers and sliders do; fails for counts outside -32768..32767.
std::optional<std::string> TimeText16(std::int64_t seconds);

// Length in seconds (a fraction is dropped) as time text, as the probe writes it.
std::string LengthTimeText(double seconds);

// A time text read back as a time of day: "H:MM:SS" or "H:MM", hours 0 to 23.
// Gives the seconds after midnight, or nothing for text that is not a time.
std::optional<int> ReadTimeOfDay(std::string_view text);

} // namespace vx

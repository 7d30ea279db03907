// Time text: every second of a day is written and read back unchanged, any
// count of seconds and any length show as a time of day that reads back as the
// count wrapped into one day, and any text that reads as a time reads back the
// same after being written again.

#include "FuzzChecks.h"
#include "TimeText.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace vx::fuzz {

namespace {

constexpr std::int64_t kDay = 86400;

std::int64_t IntoOneDay(std::int64_t seconds) {
    return (seconds % kDay + kDay) % kDay;
}

std::string CheckCount(std::int64_t count) {
    const std::string text = TimeText(count);
    const auto read = ReadTimeOfDay(text);
    if (!read || *read != IntoOneDay(count))
        return std::to_string(count) + " s is written " + Show(text) + ", which reads back as " +
               (read ? std::to_string(*read) : std::string("no time"));
    const bool narrow = count >= std::numeric_limits<std::int16_t>::min() &&
                        count <= std::numeric_limits<std::int16_t>::max();
    const auto narrowed = TimeText16(count);
    if (narrowed.has_value() != narrow || (narrowed && *narrowed != text))
        return "the 16-bit time text of " + std::to_string(count) + " s is wrong";
    return {};
}

std::string CheckLength(double length) {
    const std::string text = LengthTimeText(length);
    const auto read = ReadTimeOfDay(text);
    if (!read) return "the length " + std::to_string(length) + " shows as " + Show(text);
    if (std::isfinite(length)) {
        // The fraction is dropped and whole days wrap around.
        const double whole = std::trunc(std::fmod(length, static_cast<double>(kDay)));
        if (*read != IntoOneDay(static_cast<std::int64_t>(whole)))
            return "the length " + std::to_string(length) + " shows as " + Show(text);
    }
    return {};
}

std::string CheckText(std::string_view text) {
    const auto read = ReadTimeOfDay(text);
    if (!read) return {};
    if (*read < 0 || *read >= kDay)
        return Show(text) + " reads as " + std::to_string(*read) + " s, outside one day";
    const std::string written = TimeText(*read);
    if (ReadTimeOfDay(written) != read)
        return Show(text) + " reads as " + std::to_string(*read) + " s, written again as " +
               Show(written) + " it reads otherwise";
    return {};
}

} // namespace

std::string CheckTimeText(std::string_view input) {
    InputReader in(input);
    const std::string day = in.Take(3) + std::string(3, '\0');
    const auto ofDay = static_cast<std::int64_t>(static_cast<unsigned char>(day[0]) |
                                                 static_cast<unsigned char>(day[1]) << 8 |
                                                 static_cast<unsigned char>(day[2]) << 16) %
                       kDay;
    if (std::string broken = CheckCount(ofDay); !broken.empty()) return broken;
    if (std::string broken = CheckCount(Bits<std::int64_t>(in)); !broken.empty()) return broken;
    if (std::string broken = CheckLength(Bits<double>(in)); !broken.empty()) return broken;
    return CheckText(in.Rest());
}

} // namespace vx::fuzz

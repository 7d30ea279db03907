#include "TimeText.h"

#include "Numbers.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace vx {

namespace {

constexpr std::int64_t kDay = 86400;

// One field of a time text: one or two digits.
std::optional<int> Field(std::string_view text) {
    if (text.empty() || text.size() > 2) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace

std::string TimeText(std::int64_t seconds) {
    const std::int64_t s = ((seconds % kDay) + kDay) % kDay;
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%d:%02d:%02d", static_cast<int>(s / 3600),
                  static_cast<int>(s / 60 % 60), static_cast<int>(s % 60));
    return buffer;
}

std::optional<std::string> TimeText16(std::int64_t seconds) {
    if (seconds < std::numeric_limits<std::int16_t>::min() ||
        seconds > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return TimeText(seconds);
}

std::string LengthTimeText(double seconds) {
    if (!std::isfinite(seconds)) return TimeText(0);
    const double whole = std::trunc(std::fmod(seconds, static_cast<double>(kDay)));
    return TimeText(static_cast<std::int64_t>(whole));
}

std::optional<int> ReadTimeOfDay(std::string_view text) {
    text = Trim(text);
    int fields[3] = {0, 0, 0};
    int count = 0;
    while (true) {
        const std::size_t colon = text.find(':');
        if (count == 3) return std::nullopt;
        const auto field = Field(text.substr(0, colon));
        if (!field) return std::nullopt;
        fields[count++] = *field;
        if (colon == std::string_view::npos) break;
        text.remove_prefix(colon + 1);
    }
    if (count < 2 || fields[0] > 23 || fields[1] > 59 || fields[2] > 59) return std::nullopt;
    return fields[0] * 3600 + fields[1] * 60 + fields[2];
}

} // namespace vx

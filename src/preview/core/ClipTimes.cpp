#include "ClipTimes.h"

#include "Numbers.h"
#include "TimeText.h"

#include <cstdlib>

namespace vx {

ClipHandover& SharedClip() {
    static ClipHandover clip;
    return clip;
}

namespace {

// Digits only, at most `longest` of them (0: any number up to 9).
std::optional<long> Digits(std::string_view text, std::size_t longest) {
    if (text.empty() || text.size() > (longest ? longest : 9)) return std::nullopt;
    long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace

std::optional<int> ReadClipTime(std::string_view text) {
    text = Trim(text);
    const std::size_t first = text.find(':');
    if (first == std::string_view::npos) return std::nullopt;
    const std::size_t second = text.find(':', first + 1);
    if (second == std::string_view::npos) return std::nullopt;
    const auto hours = Digits(text.substr(0, first), 0);
    const auto minutes = Digits(text.substr(first + 1, second - first - 1), 2);
    const auto seconds = Digits(text.substr(second + 1), 2);
    if (!hours || !minutes || !seconds || *minutes > 59 || *seconds > 59) return std::nullopt;
    const long total = *hours * 3600 + *minutes * 60 + *seconds;
    if (total > 0x7fffffffL) return std::nullopt;
    return static_cast<int>(total);
}

std::optional<std::string> ClipLengthText(std::string_view start, std::string_view end) {
    const auto from = ReadClipTime(start);
    const auto to = ReadClipTime(end);
    if (!from || !to) return std::nullopt;
    const long length = static_cast<long>(*to) - *from;
    if (length > 32767 || length < -32767) return std::nullopt;
    if (length < 0) return TimeText(-length).insert(0, 1, '-');
    return TimeText(length);
}

bool ClipPairValid(std::string_view start, std::string_view end) {
    const auto from = ReadClipTime(start);
    const auto to = ReadClipTime(end);
    return from && to && *from < *to;
}

} // namespace vx

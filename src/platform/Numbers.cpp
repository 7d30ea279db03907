#include "Numbers.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace vx {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Length of the number at the start of text (sign, digits, fraction, exponent), or 0.
std::size_t NumberLength(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < text.size() && IsDigit(text[i]))
        ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i]))
            ++i, ++digits;
    }
    if (digits == 0) return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j]))
                ++j;
            i = j;
        }
    }
    return i;
}

double ParseDouble(std::string_view number) {
    // from_chars does not take a leading '+'.
    if (!number.empty() && number.front() == '+') number.remove_prefix(1);
    double value = 0;
    auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec == std::errc::result_out_of_range)
        return number.front() == '-' ? -std::numeric_limits<double>::infinity()
                                     : std::numeric_limits<double>::infinity();
    return ec == std::errc() ? value : 0.0;
}

template <typename Int> std::optional<Int> ToInt(std::string_view text) {
    text = Trim(text);
    const std::size_t length = NumberLength(text);
    if (length == 0 || length != text.size()) return std::nullopt;
    const double rounded =
        std::nearbyint(ParseDouble(text)); // the default mode rounds halves to even
    if (!(rounded >= std::numeric_limits<Int>::min() && rounded <= std::numeric_limits<Int>::max()))
        return std::nullopt;
    return static_cast<Int>(rounded);
}

} // namespace

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

std::optional<double> ToNumber(std::string_view text) {
    text = Trim(text);
    const std::size_t length = NumberLength(text);
    if (length == 0 || length != text.size()) return std::nullopt;
    return ParseDouble(text);
}

double ReadNumber(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    const std::size_t length = NumberLength(text);
    return length == 0 ? 0.0 : ParseDouble(text.substr(0, length));
}

std::optional<std::int16_t> ToInt16(std::string_view text) {
    return ToInt<std::int16_t>(text);
}
std::optional<std::int32_t> ToInt32(std::string_view text) {
    return ToInt<std::int32_t>(text);
}

std::string PlainNumberText(double value) {
    if (value == 0 || !std::isfinite(value)) return "0"; // also for -0
    // Plain decimal digits for every value, never an exponent: the shortest
    // text in fixed notation that reads back as the same number.
    char buffer[400]; // the longest fixed text of a double is about 330 characters
    auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return ec == std::errc() ? std::string(buffer, ptr) : std::string("0");
}

std::string SignedNumberText(double value) {
    std::string text = PlainNumberText(value);
    return text.front() == '-' ? text : " " + text;
}

} // namespace vx

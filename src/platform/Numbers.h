#pragma once
// Reading and writing numbers the way the program's texts expect them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vx {

// The leading number of a text, with a dot as the decimal separator.
// Leading blanks are skipped; a text without a number reads as 0.
double ReadNumber(std::string_view text);

// A whole text (blanks around it aside) taken as a number; nothing when it is not one.
std::optional<double> ToNumber(std::string_view text);

// A whole text taken as a number and rounded to the nearest whole number,
// halves to even. Fails for a text that is not a number or lies outside the range.
std::optional<std::int16_t> ToInt16(std::string_view text);
std::optional<std::int32_t> ToInt32(std::string_view text);

// Number text without a sign position: "4", "2.5", "-1".
std::string PlainNumberText(double value);

// Number text that reserves the sign position: " 4", " 2.5", "-1".
std::string SignedNumberText(double value);

// Blanks (spaces and tabs) removed at both ends.
std::string_view Trim(std::string_view text);

} // namespace vx

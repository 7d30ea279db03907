// Number text: every finite number is written in plain digits (never with an
// exponent) that read back as the very same number, the sign-reserving text is
// the plain text with a blank before a number that is not negative, and any
// text reads without harm, its whole-text readings agreeing with its leading number.

#include "FuzzChecks.h"
#include "Numbers.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace vx::fuzz {

namespace {

std::string ShowNumber(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

// A conversion to a whole number: present exactly when the text is a number
// whose nearest whole number (halves to even) lies in range, and then that one.
template <typename Int>
std::string CheckWhole(const char* name, std::optional<Int> converted,
                       std::optional<double> number) {
    if (!number) {
        if (converted) return std::string(name) + " takes a text that is no number";
        return {};
    }
    const double n = *number;
    const double lower = std::floor(n), upper = std::ceil(n);
    double nearest = n - lower < upper - n ? lower : upper;
    if (n - lower == upper - n) nearest = std::fmod(lower, 2) == 0 ? lower : upper;
    const bool inRange =
        nearest >= std::numeric_limits<Int>::min() && nearest <= std::numeric_limits<Int>::max();
    if (converted.has_value() != inRange)
        return std::string(name) + " of " + ShowNumber(n) +
               (inRange ? " fails in range" : " takes a number out of range");
    if (converted && *converted != nearest)
        return std::string(name) + " of " + ShowNumber(n) + " gives " + std::to_string(*converted);
    return {};
}

std::string CheckWritten(double value) {
    const std::string plain = PlainNumberText(value);
    if (plain.find_first_of("eE") != std::string::npos)
        return ShowNumber(value) + " is written with an exponent: " + plain;
    const std::string expected = std::signbit(value) && value != 0 ? plain : " " + plain;
    if (std::isfinite(value) && SignedNumberText(value) != expected)
        return ShowNumber(value) + " is written with a sign position as " +
               Show(SignedNumberText(value));
    if (!std::isfinite(value)) return {};
    if (const double read = ReadNumber(plain); read != value)
        return ShowNumber(value) + " is written " + plain + ", which reads as " + ShowNumber(read);
    if (const auto whole = ToNumber(plain); !whole || *whole != value)
        return ShowNumber(value) + " is written " + plain + ", which is not taken as that number";
    if (std::string broken = CheckWhole("ToInt32", ToInt32(plain), value); !broken.empty())
        return broken;
    return CheckWhole("ToInt16", ToInt16(plain), value);
}

std::string CheckRead(std::string_view text) {
    const double leading = ReadNumber(text);
    if (std::isnan(leading)) return Show(text) + " reads as NaN";
    const std::optional<double> whole = ToNumber(text);
    if (whole && *whole != leading)
        return Show(text) + " is taken as " + ShowNumber(*whole) + " but reads as " +
               ShowNumber(leading);
    if (std::string broken = CheckWhole("ToInt32", ToInt32(text), whole); !broken.empty())
        return Show(text) + ": " + broken;
    if (std::string broken = CheckWhole("ToInt16", ToInt16(text), whole); !broken.empty())
        return Show(text) + ": " + broken;
    if (std::isfinite(leading) && ReadNumber(PlainNumberText(leading)) != leading)
        return Show(text) + " reads as " + ShowNumber(leading) + ", which does not survive writing";
    return {};
}

} // namespace

std::string CheckNumbers(std::string_view input) {
    InputReader in(input);
    if (std::string broken = CheckWritten(Bits<double>(in)); !broken.empty()) return broken;
    return CheckRead(in.Rest());
}

} // namespace vx::fuzz

// The converter's command line: a clip time is the time typed or an error, a
// parsed clip is never empty, and a dry-run line never holds a control character
// and gives back the encoder's arguments word for word.

#include "CommandLine.h"
#include "ConvertArgs.h"
#include "DryRunLine.h"
#include "FuzzChecks.h"
#include "ShellWords.h"

#include <regex>
#include <vector>

namespace vx::fuzz {

namespace {

// The seconds "S", "M:SS" or "H:MM:SS" names, worked out apart; -1 for other text.
long Typed(const std::string& text) {
    static const std::regex form(R"((\d+)(?::([0-5]?\d))?(?::([0-5]?\d))?)");
    std::smatch m;
    if (!std::regex_match(text, m, form)) return -1;
    long total = 0;
    for (std::size_t i = 1; i < m.size() && m[i].matched; ++i) {
        const std::string field =
            m[i].str().substr(std::min(m[i].str().find_first_not_of('0'), m[i].str().size()));
        total = total * 60 + (field.size() > 7 ? 99999999 : field.empty() ? 0 : std::stol(field));
    }
    return total;
}

std::string CheckTime(const std::string& text) {
    const auto read = ReadClipTime(text);
    const long typed = Typed(text);
    if (read.has_value() != (typed >= 0 && typed < 86400) || (read && *read != typed))
        return Show(text) + " reads as " + (read ? std::to_string(*read) : "an error");
    return {};
}

} // namespace

std::string CheckConvertArgs(std::string_view input) {
    std::vector<std::string> arguments(1); // separated by NUL bytes, as a program gets them
    for (const char c : input)
        if (c == '\0')
            arguments.emplace_back();
        else
            arguments.back().push_back(c);
    for (const std::string& argument : arguments)
        if (std::string broken = CheckTime(argument); !broken.empty()) return broken;
    const ParsedArgs parsed = ParseConvertArgs(arguments);
    const ConvertArgs& a = parsed.args;
    if (parsed.error.empty() && !a.help && !a.listProfiles && a.end &&
        *a.end <= a.start.value_or(0))
        return "an empty clip was taken";
    return {};
}

std::string CheckDryRun(std::string_view input) {
    const std::vector<std::string> arguments = SplitCommandLine(input);
    std::vector<std::string> expected = {"ffmpeg", "-y"};
    bool unsafe = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        unsafe |= HoldsControl(arguments[i]);
        expected.push_back(arguments[i]);
    }
    const auto line = DryRunLine(input);
    if (!line) return unsafe ? "" : "the safe command " + Show(input) + " is left out";
    if (unsafe || HoldsControl(*line) || vxtest::ShellWords(*line) != expected)
        return "the command " + Show(input) + " gives the line " + Show(*line);
    return HoldsControl(Printable(input)) ? "a message shows a control character" : "";
}

} // namespace vx::fuzz

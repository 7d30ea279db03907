// The converter's command line: a time read from --start or --end is the time
// typed or an error, the parsed clip is never empty, and a dry-run line never
// holds a line break or another control character and gives back, word for
// word, the encoder's arguments.

#include "ConvertArgs.h"
#include "DryRunLine.h"
#include "FuzzChecks.h"

#include "CommandLine.h"

#include <vector>

namespace vx::fuzz {

namespace {

// The seconds a text names when it is "S", "M:SS" or "H:MM:SS" in digits (the
// later fields of one or two digits, up to 59), worked out on its own; -1 for
// any other text, and a day or more for a field too long to matter.
long TypedSeconds(std::string_view text) {
    std::vector<std::string_view> fields;
    for (std::size_t from = 0;;) {
        const std::size_t colon = text.find(':', from);
        fields.push_back(text.substr(from, colon == std::string_view::npos ? colon : colon - from));
        if (colon == std::string_view::npos) break;
        from = colon + 1;
    }
    if (fields.size() > 3) return -1;
    long total = 0;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        std::string_view field = fields[i];
        if (field.empty() || field.find_first_not_of("0123456789") != std::string_view::npos)
            return -1;
        if (i > 0 && field.size() > 2) return -1;
        while (field.size() > 1 && field.front() == '0')
            field.remove_prefix(1);
        if (field.size() > 6) return 86400;
        const long value = std::stol(std::string(field));
        if (i > 0 && value > 59) return -1;
        total = total * 60 + value;
    }
    return total;
}

std::string CheckTime(std::string_view text) {
    std::string problem;
    const auto read = ReadClipTime(text, &problem);
    const long typed = TypedSeconds(text);
    const bool valid = typed >= 0 && typed < 86400;
    if (read.has_value() != valid || (read && *read != typed))
        return Show(text) + " reads as " + (read ? std::to_string(*read) : "an error") +
               ", typed " + (valid ? std::to_string(typed) : std::string("no time of a day"));
    if (!read && problem.empty()) return Show(text) + " is refused without a reason";
    return {};
}

std::string CheckArguments(const std::vector<std::string>& arguments) {
    const ParsedArgs parsed = ParseConvertArgs(arguments);
    if (!parsed.error.empty()) return {};
    const ConvertArgs& args = parsed.args;
    for (const auto& time : {args.start, args.end})
        if (time && (*time < 0 || *time >= 86400))
            return "a clip time of " + std::to_string(*time) + " s was taken";
    if (args.end && *args.end <= args.start.value_or(0) && !args.help && !args.listProfiles)
        return "an empty clip was taken";
    return {};
}

// Words of a POSIX shell line as the dry run writes them: bare words, words in
// single quotes and \' between them.
std::vector<std::string> ShellWords(std::string_view line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false, quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '\'')
                quoted = false;
            else
                word += c;
        } else if (c == '\'') {
            quoted = inWord = true;
        } else if (c == '\\' && i + 1 < line.size()) {
            word += line[++i];
            inWord = true;
        } else if (c == ' ') {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) words.push_back(word);
    return words;
}

std::string CheckDryRunLine(std::string_view commandLine) {
    const std::vector<std::string> arguments = SplitCommandLine(commandLine);
    bool unsafe = false;
    for (std::size_t i = 1; i < arguments.size(); ++i)
        unsafe |= HoldsControl(arguments[i]);
    const auto line = DryRunLine(commandLine);
    if (!line)
        return unsafe ? std::string() : "the safe command " + Show(commandLine) + " is left out";
    if (unsafe)
        return "the command " + Show(commandLine) + " with a control character gives a line";
    if (HoldsControl(*line)) return "the line " + Show(*line) + " holds a control character";
    std::vector<std::string> expected = {"ffmpeg", "-y"};
    if (arguments.size() > 1)
        expected.insert(expected.end(), arguments.begin() + 1, arguments.end());
    if (ShellWords(*line) != expected)
        return "the line " + Show(*line) + " does not give back the arguments of " +
               Show(commandLine);
    if (const std::string shown = Printable(commandLine); HoldsControl(shown))
        return "the message text " + Show(shown) + " holds a control character";
    return {};
}

} // namespace

std::string CheckConvertArgs(std::string_view input) {
    InputReader in(input);
    if (std::string broken = CheckTime(in.Text()); !broken.empty()) return broken;
    // The rest: arguments separated by NUL bytes, as a program receives them.
    std::vector<std::string> arguments;
    std::string rest = in.Rest();
    for (std::size_t from = 0; from <= rest.size();) {
        const std::size_t nul = std::min(rest.find('\0', from), rest.size());
        arguments.push_back(rest.substr(from, nul - from));
        from = nul + 1;
    }
    for (const std::string& argument : arguments)
        if (std::string broken = CheckTime(argument); !broken.empty()) return broken;
    return CheckArguments(arguments);
}

std::string CheckDryRun(std::string_view input) {
    return CheckDryRunLine(input);
}

} // namespace vx::fuzz

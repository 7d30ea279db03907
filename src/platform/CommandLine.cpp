#include "CommandLine.h"

namespace vx {

// The splitting rules of the Windows command line: blanks separate arguments
// outside double quotes, a double quote toggles quoting and is removed, and a
// run of backslashes counts only where a double quote follows it: 2n of them
// give n backslashes and a quote that toggles, 2n+1 give n backslashes and a
// quote that is part of the argument.
std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
    std::vector<std::string> arguments;
    std::string current;
    bool inArgument = false;
    bool quoted = false;
    for (std::size_t i = 0; i < commandLine.size(); ++i) {
        const char c = commandLine[i];
        if (c == '\\') {
            std::size_t run = 0;
            while (i + run < commandLine.size() && commandLine[i + run] == '\\')
                ++run;
            const bool quoteFollows = i + run < commandLine.size() && commandLine[i + run] == '"';
            current.append(quoteFollows ? run / 2 : run, '\\');
            i += run - 1;
            if (quoteFollows && run % 2 == 1) {
                current.push_back('"');
                ++i;
            }
            inArgument = true;
        } else if (c == '"') {
            quoted = !quoted;
            inArgument = true; // "" is an empty argument
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inArgument) arguments.push_back(std::move(current));
            current.clear();
            inArgument = false;
        } else {
            current.push_back(c);
            inArgument = true;
        }
    }
    if (inArgument) arguments.push_back(std::move(current));
    return arguments;
}

std::string Quoted(std::string_view path) {
    std::string text(1, '"');
    text.reserve(path.size() + 2);
    std::size_t backslashes = 0;
    for (const char c : path) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') { // doubled backslashes before it, then the escaped quote
            text.append(backslashes * 2 + 1, '\\');
        } else {
            text.append(backslashes, '\\');
        }
        text.push_back(c);
        backslashes = 0;
    }
    text.append(backslashes * 2, '\\'); // they precede the closing quote
    text.push_back('"');
    return text;
}

std::string ShellQuoted(std::string_view argument) {
    const bool plain = !argument.empty() &&
                       argument.find_first_not_of("abcdefghijklmnopqrstuvwxyz"
                                                  "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                                  "0123456789_-+./:,=@%") == std::string_view::npos;
    if (plain) return std::string(argument);
    std::string quoted = "'";
    for (const char c : argument)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

} // namespace vx

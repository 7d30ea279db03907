#pragma once
// Command lines are built as one text, then split into arguments here and
// started directly; nothing is ever run through a shell.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

// Splits by the rules the command texts are written for: blanks separate
// arguments, double quotes group (and are removed), runs of blanks count as one.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// A path in double quotes, as one argument of a command line; nothing for a
// path holding a double quote itself, which would split into other arguments.
std::optional<std::string> Quoted(std::string_view path);

} // namespace vx

#pragma once
// Command lines are built as one text, then split into arguments here and
// started directly; nothing is ever run through a shell.

#include <string>
#include <string_view>
#include <vector>

namespace vx {

// Splits by the rules the command texts are written for: blanks separate
// arguments, double quotes group (and are removed), runs of blanks count as one,
// and a backslash escapes a double quote (see CommandLine.cpp).
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// A path in double quotes, as one argument of a command line that
// SplitCommandLine gives back byte for byte: a double quote inside is written
// as \", and backslashes are doubled only where they precede a double quote.
// A path without either is simply put between double quotes.
std::string Quoted(std::string_view path);

// One argument for a POSIX shell: as it is when it holds only characters no
// shell gives a meaning to, else in single quotes (a single quote as '\'').
std::string ShellQuoted(std::string_view argument);

} // namespace vx

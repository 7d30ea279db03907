#pragma once
// A system tool that is not installed: the launchers say so in one line of their
// own, and the program turns that line into a sentence that names the tool and
// the Debian package that brings it.

#include <string>
#include <string_view>
#include <vector>

namespace vx {

// The line a launcher writes when its system tool is not on PATH.
std::string MissingToolLine(std::string_view launcher, std::string_view tool);

// The tool that such a line among the lines names; empty when none does.
std::string MissingToolIn(const std::vector<std::string>& lines);

// What the user reads: which tool is missing and how to install it.
std::string MissingToolSentence(std::string_view tool);

} // namespace vx

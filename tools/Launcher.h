#pragma once

#include <string>
#include <vector>

namespace vx {

// Replaces this process by the system tool with the given arguments; returns
// only when that fails, with the exit code to use after one line on stderr.
int ExecTool(const char* launcher, const char* tool, const std::vector<std::string>& arguments);

} // namespace vx

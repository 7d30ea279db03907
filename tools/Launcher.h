#pragma once

#include <string>
#include <vector>

namespace vx {

// The program that starts a tool names itself here (its process id).
inline constexpr const char* kParentPidVariable = "VANTORIX_PARENT_PID";

// A tool ends when the program that started it ends, however it ends: the kernel
// sends it SIGTERM (the parent-death signal survives the exec). False when that
// program has already gone.
bool TieToParent();

// Ties itself to the starting program, then replaces this process by the system tool with the given
// arguments; returns only when that fails, with the exit code to use after one line on stderr.
int ExecTool(const char* launcher, const char* tool, const std::vector<std::string>& arguments);

} // namespace vx

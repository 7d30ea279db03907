#pragma once
// vantorix-convert: the window's batch without a window. The same catalog,
// option sets, command lines, settings and batch run; only the view differs.

#include <cstdio>
#include <string>
#include <vector>

namespace vx {

inline constexpr int kExitConverted = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitInterrupted = 130;

struct ConvertIo {
    std::FILE* out = stdout; // profile lists and dry-run command lines
    std::FILE* err = stderr; // progress, messages, the summary
    bool terminal = false;   // err is a terminal: one live progress line
    int interruptFd = -1;    // readable when the user asks to stop (a signalfd), or -1
};

// Takes one request to stop from the interrupt descriptor; false when none waits.
bool TakeInterrupt(const ConvertIo& io);

int RunConvert(const std::vector<std::string>& arguments, const std::string& appFolder,
               const ConvertIo& io);

} // namespace vx

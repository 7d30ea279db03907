#include "Launcher.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/prctl.h>
#include <unistd.h>

namespace vx {

bool TieToParent() {
    const char* given = std::getenv(kParentPidVariable);
    if (!given || !*given) return true; // started by hand: nothing to follow
    const std::string parent = given;
    unsetenv(kParentPidVariable); // the tool's own children are not ours to tie
    if (prctl(PR_SET_PDEATHSIG, SIGTERM) != 0) return true;
    // The program may have ended before the signal was asked for.
    return std::to_string(getppid()) == parent;
}

int ExecTool(const char* launcher, const char* tool, const std::vector<std::string>& arguments) {
    std::vector<char*> argv{const_cast<char*>(tool)};
    for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    if (!TieToParent()) return 128 + SIGTERM;
    execvp(tool, argv.data());
    std::fprintf(stderr, "%s: cannot run %s: %s\n", launcher, tool, std::strerror(errno));
    return 127;
}

} // namespace vx

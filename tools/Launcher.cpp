#include "Launcher.h"

#include "MissingTool.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/prctl.h>
#include <unistd.h>

namespace vx {

bool TieToParent() {
    const char* given = std::getenv(kParentPidVariable);
    if (!given || !*given) return true; // started by hand: nothing to follow
    const pid_t parent = static_cast<pid_t>(std::atol(given));
    unsetenv(kParentPidVariable); // the tool's own children are not ours to tie
    if (prctl(PR_SET_PDEATHSIG, SIGTERM) != 0) return true;
    if (getppid() == parent) return true;
    // Started through a shell or another runner (GNU parallel): the signal follows
    // that runner. Otherwise the program ended before the signal was asked for.
    return parent > 0 && (kill(parent, 0) == 0 || errno == EPERM);
}

int ExecTool(const char* launcher, const char* tool, const std::vector<std::string>& arguments) {
    std::vector<char*> argv{const_cast<char*>(tool)};
    for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    if (!TieToParent()) return 128 + SIGTERM;
    execvp(tool, argv.data());
    if (errno == ENOENT || errno == ENOTDIR) // the program tells the user what to install
        std::fprintf(stderr, "%s\n", MissingToolLine(launcher, tool).c_str());
    else
        std::fprintf(stderr, "%s: cannot run %s: %s\n", launcher, tool, std::strerror(errno));
    return 127;
}

} // namespace vx

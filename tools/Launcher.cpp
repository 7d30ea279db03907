#include "Launcher.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace vx {

int ExecTool(const char* launcher, const char* tool, const std::vector<std::string>& arguments) {
    std::vector<char*> argv{const_cast<char*>(tool)};
    for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execvp(tool, argv.data());
    std::fprintf(stderr, "%s: cannot run %s: %s\n", launcher, tool, std::strerror(errno));
    return 127;
}

} // namespace vx

#include "LauncherArgs.h"

#include <algorithm>

namespace vx {

std::vector<std::string> EncoderArguments(const std::vector<std::string>& given) {
    std::vector<std::string> arguments{"-y"};
    arguments.insert(arguments.end(), given.begin(), given.end());
    return arguments;
}

std::vector<std::string> PlayerArguments(const std::vector<std::string>& given) {
    if (std::find(given.begin(), given.end(), "-identify") != given.end()) return given;
    std::vector<std::string> arguments;
    for (std::size_t i = 0; i < given.size(); ++i) {
        if (given[i] == "-priority") {
            ++i; // and its value
            continue;
        }
        if (given[i] == "-vo" && i + 1 < given.size() && given[i + 1] == "gl2") {
            arguments.insert(arguments.end(), {"-vo", kLinuxVideoOutputs, "-zoom"});
            ++i;
            continue;
        }
        arguments.push_back(given[i]);
    }
    return arguments;
}

} // namespace vx

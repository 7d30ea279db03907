#include "MissingTool.h"

namespace vx {

namespace {

constexpr std::string_view kNotInstalled = " is not installed (not found on PATH)";

} // namespace

std::string MissingToolLine(std::string_view launcher, std::string_view tool) {
    return std::string(launcher) + ": " + std::string(tool) + std::string(kNotInstalled) +
           ": install the Debian package " + std::string(tool);
}

std::string MissingToolIn(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        const std::size_t at = line.find(kNotInstalled);
        const std::size_t colon = line.rfind(": ", at);
        if (at == std::string::npos || colon == std::string::npos) continue;
        const std::string tool = line.substr(colon + 2, at - colon - 2);
        if (!tool.empty() && tool.find(' ') == std::string::npos) return tool;
    }
    return {};
}

std::string MissingToolSentence(std::string_view tool) {
    const std::string name(tool);
    const std::string role = name == "ffmpeg"    ? "The encoder "
                             : name == "mplayer" ? "The player "
                                                 : "The tool ";
    return role + name +
           " is not installed (it is not found on PATH): install the Debian package " + name +
           " (sudo apt install " + name + ") and try again.";
}

} // namespace vx

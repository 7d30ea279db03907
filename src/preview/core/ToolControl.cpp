#include "ToolControl.h"

#include "CommandLine.h"
#include "Numbers.h"

namespace vx {

std::string KeyBytes(int virtualKey) {
    switch (virtualKey) {
    case kKeyLeft:
        return "\x1b[D";
    case kKeyRight:
        return "\x1b[C";
    case kKeySpace:
        return " ";
    case kKeyQ:
        return "q";
    default:
        return {};
    }
}

std::string PlayerLaunchLine(const std::string& appFolder, std::uint64_t windowHandle,
                             const std::string& file, std::optional<int> startSeconds) {
    std::string line = Quoted(appFolder + "/mp.dll");
    if (startSeconds) line += " -ss " + std::to_string(*startSeconds);
    line += " -wid " + SignedNumberText(static_cast<double>(windowHandle));
    line += kPlayerOptions;
    line += Quoted(file);
    return line;
}

bool ToolControl::LaunchPlayer(const std::string& appFolder, std::uint64_t windowHandle,
                               const std::string& file, std::optional<int> startSeconds) {
    PlayerCommandLine = PlayerLaunchLine(appFolder, windowHandle, file, startSeconds);
    const pid_t pid = ToolRegistry::Instance().Start(PlayerCommandLine, appFolder);
    if (pid <= 0) return false;
    PlayerProcessId = pid;
    return true;
}

ToolRegistry::ToolRef ToolControl::FindToolWindow(std::int32_t processId,
                                                  const std::string& fragment) {
    auto tool = ToolRegistry::Instance().FindRunning(processId, fragment);
    if (tool) ToolWindow = tool;
    return tool;
}

bool ToolControl::PostKey(std::int32_t processId, const char* fragment, int virtualKey) {
    const auto tool = FindToolWindow(processId, fragment);
    const std::string bytes = KeyBytes(virtualKey);
    if (!tool || bytes.empty()) return false;
    return ToolRegistry::Instance().Write(tool, bytes);
}

bool ToolControl::PostKeyToPlayer(int virtualKey) {
    return PostKey(PlayerProcessId, "mp.dll", virtualKey);
}

bool ToolControl::PostKeyToEncoder(int virtualKey) {
    return PostKey(EncoderProcessId, "fp.dll", virtualKey);
}

ToolControl& SharedToolControl() {
    static ToolControl control;
    return control;
}

} // namespace vx

#include "PlayerPort.h"

#include "Tools.h"

#include <cstdlib>

namespace vx {

namespace {

// The number after the label that starts a field of the line ("V:" but not "A-V:").
std::optional<double> FieldAfter(std::string_view line, std::string_view label) {
    for (std::size_t at = line.find(label); at != std::string_view::npos;
         at = line.find(label, at + 1)) {
        if (at > 0 && line[at - 1] != ' ') continue;
        std::string rest(line.substr(at + label.size()));
        const char* begin = rest.c_str();
        char* end = nullptr;
        const double value = std::strtod(begin, &end);
        if (end == begin || value < 0) return std::nullopt;
        return value;
    }
    return std::nullopt;
}

} // namespace

std::optional<double> PlayPositionOf(std::string_view statusLine) {
    const std::size_t first = statusLine.find_first_not_of(' ');
    if (first == std::string_view::npos) return std::nullopt;
    statusLine.remove_prefix(first);
    if (!statusLine.starts_with("A:") && !statusLine.starts_with("V:")) return std::nullopt;
    if (const auto video = FieldAfter(statusLine, "V:")) return video;
    return FieldAfter(statusLine, "A:");
}

ToolPlayerPort::ToolPlayerPort(ToolControl& tools, std::string appFolder,
                               std::function<std::uint64_t()> windowHandle)
    : tools_(tools), appFolder_(std::move(appFolder)), windowHandle_(std::move(windowHandle)) {}

bool ToolPlayerPort::Launch(const std::string& file, std::optional<int> startSeconds) {
    return tools_.LaunchPlayer(appFolder_, windowHandle_(), file, startSeconds);
}

bool ToolPlayerPort::PostKey(int virtualKey) {
    return tools_.PostKeyToPlayer(virtualKey);
}

bool ToolPlayerPort::Started() const {
    return tools_.PlayerProcessId != 0;
}

bool ToolPlayerPort::Running() const {
    return Started() && ToolRegistry::Instance().Running(tools_.PlayerProcessId);
}

std::optional<double> ToolPlayerPort::ReportedPosition() const {
    if (!Running()) return std::nullopt;
    return PlayPositionOf(ToolRegistry::Instance().StatusLine(tools_.PlayerProcessId));
}

} // namespace vx

#include "PlayerPort.h"

#include "Tools.h"

#include <cstdio>
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

std::optional<double> LatestPlayPosition(std::string_view statusLine,
                                         const std::vector<std::string>& plainLines) {
    if (const auto position = PlayPositionOf(statusLine)) return position;
    for (auto line = plainLines.rbegin(); line != plainLines.rend(); ++line)
        if (const auto position = PlayPositionOf(*line)) return position;
    return std::nullopt;
}

std::optional<PictureSize> PictureSizeOf(std::string_view line) {
    if (!line.starts_with("VO:")) return std::nullopt;
    const std::size_t arrow = line.find("=>");
    if (arrow == std::string_view::npos) return std::nullopt;
    const std::string rest(line.substr(arrow + 2));
    int width = 0, height = 0;
    if (std::sscanf(rest.c_str(), " %dx%d", &width, &height) != 2) return std::nullopt;
    if (width <= 0 || height <= 0) return std::nullopt;
    return PictureSize{width, height};
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
    const ToolRegistry& registry = ToolRegistry::Instance();
    return LatestPlayPosition(registry.StatusLine(tools_.PlayerProcessId),
                              registry.OutputTail(tools_.PlayerProcessId));
}

std::optional<PictureSize> ToolPlayerPort::ReportedPictureSize() const {
    if (!Running()) return std::nullopt;
    const auto lines = ToolRegistry::Instance().OutputTail(tools_.PlayerProcessId);
    for (auto line = lines.rbegin(); line != lines.rend(); ++line)
        if (const auto size = PictureSizeOf(*line)) return size;
    return std::nullopt;
}

} // namespace vx

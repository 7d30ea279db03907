#include "DryRunLine.h"

#include "CommandLine.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace vx {

namespace {

bool IsControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7f;
}

} // namespace

bool HoldsControl(std::string_view text) {
    return std::any_of(text.begin(), text.end(), IsControl);
}

std::optional<std::string> DryRunLine(std::string_view commandLine) {
    const std::vector<std::string> arguments = SplitCommandLine(commandLine);
    std::string line = "ffmpeg -y";
    for (std::size_t i = 1; i < arguments.size(); ++i) { // after the tool itself
        if (HoldsControl(arguments[i])) return std::nullopt;
        line += ' ';
        line += ShellQuoted(arguments[i]);
    }
    return line;
}

std::string Printable(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (const char c : text) {
        if (c == '\\') {
            shown += "\\\\";
        } else if (c == '\n') {
            shown += "\\n";
        } else if (c == '\t') {
            shown += "\\t";
        } else if (c == '\r') {
            shown += "\\r";
        } else if (IsControl(c)) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", static_cast<unsigned char>(c));
            shown += escaped;
        } else {
            shown += c;
        }
    }
    return shown;
}

} // namespace vx

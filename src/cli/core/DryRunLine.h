#pragma once
// The dry run's lines: what the encoder tool runs for a row, written for a POSIX
// shell or GNU parallel. Such a reader takes every line break as the end of a
// command, so no line ever holds one, nor any other control character.

#include <optional>
#include <string>
#include <string_view>

namespace vx {

// Whether the text holds a byte below 0x20 or the byte 0x7f.
bool HoldsControl(std::string_view text);

// "ffmpeg -y" and the arguments of the encoder command after the tool itself,
// each quoted for the shell; nothing when an argument holds a control character.
std::optional<std::string> DryRunLine(std::string_view commandLine);

// The text for a message of one line: control characters as \n, \t, \r or \xNN
// and the backslash doubled, every other byte as it is.
std::string Printable(std::string_view text);

} // namespace vx

#pragma once
// One text as a field of a line of tab-separated fields: backslashes, tabs and
// line breaks escaped, so that any text, file names included, fits one field.

#include <optional>
#include <string>
#include <string_view>

namespace vx {

std::string EscapedField(std::string_view text);
// Nothing when the field holds an escape that EscapedField never writes.
std::optional<std::string> UnescapedField(std::string_view field);

} // namespace vx

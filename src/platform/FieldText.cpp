#include "FieldText.h"

namespace vx {

std::string EscapedField(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

std::optional<std::string> UnescapedField(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\') {
            out += field[i];
            continue;
        }
        if (++i == field.size()) return std::nullopt;
        const char c = field[i];
        if (c != '\\' && c != 't' && c != 'n') return std::nullopt;
        out += c == 't' ? '\t' : c == 'n' ? '\n' : '\\';
    }
    return out;
}

} // namespace vx

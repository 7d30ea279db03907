#pragma once
// The fixed, ordered list of output choices of the profile chooser: 22
// category headings and 70 output profiles, then the entries that keep the
// streams as they are and those of today's formats. An entry is identified
// everywhere by its 1-based catalog position.

#include <optional>
#include <string>
#include <string_view>

namespace vx {

enum class EntryKind { Heading, Profile };

struct CatalogEntry {
    int position; // 1 to kEntryCount
    EntryKind kind;
    const char* text; // the exact display text
    int picture;      // headings: 1-based place in the category image list; profiles: 0
};

class ProfileCatalog {
  public:
    // The device and common-format entries, each with an option set and a command shape.
    static constexpr int kCount = 92;
    // Those and, after them, "Keep quality (no re-encoding)" and "Today's formats".
    static constexpr int kEntryCount = 101;
    static constexpr int kPictureCount = 43;

    // The entry at a position, or nullptr for a position that names no entry.
    static const CatalogEntry* At(int position);
    static bool IsHeading(int position);
};

// An entry after the first 92: its output extension and its command come from
// ModernCommand, not from its display text and the command shapes.
inline bool IsModernPosition(int position) {
    return position > ProfileCatalog::kCount && position <= ProfileCatalog::kEntryCount;
}

// The output extension of a display text: the four characters that begin at
// its first "." (".mp4" from "...(*.mp4)"); nothing when the text has no ".".
std::optional<std::string> OutputExtension(std::string_view displayText);

} // namespace vx

#pragma once
// The fixed, ordered list of output choices of the profile chooser: 22
// category headings and 70 output profiles. An entry is identified everywhere
// by its 1-based catalog position.

#include <optional>
#include <string>
#include <string_view>

namespace vx {

enum class EntryKind { Heading, Profile };

struct CatalogEntry {
    int position; // 1 to 92
    EntryKind kind;
    const char* text; // the exact display text
    int picture;      // headings: 1-based place in the category image list; profiles: 0
};

class ProfileCatalog {
  public:
    static constexpr int kCount = 92;
    static constexpr int kPictureCount = 41;

    // The entry at a position, or nullptr for a position that names no entry.
    static const CatalogEntry* At(int position);
    static bool IsHeading(int position);
};

// The output extension of a display text: the four characters that begin at
// its first "." (".mp4" from "...(*.mp4)"); nothing when the text has no ".".
std::optional<std::string> OutputExtension(std::string_view displayText);

} // namespace vx

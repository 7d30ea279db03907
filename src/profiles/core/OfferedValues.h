#pragma once
// The values the option sheet offers for each option the user may set, taken
// from the default layout and the option sets. Saved profiles, the command
// line's --set and the sheet itself are held to them.

#include <string_view>

namespace vx {

// Whether the option (by its caption) is one the user may set.
bool IsSettableOption(std::string_view caption);

// Whether an entry's sheet offers the value for the option. The first 92
// entries share one vocabulary, the default layout's and their sets' values
// (their sets accumulate on the sheet); a later entry offers its own set's
// values, and the default layout's for the options its set leaves alone. A
// position that names no entry offers what the first 92 do.
bool OffersValue(int position, std::string_view caption, std::string_view value);

// A value that only the later entries offer for that option ("Kept as it is",
// "Same as source", "AV1 (SVT-AV1)", ...): no sheet of the first 92 may hold it.
bool OnlyLaterEntriesOffer(std::string_view caption, std::string_view value);

} // namespace vx

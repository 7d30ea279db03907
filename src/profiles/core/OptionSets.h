#pragma once
// The option set that each catalog entry applies to the option sheet.

#include "OptionSheet.h"

#include <vector>

namespace vx {

enum class ChoiceAction { Replace, Append };

struct ChoiceList {
    ChoiceAction action;
    std::vector<const char*> choices;
};

// One item of a set: a new value and an optional change of its choices.
// A cell with neither leaves the item as it is.
struct OptionCell {
    const char* value = nullptr;
    const ChoiceList* list = nullptr;
};

// The seven items a set speaks of, in the order they are applied.
struct OptionSet {
    int position;
    const char* profile;
    OptionCell videoCodec, videoBitrate, videoFramerate, videoSize;
    OptionCell audioCodec, audioBitrate, sampleRate;
};

// The device sets (positions 1 to 78) and the common-format sets (79 to 92),
// one row per profile, in catalog order.
const std::vector<OptionSet>& DeviceOptionSets();
const std::vector<OptionSet>& CommonFormatOptionSets();
// The sets of the entries after the first 92 (their headings take the first).
const std::vector<OptionSet>& ModernOptionSets();

// The set applied for a position: a heading takes the set of its first profile
// ("Apple iPod" with "Audio Bitrate" "128"); nothing for a position that names no entry.
const OptionSet* OptionSetFor(int position);

// The caption of the video's bitrate item once the position's set is applied:
// "Quality" for an entry that encodes at a quality level, else "Video Bitrate".
const char* VideoRateCaption(int position);

// Applies the option set of a catalog position to the sheet in place. A set of
// the first 92 that follows one of the later entries finds the seven items as
// the default layout has them, not holding values such as "Kept as it is" that
// those sets leave alone.
// Returns false when the position has no set or the sheet lacks an item.
bool ApplyOptionSet(OptionSheet& sheet, int position);
// The set's cells alone, whatever the sheet holds (for sheets fresh from the
// default layout).
bool ApplySetCells(OptionSheet& sheet, int position);

} // namespace vx

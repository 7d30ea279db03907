#include "Catalog.h"
#include "ModernChoices.h"
#include "OfferedValues.h"
#include "OptionSets.h"
#include "SheetLayout.h"

#include <string_view>

namespace vx {

namespace {

const OptionSet* Row(int position) {
    const auto& table = position <= 78                       ? DeviceOptionSets()
                        : position <= ProfileCatalog::kCount ? CommonFormatOptionSets()
                                                             : ModernOptionSets();
    for (const OptionSet& set : table)
        if (set.position == position) return &set;
    return nullptr;
}

// The heading "Apple iPod" differs from its first profile in one value.
const OptionSet& AppleIpodHeadingSet() {
    static const OptionSet set = [] {
        OptionSet copy = *Row(2);
        copy.position = 1;
        copy.profile = "Apple iPod";
        copy.audioBitrate.value = "128";
        return copy;
    }();
    return set;
}

// Replace: empty, set, add. Append: set, add. Otherwise only set.
bool ApplyCell(OptionSheet& sheet, const OptionGroup* group, const char* caption,
               const OptionCell& cell) {
    if (!cell.value && !cell.list) return true;
    OptionItem* item = group ? FindOption(sheet, group->caption, caption) : nullptr;
    if (!item) return false;
    if (cell.list && cell.list->action == ChoiceAction::Replace) sheet.ClearChoices(item);
    if (cell.value) sheet.SetValue(item, cell.value);
    if (cell.list)
        for (const char* choice : cell.list->choices)
            sheet.AddChoice(item, choice);
    return true;
}

// The later entries that re-encode hold a quality level where the others hold a bitrate.
bool HoldsQuality(const OptionSet& set) {
    const char* value = set.videoBitrate.value;
    if (!value) return false;
    const std::string_view level(value);
    return level == modern::kHigh || level == modern::kStandard || level == modern::kSmall;
}

bool TouchesVideo(const OptionSet& set) {
    for (const OptionCell* cell :
         {&set.videoCodec, &set.videoBitrate, &set.videoFramerate, &set.videoSize})
        if (cell->value || cell->list) return true;
    return false;
}

// A value or a choice that only the later entries offer: such an item has no
// place on the sheet of one of the first 92.
bool HoldsLaterEntriesValues(const OptionSheet& sheet) {
    for (const auto& group : sheet.Groups())
        for (const auto& item : group->items) {
            if (OnlyLaterEntriesOffer(item->caption, item->value)) return true;
            for (const std::string& choice : item->choices)
                if (OnlyLaterEntriesOffer(item->caption, choice)) return true;
        }
    return false;
}

} // namespace

const char* VideoRateCaption(int position) {
    const OptionSet* set = OptionSetFor(position);
    return set && HoldsQuality(*set) ? caption::kQuality : caption::kVideoBitrate;
}

const OptionSet* OptionSetFor(int position) {
    if (position == 1) return &AppleIpodHeadingSet();
    if (ProfileCatalog::IsHeading(position)) return Row(position + 1);
    return ProfileCatalog::At(position) ? Row(position) : nullptr;
}

bool ApplyOptionSet(OptionSheet& sheet, int position) {
    const OptionSet* set = OptionSetFor(position);
    if (!set) return false;
    if (!IsModernPosition(set->position) && HoldsLaterEntriesValues(sheet))
        RestoreDefaultOptions(sheet);
    return ApplySetCells(sheet, position);
}

bool ApplySetCells(OptionSheet& sheet, int position) {
    using namespace caption;
    const OptionSet* set = OptionSetFor(position);
    if (!set) return false;
    bool ok = true;
    if (TouchesVideo(*set)) {
        const OptionGroup* video = sheet.FindGroup(kVideoOptions);
        ok &= ApplyCell(sheet, video, kVideoCodec, set->videoCodec);
        ok &= ApplyCell(sheet, video, kVideoBitrate, set->videoBitrate);
        ok &= ApplyCell(sheet, video, kVideoFramerate, set->videoFramerate);
        ok &= ApplyCell(sheet, video, kVideoSize, set->videoSize);
        sheet.SetCaption(FindOption(sheet, kVideoOptions, kVideoBitrate),
                         HoldsQuality(*set) ? kQuality : kVideoBitrate);
    }
    const OptionGroup* audio = sheet.FindGroup(kAudioOptions);
    ok &= ApplyCell(sheet, audio, kAudioCodec, set->audioCodec);
    ok &= ApplyCell(sheet, audio, kAudioBitrate, set->audioBitrate);
    ok &= ApplyCell(sheet, audio, kSampleRate, set->sampleRate);
    return ok;
}

} // namespace vx

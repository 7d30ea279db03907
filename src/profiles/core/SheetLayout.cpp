#include "SheetLayout.h"

#include <initializer_list>
#include <string_view>

namespace vx {

namespace {

struct LayoutRow {
    const char* group;
    const char* item;
    ItemKind kind;
    const char* value;
    std::initializer_list<const char*> choices;
    bool readOnly;
};

constexpr ItemKind T = ItemKind::Text;
constexpr ItemKind C = ItemKind::Choice;

// clang-format off
// The default layout, in display order.
const LayoutRow kDefaultLayout[] = {
    {"General", "Item Name", T, "Auto", {}, true},
    {"Output Duration", "All Clip Duration", T, "00:00:00", {}, true},
    {"Output Duration", "Start Time", T, "00:00:00", {}, true},
    {"Output Duration", "Stop Time", T, "00:00:00", {}, true},
    {"Video Options", "Video Codec", C, "xvid", {"xvid", "mpeg4", "x264"}, false},
    {"Video Options", "Video Size", C, "320x240", {"320x240", "480x270", "480x320", "640x480"}, false},
    {"Video Options", "Video Bitrate", C, "256",
     {"48", "64", "128", "192", "256", "512", "768", "1000", "1500", "1152", "2500"}, false},
    {"Video Options", "Video Framerate", C, "29.97",
     {"Auto", "8", "10", "12", "15", "23.976", "24", "25", "29.97", "30"}, false},
    {"Audio Options", "Audio Codec", C, "aac", {"aac", "mp3", "ogg"}, false},
    {"Audio Options", "Audio Bitrate", C, "128",
     {"32", "40", "48", "56", "64", "80", "96", "112", "128", "160", "192", "224", "256", "320"},
     false},
    {"Audio Options", "Sample Rate", C, "44100",
     {"8000", "11025", "22050", "24000", "32000", "44100", "48000"}, false},
    {"Audio Options", "Audio Channel", C, "2", {"1", "2"}, false},
    {"Audio Options", "Disable Audio", C, "No", {"No", "Yes"}, false},
    {"Audio Options", "A/V Sync", C, "Basic", {"Basic", "Default"}, false},
};
// clang-format on

} // namespace

void FillDefaultLayout(OptionSheet& sheet) {
    sheet.ClearGroups();
    OptionGroup* group = nullptr;
    for (const LayoutRow& row : kDefaultLayout) {
        if (!group || group->caption != row.group) group = sheet.AddGroup(row.group);
        sheet.AddItem(group, row.item, row.value, row.kind);
        OptionItem* item = OptionSheet::FindItem(group, row.item);
        for (const char* choice : row.choices)
            sheet.AddChoice(item, choice);
    }
    for (const LayoutRow& row : kDefaultLayout)
        if (row.readOnly) sheet.SetReadOnly(sheet.Find(row.group, row.item));
}

void RestoreDefaultOptions(OptionSheet& sheet) {
    using namespace caption;
    for (const LayoutRow& row : kDefaultLayout) {
        if (std::string_view(row.item) == kAudioChannel) break; // the rest are the user's alone
        if (std::string_view(row.group) != kVideoOptions &&
            std::string_view(row.group) != kAudioOptions)
            continue;
        OptionItem* item = FindOption(sheet, row.group, row.item);
        if (!item) continue;
        sheet.SetCaption(item, row.item);
        sheet.ClearChoices(item);
        sheet.SetValue(item, row.value);
        for (const char* choice : row.choices)
            sheet.AddChoice(item, choice);
    }
}

void ClearRowFields(OptionSheet& sheet) {
    for (const LayoutRow& row : kDefaultLayout)
        if (row.readOnly) sheet.SetValue(sheet.Find(row.group, row.item), row.value);
}

OptionItem* FindOption(const OptionSheet& sheet, std::string_view group, std::string_view item) {
    using namespace caption;
    if (OptionItem* found = sheet.Find(group, item)) return found;
    if (item == kVideoBitrate) return sheet.Find(group, kQuality);
    if (item == kQuality) return sheet.Find(group, kVideoBitrate);
    return nullptr;
}

std::optional<ConversionOptions> ReadConversionOptions(const OptionSheet& sheet) {
    using namespace caption;
    ConversionOptions options;
    const struct {
        const char* group;
        const char* item;
        std::string* field;
    } fields[] = {
        {kVideoOptions, kVideoCodec, &options.VideoCodec},
        {kVideoOptions, kVideoSize, &options.VideoSize},
        {kVideoOptions, kVideoBitrate, &options.VideoBitrate},
        {kVideoOptions, kVideoFramerate, &options.VideoFramerate},
        {kAudioOptions, kAudioCodec, &options.AudioCodec},
        {kAudioOptions, kDisableAudio, &options.DisableAudio},
        {kAudioOptions, kAudioBitrate, &options.AudioBitrate},
        {kAudioOptions, kSampleRate, &options.SampleRate},
        {kAudioOptions, kAudioChannel, &options.AudioChannel},
        {kAudioOptions, kAVSync, &options.AVSync},
    };
    for (const auto& field : fields) {
        const OptionItem* item = FindOption(sheet, field.group, field.item);
        if (!item) return std::nullopt;
        *field.field = item->value;
    }
    return options;
}

} // namespace vx

#pragma once
// The option sheet's default layout and the options of one conversion read from it.

#include "OptionSheet.h"

#include <optional>
#include <string>
#include <string_view>

namespace vx {

namespace caption {
inline constexpr const char* kGeneral = "General";
inline constexpr const char* kOutputDuration = "Output Duration";
inline constexpr const char* kVideoOptions = "Video Options";
inline constexpr const char* kAudioOptions = "Audio Options";
inline constexpr const char* kItemName = "Item Name";
inline constexpr const char* kAllClipDuration = "All Clip Duration";
inline constexpr const char* kStartTime = "Start Time";
inline constexpr const char* kStopTime = "Stop Time";
inline constexpr const char* kVideoCodec = "Video Codec";
inline constexpr const char* kVideoSize = "Video Size";
inline constexpr const char* kVideoBitrate = "Video Bitrate";
// "Video Bitrate" under the caption it has while the entry encodes at a quality level.
inline constexpr const char* kQuality = "Quality";
inline constexpr const char* kVideoFramerate = "Video Framerate";
inline constexpr const char* kAudioCodec = "Audio Codec";
inline constexpr const char* kAudioBitrate = "Audio Bitrate";
inline constexpr const char* kSampleRate = "Sample Rate";
inline constexpr const char* kAudioChannel = "Audio Channel";
inline constexpr const char* kDisableAudio = "Disable Audio";
inline constexpr const char* kAVSync = "A/V Sync";
} // namespace caption

// Lays down the default layout and its values ("prolist").
void FillDefaultLayout(OptionSheet& sheet);
// Gives the seven items that option sets change their default values, lists and captions again.
void RestoreDefaultOptions(OptionSheet& sheet);
// The read-only items that show a row (its name and times) as they are with no row.
void ClearRowFields(OptionSheet& sheet);

// An item by group and caption, "Video Bitrate" also under its caption "Quality"
// and the other way round.
OptionItem* FindOption(const OptionSheet& sheet, std::string_view group, std::string_view item);

// The option values of one conversion: ten from the sheet, two from the row.
struct ConversionOptions {
    std::string VideoCodec;
    std::string VideoSize;
    std::string VideoBitrate;
    std::string VideoFramerate;
    std::string AudioCodec;
    std::string AudioBitrate;
    std::string SampleRate;
    std::string AudioChannel;
    std::string DisableAudio;
    std::string AVSync;
    std::string ClipStart; // filled by the caller from the row's "Start"
    std::string ClipEnd;   // filled by the caller from the row's "End"
};

// Reads the ten sheet fields; nothing when an item cannot be found.
std::optional<ConversionOptions> ReadConversionOptions(const OptionSheet& sheet);

} // namespace vx

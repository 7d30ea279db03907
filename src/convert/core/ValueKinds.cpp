// The kinds of the option values that a designed command line holds as text.
// The command is one text split at blanks and quotes, so a value of any other
// form could become several arguments (an output file among them) or an option.
#include "CodecMaps.h"
#include "EncoderCommand.h"

#include <algorithm>
#include <string_view>

namespace vx {

namespace {

// Longer texts are no rate or size any encoder takes.
constexpr std::size_t kLongestNumber = 9;
constexpr std::size_t kLongestCodecName = 32;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool WholeNumber(std::string_view text) {
    return !text.empty() && text.size() <= kLongestNumber &&
           std::all_of(text.begin(), text.end(), IsDigit);
}

// "25", "29.97", "23.976".
bool DecimalNumber(std::string_view text) {
    const std::size_t dot = text.find('.');
    if (dot == std::string_view::npos) return WholeNumber(text);
    return WholeNumber(text.substr(0, dot)) && WholeNumber(text.substr(dot + 1));
}

bool WidthByHeight(std::string_view text) {
    const std::size_t x = text.find('x');
    return x != std::string_view::npos && WholeNumber(text.substr(0, x)) &&
           WholeNumber(text.substr(x + 1));
}

// A name of the map, or one plain name the encoder may know ("msmpeg4v2",
// "wmv1", "FLV"): letters, digits, "_", "." and "-", not beginning with "-"
// (which the encoder would read as an option).
bool CodecName(std::string_view text, bool mapped) {
    if (mapped) return true;
    const auto plain = [](char c) {
        return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' ||
               c == '.' || c == '-';
    };
    return !text.empty() && text.size() <= kLongestCodecName && text.front() != '-' &&
           std::all_of(text.begin(), text.end(), plain);
}

} // namespace

CommandError CheckValueKinds(const ConversionOptions& o) {
    if (!CodecName(o.VideoCodec, IsMappedVideoCodec(o.VideoCodec))) return CommandError::VideoCodec;
    if (!CodecName(o.AudioCodec, IsMappedAudioCodec(o.AudioCodec))) return CommandError::AudioCodec;
    if (!WholeNumber(o.VideoBitrate)) return CommandError::VideoBitrate;
    if (o.VideoFramerate != "Auto" && !DecimalNumber(o.VideoFramerate))
        return CommandError::FrameRate;
    if (!WidthByHeight(o.VideoSize)) return CommandError::VideoSize;
    if (!WholeNumber(o.SampleRate)) return CommandError::SampleRate;
    return CommandError::None;
}

} // namespace vx

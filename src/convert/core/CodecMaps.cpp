#include "CodecMaps.h"

#include <utility>

namespace vx {

namespace {

using Pair = std::pair<const char*, const char*>;

// clang-format off
// Sheet name, encoder text (inserted unchanged, trailing blanks included).
constexpr Pair kVideoCodecs[] = {
    {"xvid", "libxvid  -aspect 4:3 "},
    {"x264", "libx264 -qmin 10 -qmax 51 -qdiff 4 -me_range 16 -keyint_min 25 -qcomp 0.6 "},
    {"mpeg4", "mpeg4"},
    {"WMV V9", "wmv2"},
    {"WMV V8", "wmv2"},
    {"mjpeg", "mjpeg"},
    {"h263", "h263"},
    {"mpeg1", "mpeg1video"},
    {"mpeg2", "mpeg2video"},
};

constexpr Pair kAudioCodecs[] = {
    {"aac", "aac"},       {"mp3", "libmp3lame"}, {"WMA9", "wmav2"}, {"WMA8", "wmav2"},
    {"pcm", "pcm_s16le"}, {"amr_nb", "aac"},     {"faac", "aac"},   {"ac3", "ac3"},
    {"ogg", "vorbis"},    {"wav", "pcm_s16le"},  {"WMA", "wmav2"},  {"mp2", "mp2"},
};
// clang-format on

template <std::size_t N> std::string Map(const Pair (&table)[N], const std::string& name) {
    for (const auto& [from, to] : table)
        if (name == from) return to;
    return name;
}

template <std::size_t N> bool Mapped(const Pair (&table)[N], const std::string& name) {
    for (const auto& pair : table)
        if (name == pair.first) return true;
    return false;
}

} // namespace

bool IsMappedVideoCodec(const std::string& videoCodec) {
    return Mapped(kVideoCodecs, videoCodec);
}
bool IsMappedAudioCodec(const std::string& audioCodec) {
    return Mapped(kAudioCodecs, audioCodec);
}

std::string EncoderVideoCodec(const std::string& videoCodec) {
    return Map(kVideoCodecs, videoCodec);
}
std::string EncoderAudioCodec(const std::string& audioCodec) {
    return Map(kAudioCodecs, audioCodec);
}

} // namespace vx

#include "StreamFormats.h"

#include <algorithm>
#include <cctype>

namespace vx {

namespace {

std::string Upper(std::string_view text) {
    std::string upper;
    for (char c : text)
        if (c != ' ')
            upper.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
    return upper;
}

bool OneOf(const std::string& value, std::initializer_list<const char*> names) {
    return std::any_of(names.begin(), names.end(), [&](const char* n) { return value == n; });
}

} // namespace

VideoKind ClassifyVideo(std::string_view format) {
    const std::string f = Upper(format);
    if (f.empty()) return VideoKind::None;
    if (OneOf(f, {"H264", "AVC1", "X264", "0X10000005"})) return VideoKind::H264;
    if (OneOf(f, {"FMP4", "MP4V", "XVID", "DIVX", "DX50", "MPEG4", "0X10000004"}))
        return VideoKind::Mpeg4Part2;
    if (OneOf(f, {"FLV1", "FLV"})) return VideoKind::SorensonSpark;
    if (f.starts_with("VP6")) return VideoKind::Vp6;
    return VideoKind::Other;
}

// The report names the sound by its tag ("MP4A", "85" for MP3, "255" for AAC in
// some containers) or, without sound output, by its decoder ("aac", "mp3float").
AudioKind ClassifyAudio(std::string_view format) {
    const std::string f = Upper(format);
    if (f.empty()) return AudioKind::None;
    if (OneOf(f, {"MP4A", "AAC", "255", "0XFF", "AAC_LATM"})) return AudioKind::Aac;
    if (OneOf(f, {"85", "0X55", "MP3", "MP3FLOAT", ".MP3", "MPG123"})) return AudioKind::Mp3;
    if (f.starts_with("NELLY")) return AudioKind::Nellymoser;
    if (OneOf(f, {"SPX", "SPEEX"})) return AudioKind::Speex;
    if (f.starts_with("ADPCM")) return AudioKind::Adpcm;
    if (f.starts_with("PCM") || OneOf(f, {"1", "ULAW", "ALAW"})) return AudioKind::Pcm;
    return AudioKind::Other;
}

bool MatroskaHoldsSound(AudioKind kind) {
    return kind != AudioKind::Nellymoser && kind != AudioKind::Adpcm;
}

bool FitsMp4(const StreamFormats& formats) {
    const VideoKind video = ClassifyVideo(formats.video);
    const AudioKind audio = ClassifyAudio(formats.audio);
    if (video == VideoKind::None && audio == AudioKind::None) return false;
    const bool videoFits =
        video == VideoKind::None || video == VideoKind::H264 || video == VideoKind::Mpeg4Part2;
    const bool audioFits =
        audio == AudioKind::None || audio == AudioKind::Aac || audio == AudioKind::Mp3;
    return videoFits && audioFits;
}

std::string DescribeStreams(const StreamFormats& formats) {
    std::string video;
    switch (ClassifyVideo(formats.video)) {
    case VideoKind::None:
        break;
    case VideoKind::H264:
        video = "H.264";
        break;
    case VideoKind::Mpeg4Part2:
        video = "MPEG-4 Part 2";
        break;
    case VideoKind::SorensonSpark:
        video = "Sorenson Spark";
        break;
    case VideoKind::Vp6:
        video = "VP6";
        break;
    case VideoKind::Other:
        video = formats.video;
        break;
    }
    std::string audio;
    switch (ClassifyAudio(formats.audio)) {
    case AudioKind::None:
        break;
    case AudioKind::Aac:
        audio = "AAC";
        break;
    case AudioKind::Mp3:
        audio = "MP3";
        break;
    case AudioKind::Nellymoser:
        audio = "Nellymoser";
        break;
    case AudioKind::Speex:
        audio = "Speex";
        break;
    case AudioKind::Adpcm:
        audio = "Flash ADPCM";
        break;
    case AudioKind::Pcm:
        audio = "PCM";
        break;
    case AudioKind::Other:
        audio = formats.audio;
        break;
    }
    if (video.empty() && audio.empty()) return {};
    if (audio.empty()) return video + " video, no sound";
    if (video.empty()) return audio + " sound, no video";
    return video + " video, " + audio + " sound";
}

} // namespace vx

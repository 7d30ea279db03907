#pragma once
// What the player's identify report says about a file's streams, in the
// player's own words (ID_VIDEO_FORMAT such as "H264" or "FLV1"; ID_AUDIO_FORMAT
// such as "MP4A" or "85", or the demuxer's decoder name such as "aac" or
// "mp3float" when the report was made without sound), and what that means.

#include <string>
#include <string_view>

namespace vx {

enum class VideoKind { None, H264, Mpeg4Part2, SorensonSpark, Vp6, Other };
enum class AudioKind { None, Aac, Mp3, Nellymoser, Speex, Adpcm, Pcm, Other };

VideoKind ClassifyVideo(std::string_view format);
AudioKind ClassifyAudio(std::string_view format);

// Both formats as the row keeps them; empty: the report named no such stream.
struct StreamFormats {
    std::string video;
    std::string audio;
};

// Every stream the probe found can go into an MP4 file unchanged (H.264 or
// MPEG-4 Part 2 video, AAC or MP3 sound), and it found at least one.
bool FitsMp4(const StreamFormats& formats);

// Flash's own sound codecs (Nellymoser, Flash ADPCM) have no place in MP4 nor
// in Matroska; every other sound goes into Matroska as it is.
bool MatroskaHoldsSound(AudioKind kind);

// The formats in words for the row's tooltip: "H.264 video, AAC sound";
// empty when the probe named neither.
std::string DescribeStreams(const StreamFormats& formats);

} // namespace vx

// Option sets of the entries after the first 92: those that keep the streams
// and those of today's formats.
#include "ModernChoices.h"
#include "OptionSets.h"

namespace vx {

namespace {

constexpr ChoiceAction R = ChoiceAction::Replace;
using namespace modern;

// clang-format off
const ChoiceList KEPT{R, {kKept}};
const ChoiceList SOURCE{R, {kSameAsSource}};
const ChoiceList SIZES{R, {kSizes[0], kSizes[1], kSizes[2], kSizes[3], kSizes[4]}};
const ChoiceList QUALITY{R, {kHigh, kStandard, kSmall}};
const ChoiceList X264{R, {"H.264 (x264)"}};
const ChoiceList X265{R, {"H.265 (x265)"}};
const ChoiceList VP9{R, {"VP9"}};
const ChoiceList AV1{R, {"AV1 (SVT-AV1)"}};
const ChoiceList AAC{R, {"aac"}};
const ChoiceList OPUS{R, {"opus"}};
const ChoiceList AAC_RATES{R, {"96", "128", "160", "192", "256"}};
const ChoiceList OPUS_RATES{R, {"48", "64", "96", "128", "160"}};
const ChoiceList AAC_SAMPLES{R, {kSameAsSource, "44100", "48000"}};
const ChoiceList OPUS_SAMPLES{R, {"48000"}};

const OptionCell K{kKept, &KEPT};

// Pos, profile, Video Codec, Video Bitrate (the quality), Video Framerate,
// Video Size, Audio Codec, Audio Bitrate, Sample Rate.
const std::vector<OptionSet> kModernSets = {
{94, "Same streams, MP4 or Matroska(*.mp4/*.mkv)", K, K, K, K, K, K, K},
{95, "Same streams, Matroska(*.mkv)", K, K, K, K, K, K, K},
{96, "Sound only, same stream(*.m4a/*.mp3/*.mka)", K, K, K, K, K, K, K},
{98, "MP4 H.264/AAC for any device(*.mp4)", {"H.264 (x264)", &X264}, {kStandard, &QUALITY}, {kSameAsSource, &SOURCE}, {kSameAsSource, &SIZES}, {"aac", &AAC}, {"128", &AAC_RATES}, {kSameAsSource, &AAC_SAMPLES}},
{99, "MP4 H.265/AAC, half the size(*.mp4)", {"H.265 (x265)", &X265}, {kStandard, &QUALITY}, {kSameAsSource, &SOURCE}, {kSameAsSource, &SIZES}, {"aac", &AAC}, {"128", &AAC_RATES}, {kSameAsSource, &AAC_SAMPLES}},
{100, "WebM VP9/Opus(*.webm)", {"VP9", &VP9}, {kStandard, &QUALITY}, {kSameAsSource, &SOURCE}, {kSameAsSource, &SIZES}, {"opus", &OPUS}, {"96", &OPUS_RATES}, {"48000", &OPUS_SAMPLES}},
{101, "WebM AV1/Opus(*.webm)", {"AV1 (SVT-AV1)", &AV1}, {kStandard, &QUALITY}, {kSameAsSource, &SOURCE}, {kSameAsSource, &SIZES}, {"opus", &OPUS}, {"96", &OPUS_RATES}, {"48000", &OPUS_SAMPLES}},
};
// clang-format on

} // namespace

const std::vector<OptionSet>& ModernOptionSets() {
    return kModernSets;
}

} // namespace vx

// Option sets of the common formats, positions 79 to 92.
#include "OptionSets.h"

namespace vx {

namespace {

constexpr ChoiceAction R = ChoiceAction::Replace;
constexpr ChoiceAction A = ChoiceAction::Append;

// clang-format off
const ChoiceList VC1{R, {"mpeg2video"}};
const ChoiceList VC2{R, {"mpeg1video"}};
const ChoiceList VC3{R, {"xvid", "mpeg4", "msmpeg4", "msmpeg4v2", "mjpeg", "wmv1", "wmv2", "mpeg2",
                         "mpeg1", "h263p", "x264", "huffyuv", "ffv1"}};
const ChoiceList VC4{R, {"WMV V9", "WMV V8"}};
const ChoiceList VC5{R, {"x264", "mpeg4", "xvid"}};
const ChoiceList VB1{R, {"8000", "5000", "2000"}};
const ChoiceList VB2{A, {"1800"}};
const ChoiceList VB3{R, {"768", "2000", "4000", "5000", "6000", "8000", "10000", "12000"}};
const ChoiceList VF1{R, {"25"}};
const ChoiceList VS1{R, {"720x480", "704x480", "352x480", "352x240"}};
const ChoiceList VS2{R, {"720x576", "704x576", "352x576", "352x288"}};
const ChoiceList VS3{R, {"128x96", "176x144", "352x240", "352x288", "480x272", "480x480", "480x576",
                         "640x480", "720x480", "720x576", "704x576", "320x240"}};
const ChoiceList VS4{R, {"128x96", "176x144", "352x240", "352x288", "480x272", "480x480", "480x576",
                         "640x480", "720x480", "720x576", "704x576", "320x240", "720x480", "720x576",
                         "1080x720", "1280x720", "1440x1080", "1920x1080"}};
const ChoiceList AC1{R, {"ac3"}};
const ChoiceList AC2{R, {"mp2"}};
const ChoiceList AC3{R, {"ac3", "mp2"}};
const ChoiceList AC4{R, {"ac3", "mp3", "mp2", "aac"}};
const ChoiceList AC5{R, {"WMA"}};
const ChoiceList AC6{R, {"aac"}};
const ChoiceList AC7{R, {"mp3"}};
const ChoiceList AC8{R, {"ogg"}};
const ChoiceList AC9{R, {"wav"}};
const ChoiceList AC10{R, {"WMA9"}};
const ChoiceList AB1{R, {"128", "192"}};

const OptionCell SAME{}; // the item keeps what it holds

// Pos, profile, Video Codec, Video Bitrate, Video Framerate, Video Size,
// Audio Codec, Audio Bitrate, Sample Rate.
const std::vector<OptionSet> kCommonSets = {
{80, "DVD Video NTSC Movie(*.mpg)", {"mpeg2video", &VC1}, {"8000", &VB1}, {"25", &VF1}, {"720x480", &VS1}, {"ac3", &AC1}, {"128", &AB1}, {"48000"}},
{81, "DVD Video PAL Movie(*.mpg)", {"mpeg2video", &VC1}, {"8000", &VB1}, {"25"}, {"720x576", &VS2}, {"ac3", &AC1}, {"128", &AB1}, {"48000"}},
{82, "MPEG-I Movie(*.mpg)", {"mpeg1video", &VC2}, {"1152"}, {"29.970"}, {"352x240", &VS3}, {"mp2", &AC2}, {"224"}, {"44100"}},
{83, "MPEG-II Movie(*.mpg)", {"mpeg2video", &VC1}, {"1800", &VB2}, {"29.970"}, {"720x480", &VS4}, {"mp2", &AC3}, {"128"}, {"44100"}},
{84, "Customized AVI Movie(*.avi)", {"xvid", &VC3}, {"768", &VB3}, {"25"}, {"720x480", &VS4}, {"mp3", &AC4}, {"128"}, {"44100"}},
{85, "Customized WMV Movie(*.wmv)", {"WMV V9", &VC4}, {"768", &VB3}, SAME, {"720x480", &VS4}, {"WMA", &AC5}, {"128"}, SAME},
{86, "Customized MP4 Movie(*.mp4)", {"x264", &VC5}, {"768"}, {"25"}, {"320x240", &VS4}, {"aac", &AC6}, {"128"}, {"44100"}},
{88, "MP3 Audio(*.mp3)", SAME, SAME, SAME, SAME, {"mp3", &AC7}, {"128"}, {"44100"}},
{89, "OGG Vorbis Audio(*.ogg)", SAME, SAME, SAME, SAME, {"ogg", &AC8}, {"128"}, {"44100"}},
{90, "WAVE Audio(*.wav)", SAME, SAME, SAME, SAME, {"wav", &AC9}, {"128"}, {"44100"}},
{91, "AAC Audio(*.aac)", SAME, SAME, SAME, SAME, {"aac", &AC6}, {"128"}, {"44100"}},
{92, "WMA Audio(*.wma)", SAME, SAME, SAME, SAME, {"WMA9", &AC10}, SAME, SAME},
};
// clang-format on

} // namespace

const std::vector<OptionSet>& CommonFormatOptionSets() {
    return kCommonSets;
}

} // namespace vx

// Option sets of the device categories, positions 1 to 78.
#include "OptionSets.h"

namespace vx {

namespace {

constexpr ChoiceAction R = ChoiceAction::Replace;
constexpr ChoiceAction A = ChoiceAction::Append;

// "Video Codec" lists
// clang-format off
const ChoiceList C1{R, {"xvid", "mpeg4", "x264"}};
const ChoiceList C2{R, {"xvid", "mpeg4"}};
const ChoiceList C3{R, {"x264"}};
const ChoiceList C4{R, {"xvid", "x264", "mpeg4"}};
const ChoiceList C5{R, {"mpeg4"}};
const ChoiceList C6{R, {"WMV V9"}};
const ChoiceList C7{R, {"WMV V9", "WMV V8"}};
const ChoiceList C8{R, {"mpeg4", "xvid"}};
const ChoiceList C9{R, {"mjpeg"}};
const ChoiceList C10{R, {"h263", "mpeg4"}};
const ChoiceList C11{R, {"FLV"}};
const ChoiceList C12{R, {"SWF"}};

// "Video Bitrate" actions
const ChoiceList B1{A, {"2000", "2500", "3000"}};
const ChoiceList B2{A, {"384"}};
const ChoiceList B3{R, {"768", "512", "384", "256"}};

// "Video Size" lists
const ChoiceList S1{R, {"320x240", "480x270", "480x320", "640x480"}};
const ChoiceList S2{R, {"640x480"}};
const ChoiceList S3{R, {"768x576"}};
const ChoiceList S4{R, {"480x320", "480x270", "720x405", "640x480"}};
const ChoiceList S5{R, {"480x320", "480x270", "720x405", "640x480", "768x576"}};
const ChoiceList S6{R, {"320x240", "480x320", "480x270", "720x432", "640x480"}};
const ChoiceList S7{R, {"320x240", "480x320", "480x270", "720x432", "640x480", "768x576", "960x540",
                        "1280x720"}};
const ChoiceList S8{R, {"480x320", "480x270", "720x405", "640x480", "800x480"}};
const ChoiceList S9{R, {"368x208", "320x240", "160x112"}};
const ChoiceList S10{R, {"368x208", "320x240", "160x112", "480x272"}};
const ChoiceList S11{R, {"480x272", "640x480", "720x480", "720x576"}};
const ChoiceList S12{R, {"480x272", "640x480", "720x480", "720x576", "1280x720"}};
const ChoiceList S13{R, {"480x272", "640x480", "720x480", "720x576", "1280x720", "1440x1080",
                         "1920x1080"}};
const ChoiceList S14{R, {"320x240", "220x176", "176x144", "160x112"}};
const ChoiceList S15{R, {"320x240"}};
const ChoiceList S16{R, {"320x240", "480x272", "720x480", "720x576", "1280x720"}};
const ChoiceList S17{R, {"160x128"}};
const ChoiceList S18{R, {"320x240", "160x128", "640x480", "720x576"}};
const ChoiceList S19{R, {"320x240", "160x128", "480x272", "640x480", "720x576"}};
const ChoiceList S20{R, {"320x240", "160x128", "480x272", "640x480", "720x576", "800x480"}};
const ChoiceList S21{R, {"320x240", "220x176", "176x144", "160x112", "640x480"}};
const ChoiceList S22{R, {"320x240", "220x176", "176x144", "160x112", "480x272"}};
const ChoiceList S23{R, {"128x128"}};
const ChoiceList S24{R, {"480x270", "320x240", "220x176", "176x144", "160x112"}};
const ChoiceList S25{R, {"640x480", "640x368", "640x272", "480x360", "320x240", "220x176", "176x144",
                         "160x112"}};
const ChoiceList S26{R, {"720x480", "640x480", "640x368", "640x272", "480x360", "320x240"}};
const ChoiceList S27{R, {"640x480", "512x384", "480x576", "480x480", "480x320", "320x240", "224x176",
                         "160x112"}};
const ChoiceList S28{R, {"320x240", "640x480", "720x480", "720x576", "1024x768", "1280x720",
                         "1280x1024", "1366x768", "1920x1080"}};
const ChoiceList S29{R, {"320x240", "512x384", "640x480", "720x480", "720x576", "1024x768",
                         "1280x720"}};
const ChoiceList S30{R, {"848x480", "720x576", "720x480", "640x480", "512x384", "480x576", "480x480",
                         "480x320", "480x272", "368x208", "320x240", "352x288", "352x240"}};
const ChoiceList S31{R, {"128x96", "160x120", "176x144", "220x176", "240x180", "320x240", "352x288",
                         "640x480"}};
const ChoiceList S32{R, {"128x96", "160x120", "176x144", "220x176", "320x240", "352x288",
                         "640x480"}};
const ChoiceList S33{R, {"480x360", "480x320", "160x112", "320x240"}};
const ChoiceList S34{R, {"128x96", "176x144", "220x176", "320x176", "320x240", "352x288",
                         "640x480"}};
const ChoiceList S35{R, {"320x240", "720x576", "640x480"}};
const ChoiceList S36{R, {"320x240", "720x576", "720x480", "640x480", "512x384", "480x576", "480x480",
                         "480x320", "480x272", "368x208", "352x288", "352x240"}};
const ChoiceList S37{R, {"128x96", "176x144", "220x176", "320x240", "704x576", "640x480"}};

// "Audio Codec" lists
const ChoiceList A1{R, {"aac"}};
const ChoiceList A2{R, {"WMA9"}};
const ChoiceList A3{R, {"mp3"}};
const ChoiceList A4{R, {"pcm"}};
const ChoiceList A5{R, {"amr_nb", "faac"}};

const OptionCell SAME{}; // the item keeps what it holds

// Pos, profile, Video Codec, Video Bitrate, Video Framerate, Video Size,
// Audio Codec, Audio Bitrate, Sample Rate.
const std::vector<OptionSet> kDeviceSets = {
{2, "Apple iPod Video MPEG-4 Movie(*.mp4)", {"xvid", &C1}, {"512"}, {"25"}, {"320x240", &S1}, {"aac", &A1}, {"64"}, {"44100"}},
{3, "Apple iPod Nano/Classic MPEG-4 Movie(*.mp4)", {"xvid", &C1}, {"512"}, {"25"}, {"320x240", &S1}, {"aac", &A1}, {"160"}, {"44100"}},
{4, "Apple iPod Movie for 480p TV Out(*.mp4)", {"xvid", &C1}, {"512"}, {"25"}, {"640x480", &S2}, {"aac", &A1}, {"128"}, {"44100"}},
{5, "Apple iPod Movie for 576p TV Out(*.mp4)", {"xvid", &C1}, {"512"}, {"25"}, {"768x576", &S3}, {"aac", &A1}, {"128"}, {"44100"}},
{6, "Apple iPod Touch MPEG-4 Movie(*.mp4)", {"xvid", &C1}, {"768"}, {"25"}, {"320x240", &S1}, {"aac", &A1}, {"128"}, {"44100"}},
{8, "Apple iPhone MPEG-4 Movie(*.mp4)", {"x264", &C1}, {"768"}, {"25"}, {"480x320", &S4}, {"aac", &A1}, {"128"}, {"44100"}},
{9, "Apple iPhone Movie for 480p TV Out(*.mp4)", {"x264", &C1}, {"768"}, {"25"}, {"640x480", &S4}, {"aac", &A1}, {"128"}, {"44100"}},
{10, "Apple iPhone Movie for 576p TV Out(*.mp4)", {"x264", &C1}, {"768"}, {"25"}, {"768x576", &S5}, {"aac", &A1}, {"128"}, {"44100"}},
{12, "Apple TV MPEG-4 Movie(*.mp4)", {"xvid", &C2}, {"512"}, {"25"}, {"720x432", &S6}, {"aac", &A1}, {"128"}, {"44100"}},
{13, "Apple TV MPEG-4 AVC Movie(*.mp4)", {"x264", &C3}, {"1500"}, {"24"}, {"768x576", &S7}, {"aac", &A1}, {"64"}, {"44100"}},
{15, "Gphone MPEG-4 Movie(*.mp4)", {"x264", &C4}, {"768"}, {"25"}, {"480x320", &S4}, {"aac", &A1}, {"128"}, {"44100"}},
// The Nexus One's codec takes the value and choices of its sibling above.
{16, "Google Nexus One MPEG-4 Movie(*.mp4)", {"x264", &C4}, {"1200"}, {"25"}, {"800x480", &S8}, {"aac", &A1}, {"128"}, {"44100"}},
{18, "Sony PSP MPEG-4 Movie(*.mp4)", {"mpeg4", &C5}, {"512"}, {"29.97"}, {"368x208", &S9}, {"aac", &A1}, {"64"}, {"24000"}},
{19, "Sony PSP MPEG-4 AVC Movie(*.mp4)", {"x264", &C3}, {"512"}, {"29.97"}, {"368x208", &S10}, {"aac", &A1}, {"64"}, {"48000"}},
{21, "Sony PS3 MPEG-4 AVC Movie(480p)(*.mp4)", {"x264", &C3}, {"2000", &B1}, {"29.976"}, {"720x480", &S11}, {"aac", &A1}, {"96"}, {"48000"}},
{22, "Sony PS3 MPEG-4 AVC Movie(720p)(*.mp4)", {"x264", &C3}, {"2000", &B1}, {"29.976"}, {"720x576", &S12}, {"aac", &A1}, {"128"}, {"48000"}},
{23, "Sony PS3 MPEG-4 AVC Movie(1080p)(*.mp4)", {"x264", &C3}, {"2000", &B1}, {"23.976"}, {"1440x1080", &S13}, {"aac", &A1}, {"128"}, {"48000"}},
{25, "Sony Walkman MPEG-4 Movie(*.mp4)", {"xvid", &C2}, {"768"}, {"25"}, {"320x240", &S14}, {"aac", &A1}, {"128"}, {"44100"}},
{26, "Sony Walkman MPEG-4 AVC Movie(*.mp4)", {"x264", &C3}, {"512"}, {"25"}, {"320x240", &S14}, {"aac", &A1}, {"128"}, {"44100"}},
{27, "Sony Walkman WMV9 Movie(*.wmv)", {"WMV V9", &C6}, {"768"}, SAME, {"320x240", &S15}, {"WMA9", &A2}, {"128"}, {"44100"}},
{29, "Microsoft Zune WMV Movie(*.wmv)", {"WMV V9", &C7}, {"768"}, SAME, {"320x240", &S15}, {"WMA9", &A2}, SAME, SAME},
{30, "Microsoft Zune MPEG-4 Movie(*.mp4)", {"mpeg4", &C8}, {"512"}, {"25"}, {"320x240", &S15}, {"aac", &A1}, {"128"}, {"44100"}},
{31, "Microsoft Zune HD WMV Movie(*.wmv)", {"WMV V9", &C7}, {"1500"}, SAME, {"480x272", &S16}, {"WMA9", &A2}, SAME, SAME},
{32, "Microsoft Zune HD MPEG-4 Movie(*.mp4)", {"mpeg4", &C8}, {"1500"}, {"25"}, {"480x272", &S16}, {"aac", &A1}, {"128"}, {"44100"}},
{34, "Archos 105 Movie(*.wmv)", {"WMV V9", &C6}, {"256"}, {"25"}, {"160x128", &S17}, {"WMA9", &A2}, {"128"}, {"44100"}},
{35, "Archos 404/405 Movie(*.wmv)", {"WMV V9", &C6}, {"256"}, {"25"}, {"320x240", &S18}, {"WMA9", &A2}, {"128"}, {"44100"}},
{36, "Archos 504/604 Movie(*.wmv)", {"WMV V9", &C6}, {"512"}, {"25"}, {"480x272", &S19}, {"WMA9", &A2}, {"128"}, {"44100"}},
{37, "Archos 605/705/TV+ Movie(*.wmv)", {"WMV V9", &C6}, {"512"}, {"25"}, {"800x480", &S20}, {"WMA9", &A2}, {"128"}, {"44100"}},
{38, "Archos AV500 Movie(*.wmv)", {"WMV V9", &C6}, {"512"}, {"25"}, {"800x480", &S20}, {"WMA9", &A2}, {"128"}, {"44100"}},
{39, "Archos AV700 Movie(*.wmv)", {"WMV V9", &C6}, {"512"}, {"25"}, {"800x480", &S20}, {"WMA9", &A2}, {"128"}, {"44100"}},
{41, "Creative Zen X-Fi Movie(*.avi)", {"mpeg4", &C8}, {"384"}, {"25"}, {"320x240", &S14}, {"mp3", &A3}, {"96"}, {"44100"}},
{42, "Creative Zen Vison Movie(*.avi)", {"mpeg4", &C8}, {"384"}, {"25"}, {"320x240", &S21}, {"mp3", &A3}, {"96"}, {"44100"}},
{43, "Creative Zen Vison M Movie(*.avi)", {"mpeg4", &C8}, {"384"}, {"25"}, {"320x240", &S14}, {"mp3", &A3}, {"96"}, {"44100"}},
{44, "Creative Zen Vison W Movie(*.avi)", {"mpeg4", &C8}, {"384"}, {"25"}, {"480x272", &S22}, {"mp3", &A3}, {"96"}, {"44100"}},
{46, "iRiver E10 Movie(*.avi)", {"mpeg4", &C8}, {"256"}, {"15"}, {"128x128", &S23}, {"mp3", &A3}, {"128"}, {"44100"}},
{47, "iRiver U10/Clix Movie(*.avi)", {"mpeg4", &C8}, {"256"}, {"15"}, {"220x176", &S14}, {"mp3", &A3}, {"128"}, {"44100"}},
{48, "iRiver B20/X20/Clix 2/E100/Lplayer Movie(*.avi)", {"mpeg4", &C8}, {"384"}, {"15"}, {"320x240", &S14}, {"mp3", &A3}, {"96"}, {"44100"}},
{49, "iRiver Spinn/D28/DICPLE D30 Movie(*.avi)", {"mpeg4", &C8}, {"384"}, {"15"}, {"480x270", &S24}, {"mp3", &A3}, {"96"}, {"44100"}},
{50, "iRiver P10/P20 Movie(*.avi)", {"mpeg4", &C8}, {"512"}, {"25"}, {"640x272", &S25}, {"mp3", &A3}, {"128"}, {"44100"}},
{51, "iRiver PMP-120/140/IMP-1000/1100 Movie(*.avi)", {"mpeg4", &C8}, {"512"}, {"25"}, {"640x480", &S26}, {"mp3", &A3}, {"128"}, {"44100"}},
{53, "Sandisk Sansa AVI Movie(*.avi)", {"mpeg4", &C5}, {"512"}, {"20"}, {"320x240", &S27}, {"aac", &A1}, {"64"}, {"24000"}},
{54, "Sandisk Sansa WMV Movie(*.wmv)", {"WMV V9", &C7}, {"768"}, SAME, {"320x240", &S27}, {"WMA9", &A2}, {"64"}, {"24000"}},
{55, "Sandisk Sansa MPEG-4 Movie(*.mp4)", {"mpeg4", &C5}, {"512"}, {"24"}, {"368x208", &S9}, {"aac", &A1}, {"64"}, {"24000"}},
{57, "Xbox WMV Movie(*.wmv)", {"WMV V8", &C7}, {"768"}, {"30"}, {"1280x720", &S28}, {"WMA9", &A2}, {"128"}, SAME},
{58, "Xbox AVI Movie(*.avi)", {"mpeg4", &C5}, {"1024"}, {"30"}, {"720x576", &S29}, {"mp3", &A3}, {"128"}, {"44100"}},
{59, "Xbox MPEG-4 Movie(*.mp4)", {"mpeg4", &C1}, {"1500"}, {"30"}, {"1280x720", &S28}, {"aac", &A1}, {"128"}, {"48000"}},
{61, "Nintendo Wii AVI Movie(*.avi)", {"mjpeg", &C9}, {"768"}, {"25"}, {"720x480", &S30}, {"pcm", &A4}, {"128"}, SAME},
{63, "Mobile Phone 3GP Movie(*.3gp)", {"h263", &C10}, {"64"}, {"15"}, {"176x144", &S31}, {"amr_nb", &A5}, {"12.2"}, {"8000"}},
{64, "Mobile Phone 3GP2 Movie(*.3g2)", {"h263", &C10}, {"64"}, {"15"}, {"176x144", &S32}, {"amr_nb", &A5}, {"12.2"}, {"8000"}},
{65, "Mobile Phone MPEG-4 Movie(*.mp4)", {"mpeg4", &C8}, {"128"}, {"15"}, {"176x144", &S31}, {"aac", &A1}, {"64"}, {"11025"}},
{66, "Nokia N-series MPEG-4 Movie(*.mp4)", {"mpeg4", &C8}, {"128"}, {"15"}, {"176x144", &S32}, {"aac", &A1}, {"64"}, {"24000"}},
{68, "BlackBerry MPEG-4 Movie(*.mp4)", {"mpeg4", &C5}, {"512"}, {"24"}, {"320x240", &S33}, {"aac", &A1}, {"64"}, {"44100"}},
{70, "Nokia N-Series MPEG-4 Movie(*.mp4)", {"mpeg4", &C8}, {"128"}, SAME, {"320x176", &S34}, {"aac", &A1}, {"64"}, SAME},
{72, "Palm Treo Series Movie(*.wmv)", {"WMV V9", &C7}, {"384", &B2}, SAME, {"320x240", &S35}, {"WMA9", &A2}, {"64"}, SAME},
{73, "General Pocket PC Movie(*.wmv)", {"WMV V9", &C7}, {"768", &B2}, SAME, {"320x240", &S36}, {"WMA9", &A2}, {"64"}, SAME},
{75, "Flash Video Movie(*.flv)", {"FLV", &C11}, {"512"}, {"25"}, {"320x240", &S37}, {"mp3", &A3}, {"64"}, {"44100"}},
{76, "Flash SWF(*.swf)", {"SWF", &C12}, {"512"}, {"25"}, {"320x240", &S37}, {"mp3", &A3}, {"64"}, {"44100"}},
{78, "Toshiba Gigabeat WMV Movie(*.wmv)", {"WMV V9", &C6}, {"512", &B3}, SAME, {"320x240", &S15}, {"WMA9", &A2}, {"64"}, SAME},
};
// clang-format on

} // namespace

const std::vector<OptionSet>& DeviceOptionSets() {
    return kDeviceSets;
}

} // namespace vx

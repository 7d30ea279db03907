#include "Catalog.h"

namespace vx {

namespace {

constexpr EntryKind H = EntryKind::Heading;
constexpr EntryKind P = EntryKind::Profile;

// clang-format off
// position, kind, display text, picture
constexpr CatalogEntry kCatalog[ProfileCatalog::kEntryCount] = {
    {1, H, "Apple iPod", 1},
    {2, P, "Apple iPod Video MPEG-4 Movie(*.mp4)", 0},
    {3, P, "Apple iPod Nano/Classic MPEG-4 Movie(*.mp4)", 0},
    {4, P, "Apple iPod Movie for 480p TV Out(*.mp4)", 0},
    {5, P, "Apple iPod Movie for 576p TV Out(*.mp4)", 0},
    {6, P, "Apple iPod Touch MPEG-4 Movie(*.mp4)", 0},
    {7, H, "Apple iPhone", 10},
    {8, P, "Apple iPhone MPEG-4 Movie(*.mp4)", 0},
    {9, P, "Apple iPhone Movie for 480p TV Out(*.mp4)", 0},
    {10, P, "Apple iPhone Movie for 576p TV Out(*.mp4)", 0},
    {11, H, "Apple TV", 2},
    {12, P, "Apple TV MPEG-4 Movie(*.mp4)", 0},
    {13, P, "Apple TV MPEG-4 AVC Movie(*.mp4)", 0},
    {14, H, "Gphone", 9},
    {15, P, "Gphone MPEG-4 Movie(*.mp4)", 0},
    {16, P, "Google Nexus One MPEG-4 Movie(*.mp4)", 0},
    {17, H, "Sony PSP", 15},
    {18, P, "Sony PSP MPEG-4 Movie(*.mp4)", 0},
    {19, P, "Sony PSP MPEG-4 AVC Movie(*.mp4)", 0},
    {20, H, "Sony PS3", 38},
    {21, P, "Sony PS3 MPEG-4 AVC Movie(480p)(*.mp4)", 0},
    {22, P, "Sony PS3 MPEG-4 AVC Movie(720p)(*.mp4)", 0},
    {23, P, "Sony PS3 MPEG-4 AVC Movie(1080p)(*.mp4)", 0},
    {24, H, "Sony Walkman", 17},
    {25, P, "Sony Walkman MPEG-4 Movie(*.mp4)", 0},
    {26, P, "Sony Walkman MPEG-4 AVC Movie(*.mp4)", 0},
    {27, P, "Sony Walkman WMV9 Movie(*.wmv)", 0},
    {28, H, "Microsoft Zune", 22},
    {29, P, "Microsoft Zune WMV Movie(*.wmv)", 0},
    {30, P, "Microsoft Zune MPEG-4 Movie(*.mp4)", 0},
    {31, P, "Microsoft Zune HD WMV Movie(*.wmv)", 0},
    {32, P, "Microsoft Zune HD MPEG-4 Movie(*.mp4)", 0},
    {33, H, "Archos", 3},
    {34, P, "Archos 105 Movie(*.wmv)", 0},
    {35, P, "Archos 404/405 Movie(*.wmv)", 0},
    {36, P, "Archos 504/604 Movie(*.wmv)", 0},
    {37, P, "Archos 605/705/TV+ Movie(*.wmv)", 0},
    {38, P, "Archos AV500 Movie(*.wmv)", 0},
    {39, P, "Archos AV700 Movie(*.wmv)", 0},
    {40, H, "Creative Zen", 21},
    {41, P, "Creative Zen X-Fi Movie(*.avi)", 0},
    {42, P, "Creative Zen Vison Movie(*.avi)", 0},
    {43, P, "Creative Zen Vison M Movie(*.avi)", 0},
    {44, P, "Creative Zen Vison W Movie(*.avi)", 0},
    {45, H, "iRiver", 31},
    {46, P, "iRiver E10 Movie(*.avi)", 0},
    {47, P, "iRiver U10/Clix Movie(*.avi)", 0},
    {48, P, "iRiver B20/X20/Clix 2/E100/Lplayer Movie(*.avi)", 0},
    {49, P, "iRiver Spinn/D28/DICPLE D30 Movie(*.avi)", 0},
    {50, P, "iRiver P10/P20 Movie(*.avi)", 0},
    {51, P, "iRiver PMP-120/140/IMP-1000/1100 Movie(*.avi)", 0},
    {52, H, "Sandisk Sansa", 16},
    {53, P, "Sandisk Sansa AVI Movie(*.avi)", 0},
    {54, P, "Sandisk Sansa WMV Movie(*.wmv)", 0},
    {55, P, "Sandisk Sansa MPEG-4 Movie(*.mp4)", 0},
    {56, H, "Microsoft Xbox 360", 20},
    {57, P, "Xbox WMV Movie(*.wmv)", 0},
    {58, P, "Xbox AVI Movie(*.avi)", 0},
    {59, P, "Xbox MPEG-4 Movie(*.mp4)", 0},
    {60, H, "Nintendo Wii", 18},
    {61, P, "Nintendo Wii AVI Movie(*.avi)", 0},
    {62, H, "Mobile Phone", 12},
    {63, P, "Mobile Phone 3GP Movie(*.3gp)", 0},
    {64, P, "Mobile Phone 3GP2 Movie(*.3g2)", 0},
    {65, P, "Mobile Phone MPEG-4 Movie(*.mp4)", 0},
    {66, P, "Nokia N-series MPEG-4 Movie(*.mp4)", 0},
    {67, H, "BlackBerry", 11},
    {68, P, "BlackBerry MPEG-4 Movie(*.mp4)", 0},
    {69, H, "Nokia", 30},
    {70, P, "Nokia N-Series MPEG-4 Movie(*.mp4)", 0},
    {71, H, "Windows Mobile", 31},
    {72, P, "Palm Treo Series Movie(*.wmv)", 0},
    {73, P, "General Pocket PC Movie(*.wmv)", 0},
    {74, H, "Flash Video", 5},
    {75, P, "Flash Video Movie(*.flv)", 0},
    {76, P, "Flash SWF(*.swf)", 0},
    {77, H, "Toshiba Gigabeat", 8},
    {78, P, "Toshiba Gigabeat WMV Movie(*.wmv)", 0},
    {79, H, "Common Used Video Formats", 41},
    {80, P, "DVD Video NTSC Movie(*.mpg)", 0},
    {81, P, "DVD Video PAL Movie(*.mpg)", 0},
    {82, P, "MPEG-I Movie(*.mpg)", 0},
    {83, P, "MPEG-II Movie(*.mpg)", 0},
    {84, P, "Customized AVI Movie(*.avi)", 0},
    {85, P, "Customized WMV Movie(*.wmv)", 0},
    {86, P, "Customized MP4 Movie(*.mp4)", 0},
    {87, H, "Common Used Audio Formats", 6},
    {88, P, "MP3 Audio(*.mp3)", 0},
    {89, P, "OGG Vorbis Audio(*.ogg)", 0},
    {90, P, "WAVE Audio(*.wav)", 0},
    {91, P, "AAC Audio(*.aac)", 0},
    {92, P, "WMA Audio(*.wma)", 0},
    {93, H, "Keep quality (no re-encoding)", 42},
    {94, P, "Same streams, MP4 or Matroska(*.mp4/*.mkv)", 0},
    {95, P, "Same streams, Matroska(*.mkv)", 0},
    {96, P, "Sound only, same stream(*.m4a/*.mp3/*.mka)", 0},
    {97, H, "Today's formats", 43},
    {98, P, "MP4 H.264/AAC for any device(*.mp4)", 0},
    {99, P, "MP4 H.265/AAC, half the size(*.mp4)", 0},
    {100, P, "WebM VP9/Opus(*.webm)", 0},
    {101, P, "WebM AV1/Opus(*.webm)", 0},
};
// clang-format on

} // namespace

const CatalogEntry* ProfileCatalog::At(int position) {
    if (position < 1 || position > kEntryCount) return nullptr;
    return &kCatalog[position - 1];
}

bool ProfileCatalog::IsHeading(int position) {
    const CatalogEntry* entry = At(position);
    return entry && entry->kind == EntryKind::Heading;
}

std::optional<std::string> OutputExtension(std::string_view displayText) {
    const std::size_t dot = displayText.find('.');
    if (dot == std::string_view::npos) return std::nullopt;
    return std::string(displayText.substr(dot, 4));
}

} // namespace vx

#include "CategoryArt.h"
#include "SvgIconEngine.h"

#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace vx {

namespace {

// Device and format motifs, white on a coloured tile, in a 64 x 64 box.
namespace glyph {
const char* kClickWheelPlayer = R"svg(<rect x="20" y="10" width="24" height="44" rx="5"/>
<rect x="24" y="14" width="16" height="14" rx="1" class="c"/><circle cx="32" cy="41" r="7" class="c"/><circle cx="32" cy="41" r="2.5"/>)svg";
const char* kSetTopBox =
    R"svg(<rect x="14" y="14" width="36" height="24" rx="3"/><rect x="18" y="18" width="28" height="16" class="c"/>
<rect x="10" y="44" width="44" height="8" rx="3"/><circle cx="46" cy="48" r="1.6" class="c"/>)svg";
const char* kWidePlayer =
    R"svg(<rect x="8" y="18" width="48" height="30" rx="5"/><rect x="13" y="22" width="38" height="22" rx="1" class="c"/>)svg";
const char* kSmartphone =
    R"svg(<rect x="20" y="8" width="24" height="48" rx="5"/><rect x="23" y="14" width="18" height="32" class="c"/><circle cx="32" cy="51" r="2.2" class="c"/>)svg";
const char* kKeyboardPhone =
    R"svg(<rect x="18" y="8" width="28" height="48" rx="5"/><rect x="22" y="12" width="20" height="16" class="c"/>
<g class="c"><rect x="22" y="33" width="5" height="4"/><rect x="29.5" y="33" width="5" height="4"/><rect x="37" y="33" width="5" height="4"/>
<rect x="22" y="40" width="5" height="4"/><rect x="29.5" y="40" width="5" height="4"/><rect x="37" y="40" width="5" height="4"/>
<rect x="22" y="47" width="5" height="4"/><rect x="29.5" y="47" width="5" height="4"/><rect x="37" y="47" width="5" height="4"/></g>)svg";
const char* kClassicPhone =
    R"svg(<rect x="38" y="4" width="3" height="10"/><rect x="20" y="12" width="24" height="46" rx="6"/>
<rect x="24" y="17" width="16" height="13" class="c"/><g class="c"><circle cx="27" cy="37" r="2"/><circle cx="32" cy="37" r="2"/><circle cx="37" cy="37" r="2"/>
<circle cx="27" cy="43" r="2"/><circle cx="32" cy="43" r="2"/><circle cx="37" cy="43" r="2"/><circle cx="27" cy="49" r="2"/><circle cx="32" cy="49" r="2"/><circle cx="37" cy="49" r="2"/></g>)svg";
const char* kHandheld =
    R"svg(<rect x="4" y="20" width="56" height="24" rx="12"/><rect x="18" y="23" width="28" height="18" class="c"/>
<circle cx="11" cy="32" r="3" class="c"/><circle cx="53" cy="32" r="3" class="c"/>)svg";
const char* kGamepad =
    R"svg(<path d="M14 22h36c6 0 10 6 10 16s-3 14-7 14c-5 0-7-8-11-8H22c-4 0-6 8-11 8-4 0-7-4-7-14s4-16 10-16z"/>
<g class="c"><rect x="14" y="30" width="10" height="3"/><rect x="17.5" y="26.5" width="3" height="10"/><circle cx="44" cy="29" r="2.2"/><circle cx="49" cy="34" r="2.2"/></g>)svg";
const char* kPlayerWithPhones =
    R"svg(<path d="M12 34a20 20 0 0 1 40 0" fill="none" stroke="#fff" stroke-width="4"/><rect x="8" y="32" width="9" height="14" rx="3"/>
<rect x="47" y="32" width="9" height="14" rx="3"/><rect x="24" y="30" width="16" height="26" rx="3"/><rect x="27" y="33" width="10" height="9" class="c"/>)svg";
const char* kSquirclePlayer =
    R"svg(<rect x="18" y="8" width="28" height="48" rx="9"/><rect x="22" y="13" width="20" height="20" rx="2" class="c"/>
<rect x="25" y="38" width="14" height="14" rx="5" class="c"/>)svg";
const char* kPda =
    R"svg(<rect x="16" y="8" width="28" height="48" rx="4"/><rect x="20" y="12" width="20" height="28" class="c"/>
<rect x="20" y="45" width="20" height="6" rx="3" class="c"/><rect x="48" y="10" width="3" height="40" rx="1.5" transform="rotate(8 49 30)"/>)svg";
const char* kRemote =
    R"svg(<rect x="24" y="6" width="16" height="52" rx="7"/><circle cx="32" cy="16" r="4" class="c"/>
<rect x="30" y="26" width="4" height="12" class="c"/><rect x="26" y="30" width="12" height="4" class="c"/><circle cx="32" cy="47" r="2.5" class="c"/>)svg";
const char* kFlash =
    R"svg(<rect x="8" y="12" width="48" height="40" rx="6"/><path d="M36 16L22 35h9l-4 13 15-20h-9z" class="c"/>)svg";
const char* kNote =
    R"svg(<path d="M26 14l24-6v32a7 7 0 1 1-4-6.3V17l-16 4v23a7 7 0 1 1-4-6.3z"/>)svg";
const char* kFilmStrip =
    R"svg(<rect x="8" y="10" width="48" height="44" rx="4"/><g class="c"><rect x="12" y="14" width="5" height="5"/><rect x="12" y="25" width="5" height="5"/>
<rect x="12" y="36" width="5" height="5"/><rect x="12" y="46" width="5" height="4"/><rect x="47" y="14" width="5" height="5"/><rect x="47" y="25" width="5" height="5"/>
<rect x="47" y="36" width="5" height="5"/><rect x="47" y="46" width="5" height="4"/><rect x="21" y="14" width="22" height="17"/><rect x="21" y="34" width="22" height="16"/></g>)svg";
const char* kDisc =
    R"svg(<circle cx="32" cy="32" r="24"/><circle cx="32" cy="32" r="7" class="c"/><path d="M32 14a18 18 0 0 1 18 18h-4a14 14 0 0 0-14-14z" class="c" opacity=".5"/>)svg";
const char* kMonitor =
    R"svg(<rect x="8" y="12" width="48" height="32" rx="3"/><rect x="12" y="16" width="40" height="24" class="c"/><rect x="26" y="44" width="12" height="6"/><rect x="18" y="50" width="28" height="4" rx="2"/>)svg";
const char* kCamera =
    R"svg(<rect x="6" y="20" width="38" height="26" rx="4"/><path d="M44 28l14-8v26l-14-8z"/><circle cx="20" cy="33" r="6" class="c"/>)svg";
const char* kSpeaker =
    R"svg(<path d="M10 24h10l14-12v40L20 40H10z"/><path d="M42 22a14 14 0 0 1 0 20M48 16a22 22 0 0 1 0 32" fill="none" stroke="#fff" stroke-width="4" stroke-linecap="round"/>)svg";
const char* kPlayButton =
    R"svg(<circle cx="32" cy="32" r="24"/><path d="M26 20l18 12-18 12z" class="c"/>)svg";
const char* kWave =
    R"svg(<path d="M6 32h8l5-16 8 34 7-28 6 18 5-8h13" fill="none" stroke="#fff" stroke-width="5" stroke-linejoin="round" stroke-linecap="round"/>)svg";
// A film frame passing into a box unchanged: streams kept as they are.
const char* kRewrap =
    R"svg(<rect x="6" y="14" width="26" height="20" rx="2"/><rect x="10" y="18" width="18" height="12" class="c"/>
<path d="M34 24h8v-5l9 9-9 9v-5h-8z"/><rect x="14" y="40" width="36" height="16" rx="3"/><path d="M24 48l5 4 9-8" class="s" stroke-width="3"/>)svg";
// A wide screen with a play mark and a spark: the formats of today's players.
const char* kModernScreen =
    R"svg(<rect x="6" y="14" width="52" height="32" rx="4"/><path d="M27 22l12 8-12 8z" class="c"/>
<rect x="22" y="50" width="20" height="4" rx="2"/><path d="M50 4l2.5 6 6 2.5-6 2.5-2.5 6-2.5-6-6-2.5 6-2.5z"/>)svg";
} // namespace glyph

struct Picture {
    const char* top;
    const char* bottom;
    const char* glyph;
};

// Pictures 1 to 41. Headings that share a picture share a number.
const Picture kPictures[kCategoryPictureCount] = {
    {"#8e9eab", "#4b5866", glyph::kClickWheelPlayer}, // 1 iPod
    {"#5d6d7e", "#2c3a47", glyph::kSetTopBox},        // 2 Apple TV
    {"#e67e22", "#a04000", glyph::kWidePlayer},       // 3 Archos
    {"#16a085", "#0b5345", glyph::kPlayButton},       // 4
    {"#e74c3c", "#922b21", glyph::kFlash},            // 5 Flash Video
    {"#8e44ad", "#4a235a", glyph::kNote},             // 6 audio formats
    {"#2980b9", "#154360", glyph::kDisc},             // 7
    {"#c0392b", "#641e16", glyph::kWidePlayer},       // 8 Gigabeat
    {"#27ae60", "#145a32", glyph::kSmartphone},       // 9 Gphone
    {"#34495e", "#17202a", glyph::kSmartphone},       // 10 iPhone
    {"#2c3e50", "#0b1014", glyph::kKeyboardPhone},    // 11 BlackBerry
    {"#3498db", "#1b4f72", glyph::kClassicPhone},     // 12 mobile phone
    {"#d35400", "#6e2c00", glyph::kMonitor},          // 13
    {"#1abc9c", "#0e6655", glyph::kFilmStrip},        // 14
    {"#1f3a93", "#0b1a4a", glyph::kHandheld},         // 15 PSP
    {"#f39c12", "#9a5b00", glyph::kSquirclePlayer},   // 16 Sansa
    {"#b03a2e", "#5b1b14", glyph::kPlayerWithPhones}, // 17 Walkman
    {"#7f8c8d", "#3d4545", glyph::kRemote},           // 18 Wii
    {"#9b59b6", "#512e5f", glyph::kCamera},           // 19
    {"#58a832", "#2a5a12", glyph::kGamepad},          // 20 Xbox 360
    {"#cb4335", "#6e1f17", glyph::kClickWheelPlayer}, // 21 Creative Zen
    {"#a04000", "#4d1f00", glyph::kSquirclePlayer},   // 22 Zune
    {"#117864", "#073b32", glyph::kSpeaker},          // 23
    {"#2e86c1", "#17425f", glyph::kWave},             // 24
    {"#ca6f1e", "#6a3a10", glyph::kDisc},             // 25
    {"#5b2c6f", "#2b1435", glyph::kFilmStrip},        // 26
    {"#148f77", "#0a473b", glyph::kMonitor},          // 27
    {"#b7950b", "#5e4d06", glyph::kCamera},           // 28
    {"#6c3483", "#361a42", glyph::kPlayButton},       // 29
    {"#1f618d", "#0f3047", glyph::kClassicPhone},     // 30 Nokia
    {"#2874a6", "#123650", glyph::kPda},              // 31 iRiver, Windows Mobile
    {"#239b56", "#11492a", glyph::kNote},             // 32
    {"#a93226", "#541912", glyph::kSpeaker},          // 33
    {"#7d3c98", "#3e1e4c", glyph::kWave},             // 34
    {"#2471a3", "#113851", glyph::kHandheld},         // 35
    {"#af601a", "#57300d", glyph::kGamepad},          // 36
    {"#1e8449", "#0f4224", glyph::kRemote},           // 37
    {"#212f3d", "#000000", glyph::kGamepad},          // 38 PS3
    {"#566573", "#2a3239", glyph::kSetTopBox},        // 39
    {"#a569bd", "#52345e", glyph::kPlayerWithPhones}, // 40
    {"#cd6155", "#67302a", glyph::kFilmStrip},        // 41 video formats
    {"#27ae60", "#0e5e30", glyph::kRewrap},           // 42 keep quality
    {"#2e86de", "#0c3d73", glyph::kModernScreen},     // 43 today's formats
};

} // namespace

QString TileSvg(const char* top, const char* bottom, const char* motif) {
    return QStringLiteral(
               "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 64 64' width='64' height='64'>"
               "<defs><linearGradient id='g' x1='0' y1='0' x2='0' y2='1'>"
               "<stop offset='0' stop-color='%1'/><stop offset='1' "
               "stop-color='%2'/></linearGradient>"
               "<style>.c{fill:%2}.s{stroke:%2;fill:none;stroke-linecap:round}</style></defs>"
               "<rect x='1' y='1' width='62' height='62' rx='14' fill='url(#g)'/>"
               "<g fill='#ffffff'>%3</g></svg>")
        .arg(QLatin1String(top), QLatin1String(bottom), QLatin1String(motif));
}

QIcon SvgIcon(const QString& svg) {
    return QIcon(new SvgIconEngine(svg.toUtf8()));
}

QString CategoryPictureSvg(int picture) {
    if (picture < 1 || picture > kCategoryPictureCount) return {};
    const Picture& p = kPictures[picture - 1];
    return TileSvg(p.top, p.bottom, p.glyph);
}

QIcon CategoryPicture(int picture) {
    static QHash<int, QIcon> cache;
    if (picture < 1 || picture > kCategoryPictureCount) return {};
    auto it = cache.find(picture);
    if (it != cache.end()) return *it;
    return *cache.insert(picture, SvgIcon(CategoryPictureSvg(picture)));
}

} // namespace vx

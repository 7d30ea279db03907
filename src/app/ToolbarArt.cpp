#include "ToolbarArt.h"

#include "CategoryArt.h"

namespace vx {

namespace {

struct Art {
    const char* top;
    const char* bottom;
    const char* glyph;
};

const Art kArt[] = {
    // Add Files: a page with a plus
    {"#2e86c1", "#1b4f72",
     R"svg(<path d="M16 8h22l10 10v38H16z"/><path d="M38 8v10h10" class="c"/><path d="M32 26v22M21 37h22" stroke-width="6" class="s"/>)svg"},
    // Remove File: a page with a minus
    {"#cb4335", "#78281f",
     R"svg(<path d="M16 8h22l10 10v38H16z"/><path d="M38 8v10h10" class="c"/><path d="M21 37h22" stroke-width="6" class="s"/>)svg"},
    // Clear All: a broom over stacked pages
    {"#ca6f1e", "#6e3b0f",
     R"svg(<rect x="12" y="14" width="30" height="36" rx="3" opacity=".55"/><rect x="20" y="10" width="30" height="36" rx="3"/><path d="M24 30l18 18M42 30L24 48" stroke-width="5" class="s"/>)svg"},
    // Settings: a cog
    {"#566573", "#212f3d",
     R"svg(<path d="M28 6h8l1.5 7 5 2.2 6-4 5.6 5.6-4 6 2.2 5 7 1.5v8l-7 1.5-2.2 5 4 6-5.6 5.6-6-4-5 2.2-1.5 7h-8l-1.5-7-5-2.2-6 4-5.6-5.6 4-6-2.2-5-7-1.5v-8l7-1.5 2.2-5-4-6 5.6-5.6 6 4 5-2.2z"/><circle cx="32" cy="32" r="8" class="c"/>)svg"},
    // CONVERT NOW: two arrows in a circle
    {"#28b463", "#145a32",
     R"svg(<path d="M14 30a18 18 0 0 1 32-11l4-4v14H36l5-5a12 12 0 0 0-21 6z"/><path d="M50 34a18 18 0 0 1-32 11l-4 4V35h14l-5 5a12 12 0 0 0 21-6z"/>)svg"},
    // Help: a question mark
    {"#8e44ad", "#4a235a",
     R"svg(<path d="M22 24a10 10 0 1 1 14 9c-3 1.5-4 3-4 6v3" fill="none" stroke="#fff" stroke-width="6" stroke-linecap="round"/><circle cx="32" cy="51" r="4"/>)svg"},
    // EXIT: a door with an arrow
    {"#7b241c", "#3b0f0b",
     R"svg(<path d="M12 8h26v48H12z"/><circle cx="31" cy="33" r="2.5" class="c"/><path d="M40 32h16M49 24l8 8-8 8" fill="none" stroke="#fff" stroke-width="5" stroke-linecap="round" stroke-linejoin="round"/>)svg"},
};

} // namespace

QIcon ToolbarIcon(ToolbarPicture picture) {
    const Art& art = kArt[static_cast<int>(picture)];
    return SvgIcon(TileSvg(art.top, art.bottom, art.glyph));
}

} // namespace vx

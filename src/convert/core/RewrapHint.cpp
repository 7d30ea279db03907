#include "RewrapHint.h"

#include "Catalog.h"
#include "ModernCommand.h"

#include <algorithm>

namespace vx {

namespace {

bool ReencodesToMp4(int position) {
    const CatalogEntry* entry = ProfileCatalog::At(position);
    if (!entry || entry->kind != EntryKind::Profile) return false;
    if (const auto kind = ModernKindOf(position))
        return *kind == ModernKind::H264 || *kind == ModernKind::H265;
    return OutputExtension(entry->text) == ".mp4";
}

} // namespace

bool RewrapPays(int position, const std::vector<StreamFormats>& rows) {
    return !rows.empty() && ReencodesToMp4(position) &&
           std::all_of(rows.begin(), rows.end(), FitsMp4);
}

const char* RewrapHintText() {
    return "Tip: every file in the list can be put into MP4 as it is, without re-encoding: no "
           "loss of quality, and done in seconds. Choose \"Same streams, MP4 or Matroska\" under "
           "\"Keep quality (no re-encoding)\" near the end of the Profile list.";
}

bool RewrapHint::Due(int position, const std::vector<std::uint64_t>& ids,
                     const std::vector<StreamFormats>& rows) {
    if (ids == givenFor_ || !RewrapPays(position, rows)) return false;
    givenFor_ = ids;
    return true;
}

} // namespace vx

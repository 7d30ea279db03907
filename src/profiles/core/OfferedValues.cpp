#include "OfferedValues.h"

#include "Catalog.h"
#include "OptionSets.h"
#include "SheetLayout.h"

#include <map>
#include <set>
#include <string>

namespace vx {

namespace {

using Values = std::set<std::string, std::less<>>;
using ValueMap = std::map<std::string, Values, std::less<>>;

// What a sheet fresh from the default layout offers once the position's set is
// applied (position 0: the default layout alone), by the caption of each item
// the user may set.
ValueMap SheetOffers(int position) {
    OptionSheet sheet;
    FillDefaultLayout(sheet);
    ApplySetCells(sheet, position);
    ValueMap values;
    for (const auto& group : sheet.Groups())
        for (const auto& item : group->items) {
            if (item->kind != ItemKind::Choice || item->readOnly) continue;
            Values& offered = values[item->caption];
            offered.insert(item->value);
            offered.insert(item->choices.begin(), item->choices.end());
        }
    return values;
}

// The first 92 entries share what any of their sets offers: their sets
// accumulate on the sheet.
const ValueMap& FirstEntriesValues() {
    static const ValueMap values = [] {
        ValueMap all;
        for (int position = 0; position <= ProfileCatalog::kCount; ++position)
            for (auto& [caption, offered] : SheetOffers(position))
                all[caption].merge(offered);
        return all;
    }();
    return values;
}

// Each later entry offers its own (its headings take their first profile's).
const std::map<int, ValueMap>& LaterEntriesValues() {
    static const std::map<int, ValueMap> values = [] {
        std::map<int, ValueMap> map;
        for (int position = ProfileCatalog::kCount + 1; position <= ProfileCatalog::kEntryCount;
             ++position)
            map.emplace(position, SheetOffers(position));
        return map;
    }();
    return values;
}

bool Holds(const ValueMap& values, std::string_view caption, std::string_view value) {
    const auto found = values.find(caption);
    return found != values.end() && found->second.count(value) > 0;
}

} // namespace

bool IsSettableOption(std::string_view caption) {
    if (FirstEntriesValues().count(caption) > 0) return true;
    for (const auto& [position, values] : LaterEntriesValues())
        if (values.count(caption) > 0) return true;
    return false;
}

bool OffersValue(int position, std::string_view caption, std::string_view value) {
    const auto& later = LaterEntriesValues();
    const auto own = later.find(position);
    return Holds(own != later.end() ? own->second : FirstEntriesValues(), caption, value);
}

bool OnlyLaterEntriesOffer(std::string_view caption, std::string_view value) {
    if (Holds(FirstEntriesValues(), caption, value)) return false;
    for (const auto& [position, values] : LaterEntriesValues())
        if (Holds(values, caption, value)) return true;
    return false;
}

} // namespace vx

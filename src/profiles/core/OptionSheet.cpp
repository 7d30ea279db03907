#include "OptionSheet.h"

namespace vx {

void OptionSheet::ClearGroups() {
    groups_.clear();
    Notify(nullptr);
}

OptionGroup* OptionSheet::AddGroup(std::string caption) {
    auto group = std::make_unique<OptionGroup>();
    group->caption = std::move(caption);
    groups_.push_back(std::move(group));
    Notify(nullptr);
    return groups_.back().get();
}

OptionGroup* OptionSheet::FindGroup(std::string_view caption) const {
    for (const auto& group : groups_)
        if (group->caption == caption) return group.get();
    return nullptr;
}

OptionItem* OptionSheet::AddItem(OptionGroup* group, std::string caption, std::string value,
                                 ItemKind kind) {
    if (!group) return nullptr;
    auto item = std::make_unique<OptionItem>();
    item->caption = std::move(caption);
    item->value = std::move(value);
    item->kind = kind;
    group->items.push_back(std::move(item));
    Notify(nullptr);
    return group->items.back().get();
}

OptionItem* OptionSheet::FindItem(const OptionGroup* group, std::string_view caption) {
    if (!group) return nullptr;
    for (const auto& item : group->items)
        if (item->caption == caption) return item.get();
    return nullptr;
}

std::string OptionSheet::GetValue(const OptionItem* item) {
    return item ? item->value : std::string();
}

bool OptionSheet::SetValue(OptionItem* item, std::string value) {
    if (!item) return false;
    item->value = std::move(value);
    Notify(item);
    return true;
}

bool OptionSheet::ClearChoices(OptionItem* item) {
    if (!item) return false;
    item->choices.clear();
    Notify(item);
    return true;
}

bool OptionSheet::AddChoice(OptionItem* item, std::string choice) {
    if (!item) return false;
    item->choices.push_back(std::move(choice));
    Notify(item);
    return true;
}

bool OptionSheet::SetReadOnly(OptionItem* item) {
    if (!item) return false;
    item->readOnly = true;
    Notify(item);
    return true;
}

bool OptionSheet::SetCaption(OptionItem* item, std::string caption) {
    if (!item) return false;
    if (item->caption == caption) return true;
    item->caption = std::move(caption);
    Notify(item);
    return true;
}

OptionItem* OptionSheet::Find(std::string_view group, std::string_view item) const {
    return FindItem(FindGroup(group), item);
}

} // namespace vx

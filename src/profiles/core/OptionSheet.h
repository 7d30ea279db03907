#pragma once
// The grouped grid of captioned items behind the option sheet. Groups and
// items are found by caption (compared exactly); every value is text.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

enum class ItemKind { Text, Choice };

struct OptionItem {
    std::string caption;
    ItemKind kind = ItemKind::Text;
    std::string value;
    std::vector<std::string> choices; // duplicates allowed, in the order added
    bool readOnly = false;
};

struct OptionGroup {
    std::string caption;
    std::vector<std::unique_ptr<OptionItem>> items;
};

class OptionSheet {
  public:
    // Told of every change: the item that changed, or nullptr when groups or items were added or
    // removed.
    using Listener = std::function<void(const OptionItem*)>;

    void ClearGroups();
    OptionGroup* AddGroup(std::string caption);
    // The group or item with that caption, or nullptr. A lookup in a missing group finds nothing.
    OptionGroup* FindGroup(std::string_view caption) const;
    OptionItem* AddItem(OptionGroup* group, std::string caption, std::string value, ItemKind kind);
    static OptionItem* FindItem(const OptionGroup* group, std::string_view caption);

    // Each operation on a missing item does nothing and answers false.
    static std::string GetValue(const OptionItem* item);
    bool SetValue(OptionItem* item, std::string value);
    bool ClearChoices(OptionItem* item);
    bool AddChoice(OptionItem* item, std::string choice);
    bool SetReadOnly(OptionItem* item);
    // The caption the item is shown and found by from now on.
    bool SetCaption(OptionItem* item, std::string caption);

    // Finds group and item in one go.
    OptionItem* Find(std::string_view group, std::string_view item) const;

    const std::vector<std::unique_ptr<OptionGroup>>& Groups() const { return groups_; }
    void SetListener(Listener listener) { listener_ = std::move(listener); }

  private:
    void Notify(const OptionItem* item) const {
        if (listener_) listener_(item);
    }
    std::vector<std::unique_ptr<OptionGroup>> groups_;
    Listener listener_;
};

} // namespace vx

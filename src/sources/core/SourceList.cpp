#include "SourceList.h"

#include <iterator>
#include <utility>

namespace vx {

template <typename Member, typename... Args>
void SourceList::Tell(Member member, Args... args) const {
    if (listener_.*member) (listener_.*member)(args...);
    for (const Listener& other : others_)
        if (other.*member) (other.*member)(args...);
}

std::uint64_t SourceList::Append(const std::string& path, std::string root) {
    const int row = Count();
    Tell(&Listener::beforeInsert, row);
    SourceItem item;
    item.id = nextId_++;
    item.columns[kFileName] = path;
    item.root = std::move(root);
    rows_.push_back(std::move(item));
    Tell(&Listener::afterInsert, row);
    return rows_.back().id;
}

int SourceList::RowOf(std::uint64_t id) const {
    for (int row = 0; row < Count(); ++row)
        if (rows_[static_cast<std::size_t>(row)].id == id) return row;
    return -1;
}

bool SourceList::Set(std::uint64_t id, Column column, std::string text) {
    return SetAt(RowOf(id), column, std::move(text));
}

bool SourceList::SetAt(int row, Column column, std::string text) {
    if (row < 0 || row >= Count() || column < 0 || column >= kColumnCount) return false;
    std::string& cell = rows_[static_cast<std::size_t>(row)].columns[column];
    if (cell == text) return true; // the same text: the views have nothing to show again
    cell = std::move(text);
    Tell(&Listener::changed, row, static_cast<int>(column));
    return true;
}

bool SourceList::SetAudioFormat(std::uint64_t id, std::string format) {
    const int row = RowOf(id);
    if (row < 0) return false;
    rows_[static_cast<std::size_t>(row)].audioFormat = std::move(format);
    Tell(&Listener::changed, row, static_cast<int>(kFormat));
    return true;
}

bool SourceList::SetNote(std::uint64_t id, std::string note) {
    const int row = RowOf(id);
    if (row < 0) return false;
    std::string& kept = rows_[static_cast<std::size_t>(row)].note;
    if (kept == note) return true;
    kept = std::move(note);
    Tell(&Listener::changed, row, static_cast<int>(kStatus));
    return true;
}

bool SourceList::SetUnreadable(std::uint64_t id, std::string reason) {
    const int row = RowOf(id);
    if (row < 0) return false;
    rows_[static_cast<std::size_t>(row)].unreadable = reason;
    SetAt(row, kStatus, kUnreadable);
    return SetNote(id, std::move(reason));
}

const std::string& SourceList::At(int row, Column column) const {
    return rows_.at(static_cast<std::size_t>(row)).columns.at(static_cast<std::size_t>(column));
}

bool SourceList::Remove(int row) {
    if (row < 0 || row >= Count()) return false;
    Tell(&Listener::beforeRemove, row);
    rows_.erase(rows_.begin() + row);
    Tell(&Listener::afterRemove, row);
    return true;
}

void SourceList::Clear() {
    if (rows_.empty()) return;
    Tell(&Listener::beforeReset);
    cleared_ = std::exchange(rows_, {});
    Tell(&Listener::afterReset);
}

bool SourceList::UndoClear() {
    if (cleared_.empty()) return false;
    Tell(&Listener::beforeReset);
    std::vector<SourceItem> rows = std::exchange(cleared_, {});
    rows.insert(rows.end(), std::make_move_iterator(rows_.begin()),
                std::make_move_iterator(rows_.end()));
    rows_ = std::move(rows);
    Tell(&Listener::afterReset);
    return true;
}

} // namespace vx

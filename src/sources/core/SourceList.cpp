#include "SourceList.h"

#include "TimeText.h"

#include <algorithm>
#include <filesystem>
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
    if (!indexStale_) index_.emplace(rows_.back().id, row);
    Tell(&Listener::afterInsert, row);
    return rows_.back().id;
}

// Every probe's report and every batch step finds its row by id: an index, made
// again after rows moved, keeps that from growing with the list.
int SourceList::RowOf(std::uint64_t id) const {
    if (indexStale_) {
        index_.clear();
        for (int row = 0; row < Count(); ++row)
            index_.emplace(rows_[static_cast<std::size_t>(row)].id, row);
        indexStale_ = false;
    }
    const auto found = index_.find(id);
    return found == index_.end() ? -1 : found->second;
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
    indexStale_ = true;
    Tell(&Listener::afterRemove, row);
    return true;
}

std::string JoinedName(const SourceItem& item) {
    const auto name = [](const std::string& path) {
        return std::filesystem::path(path).filename().string();
    };
    if (!item.Joined()) return name(item.columns[kFileName]);
    return name(item.parts.front().columns[kFileName]) + " + " +
           std::to_string(item.parts.size() - 1) + " more";
}

std::uint64_t SourceList::Join(std::vector<int> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::erase_if(rows, [this](int row) { return row < 0 || row >= Count(); });
    if (rows.size() < 2) return 0;
    SourceItem joined;
    joined.id = nextId_++;
    int seconds = 0;
    bool known = true;
    for (const int row : rows) {
        const SourceItem& item = rows_[static_cast<std::size_t>(row)];
        for (SourceItem part : item.Joined() ? item.parts : std::vector<SourceItem>{item}) {
            part.columns[kStatus].clear();
            part.note.clear();
            if (!part.unreadable.empty()) part.columns[kStatus] = kUnreadable;
            const auto start = ReadTimeOfDay(part.columns[kStart]);
            const auto end = ReadTimeOfDay(part.columns[kEnd]);
            known = known && start && end;
            if (start && end) seconds += std::max(0, *end - *start);
            joined.parts.push_back(std::move(part));
        }
    }
    const SourceItem& first = joined.parts.front();
    joined.columns = first.columns;
    joined.columns[kStart] = TimeText(0);
    joined.columns[kEnd] = joined.columns[kVideoTime] = known ? TimeText(seconds) : "";
    joined.columns[kStatus].clear();
    joined.audioFormat = first.audioFormat;
    joined.root = first.root;
    Tell(&Listener::beforeReset);
    for (auto row = rows.rbegin(); row != rows.rend(); ++row)
        rows_.erase(rows_.begin() + *row);
    rows_.insert(rows_.begin() + rows.front(), std::move(joined));
    indexStale_ = true;
    Tell(&Listener::afterReset);
    return rows_[static_cast<std::size_t>(rows.front())].id;
}

bool SourceList::Split(int row) {
    if (row < 0 || row >= Count() || !Row(row).Joined()) return false;
    Tell(&Listener::beforeReset);
    std::vector<SourceItem> parts = std::move(rows_[static_cast<std::size_t>(row)].parts);
    rows_.erase(rows_.begin() + row);
    rows_.insert(rows_.begin() + row, std::make_move_iterator(parts.begin()),
                 std::make_move_iterator(parts.end()));
    indexStale_ = true;
    Tell(&Listener::afterReset);
    return true;
}

void SourceList::Clear() {
    if (rows_.empty()) return;
    Tell(&Listener::beforeReset);
    cleared_ = std::exchange(rows_, {});
    indexStale_ = true;
    Tell(&Listener::afterReset);
}

bool SourceList::UndoClear() {
    if (cleared_.empty()) return false;
    Tell(&Listener::beforeReset);
    std::vector<SourceItem> rows = std::exchange(cleared_, {});
    rows.insert(rows.end(), std::make_move_iterator(rows_.begin()),
                std::make_move_iterator(rows_.end()));
    rows_ = std::move(rows);
    indexStale_ = true;
    Tell(&Listener::afterReset);
    return true;
}

} // namespace vx

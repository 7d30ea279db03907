#pragma once
// The rows of the source list: one Flash Video file each, seven text columns.
// The rows are the only store of per-file data.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace vx {

enum Column : int {
    kFileName = 0,
    kStart = 1,
    kEnd = 2,
    kSize = 3,
    kFormat = 4,
    kStatus = 5,
    kVideoTime = 6,
    kColumnCount = 7
};

inline constexpr std::array<const char*, kColumnCount> kColumnCaptions = {
    "File Name", "Start", "End", "Size", "Format", "Status", "Video Time"};

// The "Size" of a file with sound and no picture, and the "Status" of a file
// the player cannot read.
inline constexpr const char* kSoundOnly = "sound only";
inline constexpr const char* kUnreadable = "Unreadable";

struct SourceItem {
    std::uint64_t id = 0; // stays with the row while others come and go
    std::array<std::string, kColumnCount> columns;
    std::string note;        // what the last conversion of the row had to say (why it failed)
    std::string unreadable;  // why the player cannot read the file; empty when it can
    std::string audioFormat; // the sound's format as the probe found it; empty: none
    std::string root;        // the folder it was added with; empty: added on its own
    // A joined row: its parts in order, each as its row was (its clip kept). The
    // row itself shows the first part's path, the parts' whole length and no clip.
    std::vector<SourceItem> parts;
    bool Joined() const { return !parts.empty(); }
};

// "part1.flv + 3 more": how a joined row names itself.
std::string JoinedName(const SourceItem& item);

class SourceList {
  public:
    // What changed: rows inserted, removed or reset, or one cell.
    struct Listener {
        std::function<void(int row)> beforeInsert, afterInsert;
        std::function<void(int row)> beforeRemove, afterRemove;
        std::function<void()> beforeReset, afterReset;
        std::function<void(int row, int column)> changed;
    };

    // Appends a row whose text is the path, added with the folder `root` (empty:
    // on its own); gives its id.
    std::uint64_t Append(const std::string& path, std::string root = {});
    // The row with that id, or -1 when it was removed meanwhile.
    int RowOf(std::uint64_t id) const;
    bool Set(std::uint64_t id, Column column, std::string text);
    bool SetAt(int row, Column column, std::string text);
    bool SetNote(std::uint64_t id, std::string note);
    // The player cannot read the file: the row says so and keeps the reason.
    bool SetUnreadable(std::uint64_t id, std::string reason);
    bool SetAudioFormat(std::uint64_t id, std::string format);
    const std::string& At(int row, Column column) const;
    bool Remove(int row);
    // The rows (two or more; joined rows give their parts) become one joined row
    // at the place of the first; gives its id, or 0 when fewer than two rows.
    std::uint64_t Join(std::vector<int> rows);
    // A joined row becomes its parts again, in its place; false for another row.
    bool Split(int row);
    // Removes every row; the rows are kept, so that one UndoClear brings them back.
    // Clearing an empty list keeps what an earlier clear left to undo.
    void Clear();
    bool CanUndoClear() const { return !cleared_.empty(); }
    // Puts the rows of the last clear back, as they were and with their ids, before
    // any row added since; false when there is nothing to bring back.
    bool UndoClear();

    int Count() const { return static_cast<int>(rows_.size()); }
    const SourceItem& Row(int row) const { return rows_.at(static_cast<std::size_t>(row)); }
    void SetListener(Listener listener) { listener_ = std::move(listener); }
    // A further observer, told after the listener.
    void AddListener(Listener listener) { others_.push_back(std::move(listener)); }

  private:
    std::vector<SourceItem> rows_;
    std::vector<SourceItem> cleared_; // what the last clear took away
    std::uint64_t nextId_ = 1;
    Listener listener_;
    std::vector<Listener> others_;
    mutable std::unordered_map<std::uint64_t, int> index_; // id -> row, see RowOf
    mutable bool indexStale_ = true;
    template <typename Member, typename... Args> void Tell(Member member, Args... args) const;
};

} // namespace vx

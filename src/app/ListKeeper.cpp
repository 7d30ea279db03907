#include "ListKeeper.h"

#include "SheetLayout.h"
#include "UserFolders.h"

namespace vx {

ListKeeper::ListKeeper(SourceList& rows, OptionSheet& sheet, std::function<int()> entry,
                       const std::string& folder)
    : rows_(rows), sheet_(sheet), entry_(std::move(entry)), file_(folder), folder_(folder) {
    timer_.setSingleShot(true);
    timer_.setInterval(kDelayMilliseconds);
    connect(&timer_, &QTimer::timeout, this, &ListKeeper::SaveNow);
    // The rows may outlive this keeper: its listener then does nothing.
    auto changed = [this, alive = std::weak_ptr<int>(alive_)] {
        if (!alive.expired()) Changed();
    };
    SourceList::Listener listener;
    listener.afterInsert = listener.afterRemove = [changed](int) { changed(); };
    listener.afterReset = changed;
    listener.changed = [changed](int, int) { changed(); };
    rows_.AddListener(std::move(listener));
}

void ListKeeper::OnProblem(
    std::function<void(const std::string& folder, const std::string& reason)> tell) {
    tell_ = std::move(tell);
    auto once = [this](const std::string& reason) {
        if (told_ || !tell_) return;
        told_ = true;
        tell_(folder_, reason);
    };
    file_.OnFailure([this, once](const std::string& reason) {
        QMetaObject::invokeMethod(
            this, [once, reason] { once(reason); }, Qt::QueuedConnection);
    });
    if (const std::string problem = FolderWriteProblem(folder_); !problem.empty()) once(problem);
}

void ListKeeper::Changed() {
    if (!timer_.isActive()) timer_.start();
}

void ListKeeper::RowWriting(std::uint64_t id, const WorkingFile& working,
                            const std::string& folder) {
    running_.push_back({id, working, folder});
    Changed();
}

void ListKeeper::RowEnded(std::uint64_t id) {
    std::erase_if(running_, [id](const RunningOutput& output) { return output.id == id; });
    Changed();
}

void ListKeeper::SaveNow() {
    timer_.stop();
    KeptState state;
    state.entry = entry_();
    state.sheet = SheetValues(sheet_);
    state.rows = SnapshotRows(rows_, running_);
    file_.Save(std::move(state));
}

void ListKeeper::Discard() {
    timer_.stop();
    file_.Discard();
}

void ListKeeper::Closed() {
    if (running_.empty()) {
        Discard();
        return;
    }
    SaveNow();
    file_.WaitUntilWritten();
}

void ListKeeper::Interrupted() {
    SaveNow();
    file_.WaitUntilWritten();
}

std::vector<KeptSheetValue> SheetValues(const OptionSheet& sheet) {
    std::vector<KeptSheetValue> values;
    for (const auto& group : sheet.Groups())
        for (const auto& item : group->items)
            if (!item->readOnly) values.push_back({group->caption, item->caption, item->value});
    return values;
}

void SetSheetValues(OptionSheet& sheet, const std::vector<KeptSheetValue>& values) {
    for (const KeptSheetValue& value : values)
        if (OptionItem* item = FindOption(sheet, value.group, value.item); item && !item->readOnly)
            sheet.SetValue(item, value.value);
}

} // namespace vx

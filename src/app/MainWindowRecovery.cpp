// The kept list in the main window: offering the lists of programs that ended
// abnormally, then keeping this window's own.
#include "Catalog.h"
#include "Desktop.h"
#include "ListKeeper.h"
#include "MainWindow.h"
#include "OptionSets.h"
#include "ProfileChooser.h"
#include "PropertyGrid.h"
#include "SheetLayout.h"

#include <QAbstractItemModel>

namespace vx {

void MainWindow::KeepList(const std::string& folder) {
    if (keeper_) return;
    OfferKeptLists(folder);
    keeper_ = std::make_unique<ListKeeper>(
        sources_, sheet_, [this] { return chooser_->SelectedPosition(); }, folder);
    ListKeeper* keeper = keeper_.get();
    auto changed = [keeper] { keeper->Changed(); };
    connect(chooser_, &ProfileChooser::entryPicked, keeper, changed);
    QAbstractItemModel* model = grid_->model();
    connect(model, &QAbstractItemModel::dataChanged, keeper, changed);
    connect(model, &QAbstractItemModel::modelReset, keeper, changed);
    connect(model, &QAbstractItemModel::rowsInserted, keeper, changed);
    keeper_->OnProblem([this](const std::string& where, const std::string& reason) {
        desktop_.ShowMessage(
            this, MessageIcon::Warning,
            QStringLiteral("The list will not survive a crash: it cannot be kept "
                           "in %1 (%2). Converting works as usual.")
                .arg(QString::fromStdString(where), QString::fromStdString(reason)));
    });
    keeper_->Changed();
}

// Asks once about the lists of programs that are no longer running; the working
// files their encoders were writing are removed first, where still theirs.
void MainWindow::OfferKeptLists(const std::string& folder) {
    std::vector<OrphanList> lists = ClaimOrphanLists(folder);
    const RecoveryPlan plan = PlanRecovery(lists);
    if (plan.total == 0) {
        FinishOrphans(lists, false);
        return;
    }
    const CleanUp cleanUp = RemoveHalfWritten(plan);
    const bool restore =
        desktop_.Confirm(this, QString::fromStdString(RecoveryQuestion(plan, cleanUp)));
    if (restore) {
        if (ProfileCatalog::At(plan.entry) && !ProfileCatalog::IsHeading(plan.entry)) {
            chooser_->SelectPosition(plan.entry);
            ApplyOptionSet(sheet_, plan.entry);
        }
        SetSheetValues(sheet_, plan.sheet);
        auto append = [this](const auto& row, const std::string& root) {
            const std::uint64_t id = sources_.Append(row.columns[kFileName], root);
            for (int column = kStart; column < kColumnCount; ++column)
                sources_.Set(id, static_cast<Column>(column), row.columns[column]);
            sources_.SetAudioFormat(id, row.audioFormat);
            if (!row.unreadable.empty()) sources_.SetUnreadable(id, row.unreadable);
        };
        for (const KeptRow& row : plan.restore) {
            if (row.parts.empty()) {
                append(row, row.root);
                continue;
            }
            std::vector<int> parts; // a joined row is joined again from its parts
            for (const KeptPart& part : row.parts) {
                parts.push_back(sources_.Count());
                append(part, row.root);
            }
            sources_.Join(parts);
        }
    }
    FinishOrphans(lists, !restore);
}

} // namespace vx

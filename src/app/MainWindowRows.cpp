// The main window's commands on chosen rows: the rows that did not convert
// converted again, converted rows taken away, parts joined into one file and
// split again, and the log of the last batch.
#include "BatchLog.h"
#include "BatchRun.h"
#include "Desktop.h"
#include "MainWindow.h"
#include "PreviewPanel.h"
#include "SourceListView.h"
#include "WindowBatchView.h"

#include <QAction>
#include <QFileInfo>
#include <QItemSelectionModel>

namespace vx {

void MainWindow::ConvertFailedAgain() {
    if (batch_->Running() || batchBusy_ || probing_ > 0) return;
    std::vector<std::uint64_t> redo = batch_->RowsToRedo();
    if (redo.empty()) return;
    preview_->Halt();
    if (batch_->StartOnly(std::move(redo))) batchView_->Follow(*batch_);
}

void MainWindow::RemoveConvertedRows() {
    if (batchBusy_) return;
    for (int row = sources_.Count() - 1; row >= 0; --row)
        if (sources_.At(row, kStatus) == "OK") sources_.Remove(row);
    UpdateCommandStates();
}

void MainWindow::ShowBatchLog() {
    const QString log = QString::fromStdString(BatchLogPath());
    if (!QFileInfo(log).isFile()) {
        desktop_.ShowMessage(this, MessageIcon::Information,
                             QStringLiteral("No batch has been converted yet: there is no log."));
        return;
    }
    desktop_.OpenFolder(log);
}

void MainWindow::JoinSelectedRows() {
    if (batchBusy_) return;
    const std::vector<int> rows = listView_->SelectedRows();
    if (rows.size() < 2) return;
    const std::uint64_t id = sources_.Join(rows);
    if (id != 0) listView_->setCurrentIndex(listView_->model()->index(sources_.RowOf(id), 0));
    UpdateCommandStates();
}

void MainWindow::SplitSelectedRow() {
    if (batchBusy_) return;
    const std::vector<int> rows = listView_->SelectedRows();
    if (rows.size() == 1) sources_.Split(rows.front());
    UpdateCommandStates();
}

// What the commands on chosen rows apply to now.
void MainWindow::UpdateRowCommandStates() {
    if (!popup_ || !batch_ || !listView_) return; // still being built
    const bool idle = !batchBusy_ && !batch_->Running();
    const std::vector<int> selected = listView_->SelectedRows();
    bool anyConverted = false;
    for (int row = 0; row < sources_.Count(); ++row)
        anyConverted = anyConverted || sources_.At(row, kStatus) == "OK";
    const bool join = idle && selected.size() >= 2;
    const bool split = idle && selected.size() == 1 && sources_.Row(selected.front()).Joined();
    action("ConvertFailedAgain")
        ->setEnabled(idle && probing_ == 0 && !batch_->RowsToRedo().empty());
    action("RemoveConvertedRows")->setEnabled(idle && anyConverted);
    for (const char* name : {"JoinIntoOneFile", "JoinIntoOneFile1"})
        action(name)->setEnabled(join);
    for (const char* name : {"SplitIntoParts", "SplitIntoParts1"})
        action(name)->setEnabled(split);
}

} // namespace vx

// The source list's commands of the main window.
#include "AppFolder.h"
#include "Desktop.h"
#include "MainWindow.h"
#include "NativeNames.h"
#include "PreviewPanel.h"
#include "Probe.h"
#include "ProbePool.h"
#include "SheetLayout.h"
#include "SourceListView.h"

#include <QApplication>
#include <QTimer>
#include <filesystem>

namespace vx {

// The row comes at once; its probe runs in the background and fills it later.
void MainWindow::AddSource(const std::string& path, const std::string& root) {
    const std::uint64_t id = sources_.Append(path, root);
    if (!probes_) {
        probes_ = std::make_unique<ProbePool>(
            WithTrailingSeparator(appFolder_), ProbePool::DefaultWorkers(),
            [this](std::uint64_t row, std::string output) {
                QMetaObject::invokeMethod(
                    this, [this, row, output = std::move(output)] { OnProbed(row, output); },
                    Qt::QueuedConnection);
            });
    }
    ++probing_;
    probes_->Submit(id, path);
    UpdateCommandStates();
}

void MainWindow::OnProbed(std::uint64_t id, const std::string& output) {
    FillRow(sources_, id, output);
    --probing_;
    UpdateCommandStates();
    OfferRewrapHint();
}

void MainWindow::AddFiles() {
    const QStringList chosen =
        desktop_.OpenFiles(this, QStringLiteral("Open Video File"),
                           QStringLiteral(" Flash Video Files (*.flv *.f4v)"));
    std::vector<std::string> paths;
    for (const QString& path : chosen)
        paths.push_back(BytesOfName(RecoverDialogName(path)));
    const SelectedFiles selection = ParseDialogSelection(paths);
    for (int i = 0; i < selection.Count; ++i)
        AddSource(selection.Folder + selection.Names[static_cast<std::size_t>(i)]);
}

void MainWindow::AddDroppedFiles(const QStringList& dropped) {
    AddPaths(ImportProfileFiles(dropped)); // profile files are imported
    unsetCursor();
}

void MainWindow::AddCommandLineFiles(const QStringList& paths) {
    if (paths.isEmpty()) return;
    QStringList absolute;
    for (const QString& path : paths) { // every byte of the name kept
        std::error_code error;
        const auto full = std::filesystem::absolute(BytesOfName(path), error);
        absolute << (error ? path : NameFromBytes(full.lexically_normal().string()));
    }
    QTimer::singleShot(0, this, [this, absolute] { AddDroppedFiles(absolute); });
}

void MainWindow::RemoveSelectedFile() {
    sources_.Remove(listView_->SelectedRow());
}

void MainWindow::ClearAllFiles() {
    sources_.Clear();
    ClearRowFields(sheet_); // no row is shown any more
    UpdateUndoState();
}

// While a batch runs its rows stay as they are.
void MainWindow::UndoClearAll() {
    if (!batchBusy_) sources_.UndoClear();
    UpdateUndoState();
}

void MainWindow::UpdateUndoState() {
    action("UndoClearAll")->setEnabled(sources_.CanUndoClear() && !batchBusy_);
}

void MainWindow::ShowSelectedRow() {
    const int row = listView_->SelectedRow();
    if (sources_.Count() == 0 || row < 0) return;
    using namespace caption;
    preview_->transport().File = sources_.At(row, kFileName);
    sheet_.SetValue(sheet_.Find(kGeneral, kItemName), sources_.At(row, kFileName));
    sheet_.SetValue(sheet_.Find(kOutputDuration, kStartTime), sources_.At(row, kStart));
    sheet_.SetValue(sheet_.Find(kOutputDuration, kStopTime), sources_.At(row, kEnd));
    sheet_.SetValue(sheet_.Find(kOutputDuration, kAllClipDuration), "");
}

} // namespace vx

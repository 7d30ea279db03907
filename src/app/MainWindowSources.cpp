// The source list's commands of the main window.
#include "AppFolder.h"
#include "Desktop.h"
#include "MainWindow.h"
#include "PreviewPanel.h"
#include "Probe.h"
#include "SheetLayout.h"
#include "SourceListView.h"

#include <QApplication>
#include <QTimer>

namespace vx {

void MainWindow::AddSource(const std::string& path) {
    ++probing_;
    UpdateCommandStates();
    AddSourceFile(sources_, WithTrailingSeparator(appFolder_), path,
                  [] { QCoreApplication::processEvents(); });
    --probing_;
    UpdateCommandStates();
}

void MainWindow::AddFiles() {
    const QStringList chosen = desktop_.OpenFiles(this, QStringLiteral("Open Video File"),
                                                  QStringLiteral(" Flash Video Files (*.flv)"));
    std::vector<std::string> paths;
    for (const QString& path : chosen)
        paths.push_back(path.toStdString());
    const SelectedFiles selection = ParseDialogSelection(paths);
    for (int i = 0; i < selection.Count && !closePending_; ++i)
        AddSource(selection.Folder + selection.Names[static_cast<std::size_t>(i)]);
    CloseIfPending();
}

void MainWindow::AddDroppedFiles(const QStringList& paths) {
    for (const QString& path : paths) {
        if (closePending_) break;
        if (!IsFlvName(path.toStdString())) {
            desktop_.ShowMessage(this, MessageIcon::Information,
                                 QStringLiteral("Only FLV files are allowed!"));
            break;
        }
        AddSource(path.toStdString());
    }
    unsetCursor();
    CloseIfPending();
}

void MainWindow::RemoveSelectedFile() {
    sources_.Remove(listView_->SelectedRow());
}

void MainWindow::ClearAllFiles() {
    sources_.Clear();
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

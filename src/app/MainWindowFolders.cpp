// Adding what a drop, the open dialogs or a command line name: folders are
// scanned on a thread of their own and their files enter the list in slices, so
// that the window never waits; other files are named once and left out.
#include "BackgroundScan.h"
#include "Desktop.h"
#include "MainWindow.h"
#include "NativeNames.h"

#include <QElapsedTimer>
#include <QStatusBar>
#include <QTimer>
#include <cstdio>

namespace vx {

namespace {

// A slice of rows ends after this long, so that the window is served in between.
constexpr qint64 kSliceMilliseconds = 20;

} // namespace

// Without a folder among them (and nothing waiting) the files are added at once.
void MainWindow::AddPaths(const QStringList& paths) {
    std::vector<std::string> given;
    bool folder = false;
    for (const QString& path : paths) {
        given.push_back(BytesOfName(path)); // every byte of the name kept
        folder = folder || IsFolder(given.back());
    }
    if (given.empty()) return;
    if (!folder && !adding_) {
        ScanResult result = CollectSources(given);
        for (const FoundFile& file : result.files)
            AddSource(file.path, file.root);
        ReportScan(result);
        return;
    }
    waitingAdds_.push_back(std::move(given));
    if (!adding_) NextAdd();
}

void MainWindow::AddFolder() {
    const QString folder = desktop_.ChooseFolder(this, QStringLiteral("Add Folder"), QString());
    if (!folder.isEmpty()) AddPaths({folder});
}

void MainWindow::NextAdd() {
    if (waitingAdds_.empty()) {
        adding_ = false;
        statusBar()->clearMessage();
        UpdateCommandStates();
        OfferRewrapHint();
        return;
    }
    adding_ = true;
    UpdateCommandStates();
    ShowScanning(0);
    std::vector<std::string> paths = std::move(waitingAdds_.front());
    waitingAdds_.pop_front();
    scan_ = std::make_unique<BackgroundScan>(
        std::move(paths),
        [this](int found) {
            QMetaObject::invokeMethod(
                this, [this, found] { ShowScanning(found); }, Qt::QueuedConnection);
        },
        [this](ScanResult result) {
            QMetaObject::invokeMethod(
                this, [this, result = std::move(result)]() mutable { ScanDone(std::move(result)); },
                Qt::QueuedConnection);
        });
}

void MainWindow::ShowScanning(int found) {
    statusBar()->showMessage(QStringLiteral("Scanning ... %1 files").arg(found));
}

void MainWindow::ScanDone(ScanResult result) {
    scan_.reset(); // its thread has handed over its last word
    scanned_ = std::move(result);
    appended_ = 0;
    AppendSlice();
}

// The probes start as the rows come; the status bar speaks of the scan until the
// last row is in.
void MainWindow::AppendSlice() {
    QElapsedTimer clock;
    clock.start();
    while (appended_ < scanned_.files.size() && clock.elapsed() < kSliceMilliseconds) {
        const FoundFile& file = scanned_.files[appended_++];
        AddSource(file.path, file.root);
    }
    if (appended_ < scanned_.files.size()) {
        QTimer::singleShot(0, this, &MainWindow::AppendSlice);
        return;
    }
    const ScanResult done = std::exchange(scanned_, {});
    statusBar()->clearMessage();
    ReportScan(done);
    NextAdd();
}

// Folders passed over go to the log; files left out are named once.
void MainWindow::ReportScan(const ScanResult& result) {
    for (const std::string& note : result.notes)
        std::fprintf(stderr, "vantorix: %s\n", note.c_str());
    if (!result.refused.empty())
        desktop_.ShowMessage(this, MessageIcon::Information,
                             QString::fromStdString(RefusedSentence(result.refused)));
}

void MainWindow::StopAdding() {
    scan_.reset();
    waitingAdds_.clear();
    scanned_ = {};
    adding_ = false;
}

} // namespace vx

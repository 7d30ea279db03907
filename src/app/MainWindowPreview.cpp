// The preview of the main window and the trimming window's opening.
#include "ClipTimes.h"
#include "ClipWindow.h"
#include "Desktop.h"
#include "MainWindow.h"
#include "PreviewPanel.h"
#include "SourceListView.h"

#include <QGroupBox>
#include <QVBoxLayout>

namespace vx {

QWidget* MainWindow::BuildPreviewFrame(QWidget* parent) {
    auto* frame = new QGroupBox(QStringLiteral("Preview"), parent);
    frame->setObjectName(QStringLiteral("previewFrame"));
    auto* layout = new QVBoxLayout(frame);
    preview_ =
        new PreviewPanel(appFolder_, QStringLiteral("Text2"), QStringLiteral("Slider1"), frame);
    layout->addWidget(preview_);
    connect(preview_, &PreviewPanel::playClicked, this, &MainWindow::PlaySelectedFile);
    return frame;
}

const std::string& MainWindow::previewFile() const {
    return preview_->transport().File;
}

QTimer* MainWindow::previewTimer() const {
    return preview_->timer();
}

void MainWindow::PlaySelectedFile() {
    const int row = listView_->SelectedRow();
    std::optional<PlayItem> item;
    if (row >= 0 && row < sources_.Count())
        item = PlayItem{sources_.At(row, kFileName), sources_.At(row, kVideoTime)};
    preview_->Play(sources_.Count() == 0, item);
}

void MainWindow::OpenClipWindow() {
    if (sources_.Count() == 0) return;
    preview_->Halt(); // the main preview's player and its timer
    const int row = listView_->SelectedRow();
    if (row < 0) return; // nothing to trim
    if (sources_.Row(row).Joined()) { // each part keeps its own clip
        desktop_.ShowMessage(this, MessageIcon::Information,
                             QStringLiteral("The parts of a joined row keep their own clips: use "
                                            "Split Into Parts, trim the parts and join them "
                                            "again."));
        return;
    }
    SharedClip() = ClipHandover{sources_.At(row, kFileName), sources_.At(row, kStart),
                                sources_.At(row, kEnd), sources_.At(row, kVideoTime)};
    SharedPreviewCounters() = PreviewCounters{};
    // OK writes to the row selected when it is pressed.
    ClipWindow window(
        appFolder_, desktop_,
        [this](const std::string& start, const std::string& end) {
            const int selected = listView_->SelectedRow();
            sources_.SetAt(selected, kStart, start);
            sources_.SetAt(selected, kEnd, end);
        },
        this);
    window.exec();
}

} // namespace vx

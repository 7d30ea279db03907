// The preview of the main window and the trimming window's opening.
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

} // namespace vx

// The batch conversion in the main window: the progress panel and the window's
// side of the run.
#include "BackgroundScan.h"
#include "Desktop.h"
#include "MainWindow.h"
#include "PreviewPanel.h"
#include "ProbePool.h"
#include "ProfileChooser.h"
#include "PropertyGrid.h"
#include "SlimProgressBar.h"
#include "SourceListView.h"
#include "TimeText.h"
#include "WindowBatchView.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace vx {

namespace {
constexpr QSize kProgressPanelSize(600, 230);
}

MainWindow::~MainWindow() {
    StopAdding();
    probes_.reset(); // no probe reports to a window that is going
    if (batch_) batch_->Abandon();
    // The views watch the sheet and the rows, which as members go before the child widgets.
    delete grid_;
    delete listView_;
}

QWidget* MainWindow::BuildProgressPanel(QWidget* parent) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(QStringLiteral("Picture4"));
    panel->setFrameShape(QFrame::StyledPanel);
    // Opaque, so that what changes on it does not paint the window beneath again.
    panel->setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(panel);
    // The frame naming the file heads the panel on its own, so that a new caption
    // repaints the heading alone and not the bars below it.
    auto* file = new QGroupBox(QStringLiteral("Progress...."), panel);
    file->setObjectName(QStringLiteral("Frame14"));
    file->setFlat(true);
    layout->addWidget(file);
    for (auto [frameCaption, barName] : {std::pair{"Currently Conversion", "prgTrackProgress"},
                                         {"Total Conversion", "prgTotalProgress"}}) {
        auto* frame = new QGroupBox(QString::fromLatin1(frameCaption), panel);
        auto* frameLayout = new QVBoxLayout(frame);
        auto* bar = new SlimProgressBar(frame);
        bar->setObjectName(QLatin1String(barName));
        frameLayout->addWidget(bar);
        layout->addWidget(frame);
    }
    auto* row = new QHBoxLayout;
    auto* clock = new QLabel(QStringLiteral("0:00:00"), panel);
    clock->setObjectName(QStringLiteral("SkinLabel2"));
    clock->setMinimumWidth(clock->fontMetrics().horizontalAdvance(QStringLiteral("00:00:00")));
    row->addWidget(clock);
    // Beside the elapsed time: the time left, the encoders' speed, files at once.
    auto* line = new QLabel(panel);
    line->setObjectName(QStringLiteral("lblProgressLine"));
    row->addWidget(line, 1);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), panel);
    cancel->setObjectName(QStringLiteral("Command1"));
    connect(cancel, &QPushButton::clicked, this, [this] { batch_->RequestCancel(); });
    row->addWidget(cancel);
    layout->addLayout(row);
    panel->setFixedSize(kProgressPanelSize);
    layout->activate();
    // The caption and the times change all through a batch; at fixed sizes they
    // change without laying out the panel, and the window around it, again.
    for (QWidget* changing : std::initializer_list<QWidget*>{file, clock, line})
        changing->setFixedSize(changing->size());

    timer2_ = new QTimer(this);
    timer2_->setObjectName(QStringLiteral("Timer2"));
    timer2_->setInterval(1000);
    connect(timer2_, &QTimer::timeout, this, [this, clock] {
        ++batchSeconds_;
        if (const auto text = TimeText16(batchSeconds_))
            clock->setText(QString::fromStdString(*text));
    });
    batchView_ = std::make_unique<WindowBatchView>(*this);
    batch_ =
        std::make_unique<BatchRun>(sources_, sheet_, SharedToolControl(), *batchView_, appFolder_);
    return panel;
}

void MainWindow::PlaceProgressPanel() {
    QWidget* area = centralWidget();
    const QSize size = kProgressPanelSize.boundedTo(area->size());
    picture4_->setFixedSize(size);
    picture4_->move((area->width() - size.width()) / 2, (area->height() - size.height()) / 2);
}

void MainWindow::SetBatchBusy(bool busy) {
    batchBusy_ = busy;
    UpdateCommandStates();
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
}

// While a batch runs, nothing may start a second batch or take a row away; while
// files are still being scanned or probed, a batch would find the list half filled.
void MainWindow::UpdateCommandStates() {
    const bool canConvert = !batchBusy_ && probing_ == 0 && !adding_;
    for (const char* name : {"BurnNow", "convertnow1"})
        action(name)->setEnabled(canConvert);
    findChild<QToolButton*>(QStringLiteral("Image11"))->setEnabled(canConvert);
    for (const char* name :
         {"RemoveSelectedFile", "RemoveSelectedItem", "ClearAllFiles", "ClearAllItems"})
        action(name)->setEnabled(!batchBusy_);
    for (const char* name : {"Image2", "Image9"})
        findChild<QToolButton*>(QLatin1String(name))->setEnabled(!batchBusy_);
    // The profile of a batch is the one chosen when Convert was pressed: no stray
    // key may switch it while rows wait to start.
    chooser_->setEnabled(!batchBusy_);
    UpdateRowCommandStates();
}

// A close asked for while a batch ran happens once it has returned.
void MainWindow::CloseIfPending() {
    if (closePending_ && !batch_->Running()) QTimer::singleShot(0, this, &QWidget::close);
}

// The run goes on in the window's event loop; this returns at once.
void MainWindow::ConvertNow() {
    if (batch_->Running()) return;
    if (sources_.Count() > 0) preview_->Halt(); // its player and its timer
    if (batch_->Start()) batchView_->Follow(*batch_);
}

void MainWindow::EndedFromOutside() {
    batch_->Halt();
    if (keeper_) keeper_->Interrupted();
}

void MainWindow::BatchEnded() {
    if (closePending_) SetBatchBusy(false);    // an abandoned run leaves the window as it was
    if (!closePending_) UpdateCommandStates(); // what is left to convert again
    CloseIfPending();
    emit batchEnded();
}

} // namespace vx

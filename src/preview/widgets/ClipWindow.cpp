#include "ClipWindow.h"

#include "ClipTimes.h"
#include "Desktop.h"
#include "PreviewPanel.h"
#include "Skin.h"
#include "TimeText.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSlider>
#include <QVBoxLayout>

namespace vx {

ClipWindow::ClipWindow(const std::string& appFolder, Desktop& desktop, WriteBack writeBack,
                       QWidget* parent)
    : QDialog(parent), desktop_(desktop), writeBack_(std::move(writeBack)) {
    setObjectName(QStringLiteral("Form2"));
    setModal(true);
    ApplySkinFile(this, appFolder);

    auto* layout = new QHBoxLayout(this);
    preview_ =
        new PreviewPanel(appFolder, QStringLiteral("Text4"), QStringLiteral("Slider3"), this);
    layout->addWidget(preview_, 3);
    auto* side = new QVBoxLayout;
    side->addWidget(BuildTimesFrame());
    side->addStretch(1);
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setAutoDefault(false);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("Command2"));
    cancel->setAutoDefault(false);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    side->addLayout(buttons);
    layout->addLayout(side, 2);
    connect(ok, &QPushButton::clicked, this, &ClipWindow::Ok);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(preview_, &PreviewPanel::playClicked, this, [this] {
        const ClipHandover& clip = SharedClip();
        preview_->Play(false, PlayItem{clip.ClipFile, clip.ClipDurationText});
    });
    AddKeys();
    Load();
    resize(860, 460);
}

ClipWindow::~ClipWindow() = default;

// One time: its caption, its box and, when given, its button on one row, and
// its slider on a row of its own below, so that nothing lies over the slider.
QSlider* ClipWindow::AddTimeRow(QGridLayout* grid, int row, const TimeRow& names, QLineEdit** box) {
    QWidget* frame = grid->parentWidget();
    grid->addWidget(new QLabel(QLatin1String(names.caption), frame), row, 0);
    *box = new QLineEdit(frame);
    (*box)->setObjectName(QLatin1String(names.box));
    grid->addWidget(*box, row, 1);
    if (names.button) {
        auto* button = new QPushButton(QLatin1String(names.button), frame);
        button->setObjectName(QLatin1String(names.buttonName));
        button->setShortcut(names.key);
        button->setToolTip(QLatin1String(names.tip));
        button->setAutoDefault(false);
        grid->addWidget(button, row, 2);
        connect(button, &QPushButton::clicked, this, names.take);
    }
    if (!names.slider) return nullptr;
    auto* slider = new QSlider(Qt::Horizontal, frame);
    slider->setObjectName(QLatin1String(names.slider));
    slider->setSingleStep(1);
    slider->setPageStep(5);
    slider->installEventFilter(this);
    grid->addWidget(slider, row + 1, 0, 1, 3);
    // The box always shows the slider's value, whether mouse or keys moved it.
    connect(slider, &QSlider::valueChanged, this, [box = *box](int value) {
        if (const auto text = TimeText16(value)) box->setText(QString::fromStdString(*text));
    });
    return slider;
}

QWidget* ClipWindow::BuildTimesFrame() {
    auto* frame = new QGroupBox(QStringLiteral("Start Time and End Time"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* grid = new QGridLayout(frame);
    grid->setColumnStretch(1, 1);
    slider1_ =
        AddTimeRow(grid, 0,
                   {"Start Time:", "Text1", "Slider1", "Set Start", "cmdSetStart",
                    "Take the position shown as the start (I)", Qt::Key_I, &ClipWindow::SetStart},
                   &text1_);
    slider2_ =
        AddTimeRow(grid, 2,
                   {"End Time:", "Text2", "Slider2", "Set End", "cmdSetEnd",
                    "Take the position shown as the end (O)", Qt::Key_O, &ClipWindow::SetEnd},
                   &text2_);
    AddTimeRow(grid, 4, {"Clip Time", "Text3"}, &text3_);
    text3_->setReadOnly(true);
    connect(text1_, &QLineEdit::textChanged, this, &ClipWindow::ShowClipLength);
    connect(text2_, &QLineEdit::textChanged, this, &ClipWindow::ShowClipLength);
    return frame;
}

// Space pauses, Left and Right jump, while the window has the focus; a slider
// or a box that has the focus keeps its own keys. Return and Enter press OK
// wherever the focus is.
void ClipWindow::AddKeys() {
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter})
        connect(new QShortcut(QKeySequence(key), this), &QShortcut::activated, this,
                &ClipWindow::Ok);
    const std::pair<Qt::Key, void (PreviewPanel::*)()> keys[] = {
        {Qt::Key_Space, &PreviewPanel::Pause},
        {Qt::Key_Left, &PreviewPanel::Back},
        {Qt::Key_Right, &PreviewPanel::Forward}};
    for (const auto& [key, command] : keys) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        connect(shortcut, &QShortcut::activated, this,
                [this, command = command] { (preview_->*command)(); });
    }
}

bool ClipWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Left || key == Qt::Key_Right) event->accept(); // the slider's own
    }
    return QDialog::eventFilter(watched, event);
}

void ClipWindow::Load() {
    const ClipHandover& clip = SharedClip();
    text1_->setText(QString::fromStdString(clip.ClipStartText));
    text2_->setText(QString::fromStdString(clip.ClipEndText));
    ShowClipLength();
    const auto duration = ReadTimeOfDay(clip.ClipDurationText);
    for (QSlider* slider : {slider2_, slider1_}) {
        const QSignalBlocker quiet(slider); // the boxes keep the texts handed over
        if (duration) slider->setMaximum(*duration);
        if (const auto value =
                ReadTimeOfDay(slider == slider1_ ? clip.ClipStartText : clip.ClipEndText))
            slider->setValue(*value);
    }
    PreviewCounters& counters = SharedPreviewCounters();
    counters.PlaybackSeconds = 0;
    if (duration) counters.TotalSeconds = *duration;
    setWindowTitle(QStringLiteral("Clip Time") + QStringLiteral("  -  ") +
                   QString::fromStdString(clip.ClipFile));
}

void ClipWindow::ShowClipLength() {
    if (const auto length =
            ClipLengthText(text1_->text().toStdString(), text2_->text().toStdString()))
        text3_->setText(QString::fromStdString(*length));
}

void ClipWindow::TakePosition(QSlider* slider, QLineEdit* box) {
    preview_->Refresh(); // "Current Time" shows the same second
    const int seconds = preview_->transport().ShownSeconds();
    slider->setValue(seconds);
    if (const auto text = TimeText16(seconds)) box->setText(QString::fromStdString(*text));
}

void ClipWindow::SetStart() {
    TakePosition(slider1_, text1_);
}

void ClipWindow::SetEnd() {
    TakePosition(slider2_, text2_);
}

void ClipWindow::Ok() {
    const std::string start = text1_->text().toStdString();
    const std::string end = text2_->text().toStdString();
    if (!ClipPairValid(start, end)) {
        desktop_.ShowMessage(this, MessageIcon::Critical,
                             QStringLiteral("Start time or End time is error."));
        return;
    }
    if (writeBack_) writeBack_(start, end);
    accept();
}

void ClipWindow::done(int result) {
    preview_->Halt();
    SharedClip().ClipFile.clear();
    QDialog::done(result);
}

} // namespace vx

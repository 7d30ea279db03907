#include "CaptureWindow.h"

#include "CaptureFile.h"
#include "CaptureProgress.h"
#include "Desktop.h"
#include "FrameSurface.h"
#include "Skin.h"
#include "VideoCapture.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStandardPaths>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>

namespace vx {

namespace {

template <typename W> W* Named(W* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

template <typename W> W* Named(W* widget, const char* name) {
    return Named(widget, QString::fromLatin1(name));
}

QPushButton* Button(const char* caption, const char* name, QWidget* parent) {
    auto* button = Named(new QPushButton(QString::fromLatin1(caption), parent), name);
    button->setAutoDefault(false);
    return button;
}

constexpr int kPreviewWidth = 320;
constexpr int kPreviewHeight = 240;

} // namespace

QString CaptureFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
    return folder;
}

QString DefaultCaptureFile() {
    return QDir(CaptureFolder()).filePath(QStringLiteral("dvcapture.avi"));
}

CaptureWindow::CaptureWindow(std::string appFolder, Desktop& desktop,
                             std::unique_ptr<CaptureControl> control, QWidget* parent)
    : QDialog(parent), appFolder_(std::move(appFolder)), desktop_(desktop),
      control_(control ? std::move(control) : MakeV4l2Capture(appFolder_ + "/fp.dll")) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Capture Video From DV"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildFileFrame());
    auto* middle = new QHBoxLayout;
    middle->addWidget(BuildCameraFrame());
    vcx_ = Named(new FrameSurface(this), QStringLiteral("vcx"));
    vcx_->setFixedSize(kPreviewWidth, kPreviewHeight);
    middle->addWidget(vcx_);
    layout->addLayout(middle);

    auto* status = new QHBoxLayout;
    status->addWidget(
        Named(new QLabel(QStringLiteral("Capture Time:"), this), QStringLiteral("SkinLabel6")));
    label2_ = Named(new QLabel(this), QStringLiteral("Label2"));
    status->addWidget(label2_, 1);
    layout->addLayout(status);

    auto* buttons = new QHBoxLayout;
    command3_ = Button("Preview", "Command3", this);
    command1_ = Button("Start capture", "Command1", this);
    command2_ = Button("Stop capture", "Command2", this);
    command4_ = Button("Exit", "Command4", this);
    for (QPushButton* button : {command3_, command1_, command2_, command4_})
        buttons->addWidget(button);
    layout->addLayout(buttons);

    timer1_ = Named(new QTimer(this), QStringLiteral("Timer1"));
    timer1_->setInterval(500);
    connect(timer1_, &QTimer::timeout, this, &CaptureWindow::Tick);
    connect(command5_, &QPushButton::clicked, this, &CaptureWindow::Browse);
    connect(command3_, &QPushButton::clicked, this, &CaptureWindow::Preview);
    connect(command1_, &QPushButton::clicked, this, &CaptureWindow::StartCapture);
    connect(command2_, &QPushButton::clicked, this, &CaptureWindow::StopCapture);
    connect(command4_, &QPushButton::clicked, this, &CaptureWindow::Exit);
    connect(combo1_, &QComboBox::activated, this, &CaptureWindow::ChooseDevice);
    Load();
    timer1_->start();
}

CaptureWindow::~CaptureWindow() {
    vcx_->Detach();
    control_.reset(); // a recording still running is finished in the background
}

QWidget* CaptureWindow::BuildFileFrame() {
    auto* frame = new QGroupBox(QStringLiteral("Capture File"), this);
    auto* row = new QHBoxLayout(frame);
    row->addWidget(Named(new QLabel(QStringLiteral("Capture File:"), frame), "Label1"));
    text1_ = Named(new QLineEdit(DefaultCaptureFile(), frame), QStringLiteral("Text1"));
    text1_->setMinimumWidth(320);
    row->addWidget(text1_, 1);
    command5_ = Button("Browse...", "Command5", frame);
    row->addWidget(command5_);
    return frame;
}

QWidget* CaptureWindow::BuildCameraFrame() {
    auto* frame = new QGroupBox(QStringLiteral("Camera Control"), this);
    auto* grid = new QGridLayout(frame);
    grid->addWidget(Named(new QLabel(QStringLiteral("Camera"), frame), "SkinLabel1"), 0, 0);
    combo1_ = Named(new QComboBox(frame), QStringLiteral("Combo1"));
    combo1_->setMinimumWidth(200);
    grid->addWidget(combo1_, 0, 1);
    const char* captions[kCameraControls] = {"Pan:", "Tilt:", "Roll:", "Zoom:"};
    for (int i = 0; i < kCameraControls; ++i) {
        grid->addWidget(new QLabel(QString::fromLatin1(captions[i]), frame), i + 1, 0);
        auto* slider = Named(new QSlider(Qt::Horizontal, frame), QStringLiteral("Slider%1").arg(i));
        slider->setEnabled(false);
        grid->addWidget(slider, i + 1, 1);
        // Only the user's moves reach the camera; values set from the camera are blocked.
        connect(slider, &QSlider::valueChanged, this,
                [this, i](int value) { control_->SetCameraControl(i, value); });
        sliders_[static_cast<std::size_t>(i)] = slider;
    }
    grid->setRowStretch(kCameraControls + 1, 1);
    return frame;
}

void CaptureWindow::Load() {
    ApplySkinFile(this, appFolder_);
    // Plain preview and recording: no preview until asked for, pictures the
    // size of the surface, which is black until the first one arrives.
    control_->SetPreviewSize(kPreviewWidth, kPreviewHeight);
    control_->SetPreview(false);
    vcx_->Attach(control_.get());
    for (int i = 0; i < control_->DeviceCount(); ++i)
        combo1_->addItem(QString::fromStdString(control_->DeviceName(i)));
    const bool devices = combo1_->count() > 0;
    for (QPushButton* button : {command1_, command2_, command3_})
        button->setEnabled(devices);
    if (!devices) return;
    combo1_->setCurrentIndex(0);
    ChooseDevice(0);
}

void CaptureWindow::ChooseDevice(int index) {
    // Releasing the device would end a recording half-way and the next session
    // would record over the same file: finish the recording first.
    if (control_->Recording()) StopCapture();
    control_->SetConnected(false);
    control_->SetDeviceIndex(index);
    control_->SetConnected(true);
    for (int i = 0; i < kCameraControls; ++i) {
        QSlider* slider = sliders_[static_cast<std::size_t>(i)];
        CameraRange range;
        const bool supported = control_->CameraControlRange(i, range) == 0;
        slider->setEnabled(supported);
        if (!supported) continue;
        const QSignalBlocker quiet(slider);
        slider->setRange(range.minimum, range.maximum);
        slider->setValue(control_->CameraControlValue(i));
    }
}

void CaptureWindow::Browse() {
    const QString chosen = desktop_.SaveFile(this, QStringLiteral("Save Video File"),
                                             QStringLiteral("Avi Video file (*.avi)"));
    if (!chosen.isEmpty()) text1_->setText(chosen);
}

void CaptureWindow::Preview() {
    if (combo1_->count() == 0) return;
    if (control_->Recording())
        StopCapture();
    else
        control_->SetPreview(true);
}

void CaptureWindow::StartCapture() {
    if (combo1_->count() == 0) return;
    if (control_->Recording()) {
        StopCapture();
        return;
    }
    // Never over an existing file: the next free name, shown in the box.
    const CaptureTarget target =
        ReserveCaptureFile(text1_->text().toStdString(), CaptureFolder().toStdString());
    const QString path = QString::fromStdString(target.path);
    if (path.isEmpty()) {
        desktop_.ShowMessage(this, MessageIcon::Critical,
                             QStringLiteral("Enter the name of the file to record into."));
        return;
    }
    text1_->setText(path);
    if (!target.reason.empty()) {
        ReportFailure(path, target.reason);
        return;
    }
    control_->SetCaptureFileName(target.path);
    control_->SetPreview(true);
    awaitingFinal_ = control_->StartRecording();
    recordingFile_ = path;
    SetRecordingButtons(true);
}

void CaptureWindow::StopCapture() {
    control_->StopRecording();
    recordingFile_.clear();
    SetRecordingButtons(false);
}

void CaptureWindow::ReportFailure(const QString& file, const std::string& reason) {
    desktop_.ShowMessage(this, MessageIcon::Critical,
                         QStringLiteral("Could not record into \"%1\": %2.")
                             .arg(file, QString::fromStdString(reason)));
}

void CaptureWindow::Exit() {
    control_->StopRecording();
    close();
}

void CaptureWindow::done(int result) {
    timer1_->stop();
    control_->StopRecording();
    control_->SetPreview(false);
    control_->SetConnected(false);
    QDialog::done(result);
}

void CaptureWindow::Tick() {
    if (control_->Recording()) {
        label2_->setText(QString::fromStdString(StatusLine(control_->Statistics())));
        return;
    }
    // Once a recording has ended, the line shows the figures of the finished
    // file, not those of the last tick before the stop.
    if (awaitingFinal_) {
        const CaptureStatistics statistics = control_->Statistics();
        if (statistics.final) {
            label2_->setText(QString::fromStdString(StatusLine(statistics)));
            awaitingFinal_ = false;
        }
    }
    // A recording that ended by itself (no device, a full disk) frees the
    // buttons and says why; the state is settled before the message, which
    // waits for the user while this timer goes on.
    if (!command1_->isEnabled() && combo1_->count() > 0) {
        SetRecordingButtons(false);
        const QString file = std::exchange(recordingFile_, QString());
        if (const std::string failure = control_->Failure(); !failure.empty() && !file.isEmpty())
            ReportFailure(file, failure);
    }
}

void CaptureWindow::SetRecordingButtons(bool recording) {
    command1_->setEnabled(!recording);
    command3_->setEnabled(!recording);
}

} // namespace vx

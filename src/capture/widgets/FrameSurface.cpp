#include "FrameSurface.h"

#include <QImage>
#include <QPainter>

namespace vx {

FrameSurface::FrameSurface(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
}

void FrameSurface::Attach(CaptureControl* control) {
    control_ = control;
    control_->SetFrameListener([this] {
        if (!pending_.exchange(true))
            QMetaObject::invokeMethod(
                this,
                [this] {
                    pending_ = false;
                    update();
                },
                Qt::QueuedConnection);
    });
}

void FrameSurface::Detach() {
    if (control_) control_->SetFrameListener(nullptr);
    control_ = nullptr;
}

void FrameSurface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (control_ && control_->LatestFrame(frame_.serial, frame_) && !frame_.rgb.empty()) ++painted_;
    if (frame_.rgb.empty()) return;
    const QImage picture(frame_.rgb.data(), frame_.width, frame_.height, frame_.width * 3,
                         QImage::Format_RGB888);
    const QRect target = QRect(QPoint(0, 0), picture.size().scaled(size(), Qt::KeepAspectRatio));
    painter.drawImage(target.translated(rect().center() - target.center()), picture);
}

} // namespace vx

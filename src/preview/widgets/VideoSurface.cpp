#include "VideoSurface.h"

namespace vx {

namespace {

void PaintBlack(QWidget* widget) {
    QPalette black = widget->palette();
    black.setColor(QPalette::Window, Qt::black);
    widget->setPalette(black);
    widget->setAutoFillBackground(true);
}

} // namespace

VideoSurface::VideoSurface(const QString& name, QWidget* parent) : QWidget(parent) {
    setObjectName(name);
    setAttribute(Qt::WA_NativeWindow); // the box is a window too, holding the picture's
    setAttribute(Qt::WA_DontCreateNativeAncestors);
    PaintBlack(this);
    setMinimumSize(192, 144);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    picture_ = new QWidget(this);
    picture_->setObjectName(name + QStringLiteral("Picture"));
    picture_->setAttribute(Qt::WA_NativeWindow);
    picture_->setAttribute(Qt::WA_DontCreateNativeAncestors);
    PaintBlack(picture_);
    Fit();
}

void VideoSurface::SetPictureSize(const QSize& size) {
    if (size == pictureSize_) return;
    pictureSize_ = size;
    Fit();
}

void VideoSurface::ClearPicture() {
    picture_->repaint();
}

void VideoSurface::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Fit();
}

// The player follows the size of its window and draws the picture over all of it.
void VideoSurface::Fit() {
    if (pictureSize_.isEmpty()) {
        picture_->setGeometry(rect());
        return;
    }
    const QSize fitted = pictureSize_.scaled(size(), Qt::KeepAspectRatio);
    QRect area(QPoint(0, 0), fitted);
    area.moveCenter(rect().center());
    picture_->setGeometry(area);
}

} // namespace vx

#include "SlimProgressBar.h"

#include <QPainter>

namespace vx {

SlimProgressBar::SlimProgressBar(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void SlimProgressBar::setValue(int value) {
    value = qBound(0, value, 100);
    if (value == value_) return;
    value_ = value;
    update();
    emit valueChanged(value);
}

QSize SlimProgressBar::sizeHint() const {
    return {200, fontMetrics().height() + 8};
}

void SlimProgressBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    // The border as four filled lines: the raster engine strokes a drawn rectangle
    // at many times the cost.
    const QColor border(0xaa, 0xb4, 0xbe);
    painter.fillRect(QRect(0, 0, width(), 1), border);
    painter.fillRect(QRect(0, height() - 1, width(), 1), border);
    painter.fillRect(QRect(0, 1, 1, height() - 2), border);
    painter.fillRect(QRect(width() - 1, 1, 1, height() - 2), border);
    painter.fillRect(rect().adjusted(1, 1, -1, -1), QColor(0xff, 0xff, 0xff));
    const int filled = value_ * (frame.width() - 1) / 100;
    if (filled > 0)
        painter.fillRect(QRect(1, 1, filled, frame.height() - 1), QColor(0x28, 0xb4, 0x63));
    QStaticText& label = labels_[static_cast<std::size_t>(value_)];
    if (label.text().isEmpty()) {
        label.setText(QString::number(value_) + QLatin1Char('%'));
        label.prepare(QTransform(), font());
    }
    const QSizeF size = label.size();
    painter.setPen(QColor(0x1f, 0x2d, 0x3d));
    painter.drawStaticText(QPointF((width() - size.width()) / 2, (height() - size.height()) / 2),
                           label);
}

} // namespace vx

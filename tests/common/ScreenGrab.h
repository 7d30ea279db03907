#pragma once
// What the X server shows of a widget, for tests that check pixels rather
// than properties: a player draws into native windows that Qt knows nothing of.

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

namespace vxtest {

// The top-level window's pixels over the widget's rectangle, the drawing in
// native child windows included.
inline QImage Grab(QWidget* widget) {
    const QPoint at = widget->mapTo(widget->window(), QPoint(0, 0));
    return widget->screen()
        ->grabWindow(widget->window()->winId(), at.x(), at.y(), widget->width(), widget->height())
        .toImage();
}

inline bool Dark(QRgb pixel) {
    return qRed(pixel) < 16 && qGreen(pixel) < 16 && qBlue(pixel) < 16;
}

} // namespace vxtest

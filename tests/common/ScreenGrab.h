#pragma once
// What the X server shows of a widget: the top-level window's pixels over the
// widget's rectangle, the player's drawing in native child windows included.

#include <QImage>
#include <QScreen>
#include <QWidget>

namespace vxtest {

inline QImage Grab(QWidget* widget) {
    const QPoint at = widget->mapTo(widget->window(), QPoint(0, 0));
    return widget->screen()
        ->grabWindow(widget->window()->winId(), at.x(), at.y(), widget->width(), widget->height())
        .toImage();
}

} // namespace vxtest

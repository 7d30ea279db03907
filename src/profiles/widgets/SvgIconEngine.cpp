#include "SvgIconEngine.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>
#include <cmath>

namespace vx {

QPixmap SvgIconEngine::Rendered(const QSize& pixels, QIcon::Mode mode) {
    const QString key =
        QStringLiteral("%1x%2/%3").arg(pixels.width()).arg(pixels.height()).arg(int(mode));
    if (const auto found = rendered_.constFind(key); found != rendered_.constEnd()) return *found;
    QPixmap picture(pixels);
    picture.fill(Qt::transparent);
    {
        QPainter painter(&picture);
        QSvgRenderer(svg_).render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
    }
    // Disabled and selected looks come from the style, as for any other icon.
    if (mode != QIcon::Normal && qobject_cast<QApplication*>(QCoreApplication::instance())) {
        QStyleOption option;
        option.palette = QApplication::palette();
        picture = QApplication::style()->generatedIconPixmap(mode, picture, &option);
    }
    rendered_.insert(key, picture);
    return picture;
}

QPixmap SvgIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) {
    return size.isEmpty() ? QPixmap() : Rendered(size, mode);
}

// Asked for a size at a scale: drawn at as many device pixels. Before Qt 6.8 the
// size comes already multiplied by the scale.
QPixmap SvgIconEngine::scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State,
                                    qreal scale) {
    if (size.isEmpty()) return {};
    const qreal ratio = scale > 0 ? scale : 1;
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    const QSize pixels(static_cast<int>(std::lround(size.width() * ratio)),
                       static_cast<int>(std::lround(size.height() * ratio)));
#else
    const QSize pixels = size;
#endif
    QPixmap picture = Rendered(pixels, mode);
    picture.setDevicePixelRatio(ratio);
    return picture;
}

QSize SvgIconEngine::actualSize(const QSize& size, QIcon::Mode, QIcon::State) {
    return size;
}

void SvgIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
                          QIcon::State state) {
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1;
    painter->drawPixmap(rect, pixmap((QSizeF(rect.size()) * ratio).toSize(), mode, state));
}

} // namespace vx

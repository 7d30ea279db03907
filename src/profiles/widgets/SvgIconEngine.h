#pragma once
// An icon drawn from SVG text at whatever size it is asked for, in device
// pixels: sharp at a device pixel ratio of 2 (or 1.5, or 3) as at 1.

#include <QByteArray>
#include <QHash>
#include <QIconEngine>
#include <QPixmap>

namespace vx {

class SvgIconEngine : public QIconEngine {
  public:
    explicit SvgIconEngine(QByteArray svg) : svg_(std::move(svg)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QIconEngine* clone() const override { return new SvgIconEngine(svg_); }
    QString key() const override { return QStringLiteral("vantorix-svg"); }

  private:
    // The picture at exactly that many device pixels, greyed when disabled.
    QPixmap Rendered(const QSize& pixels, QIcon::Mode mode);

    QByteArray svg_;
    QHash<QString, QPixmap> rendered_; // by size and mode
};

} // namespace vx

#pragma once
// The black box the player draws into: a native child window whose X11 id is
// the handle given to the player.

#include <QWidget>

namespace vx {

class VideoSurface : public QWidget {
    Q_OBJECT
  public:
    explicit VideoSurface(const QString& name, QWidget* parent = nullptr);
    QSize sizeHint() const override { return {320, 240}; }
    // The handle for the player's "-wid".
    std::uint64_t Handle() { return static_cast<std::uint64_t>(winId()); }
};

} // namespace vx

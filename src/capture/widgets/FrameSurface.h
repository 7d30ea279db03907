#pragma once
// The preview surface: a black area that paints the capture's latest picture.
// New pictures arrive on the encoder's thread; the surface hears of them
// through a queued call and repaints on the window's thread, at most one
// repaint pending at a time, so pictures the window cannot keep up with are
// simply skipped.

#include "CaptureControl.h"

#include <QWidget>
#include <atomic>

namespace vx {

class FrameSurface : public QWidget {
    Q_OBJECT
  public:
    explicit FrameSurface(QWidget* parent = nullptr);

    // Starts listening to the control; Detach before the control goes away.
    void Attach(CaptureControl* control);
    void Detach();
    // Pictures painted so far.
    std::uint64_t PaintedFrames() const { return painted_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    CaptureControl* control_ = nullptr;
    PreviewFrame frame_;
    std::uint64_t painted_ = 0;
    std::atomic<bool> pending_{false};
};

} // namespace vx

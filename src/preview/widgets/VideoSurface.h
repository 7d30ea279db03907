#pragma once
// The black box the player draws into. The picture itself is a native child
// window, whose X11 id is the handle given to the player; it is kept at the
// picture's proportions, centred in the box, with black around it.

#include <QWidget>

namespace vx {

class VideoSurface : public QWidget {
    Q_OBJECT
  public:
    explicit VideoSurface(const QString& name, QWidget* parent = nullptr);
    QSize sizeHint() const override { return {320, 240}; }
    // The handle for the player's "-wid".
    std::uint64_t Handle() { return static_cast<std::uint64_t>(picture_->winId()); }
    QWidget* picture() const { return picture_; }

    // The size the picture is shown at (its proportions count); an empty size
    // lets the picture fill the box.
    void SetPictureSize(const QSize& size);
    // Paints the picture black at once, over whatever the player left in it.
    void ClearPicture();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void Fit();

    QWidget* picture_;
    QSize pictureSize_;
};

} // namespace vx

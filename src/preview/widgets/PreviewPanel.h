#pragma once
// A preview: the video surface, the transport buttons, the seek slider, the
// position labels and the one-second position timer, over a PreviewTransport.
// The main window and the trimming window each hold one.

#include "PreviewTransport.h"

#include <QWidget>
#include <memory>

class QLabel;
class QSlider;
class QTimer;

namespace vx {

class VideoSurface;

class PreviewPanel : public QWidget {
    Q_OBJECT
  public:
    // surfaceName and sliderName are the object names of the video surface and
    // the seek slider in the window that holds the panel.
    PreviewPanel(const std::string& appFolder, const QString& surfaceName,
                 const QString& sliderName, QWidget* parent = nullptr);
    ~PreviewPanel() override;

    PreviewTransport& transport() { return *transport_; }
    VideoSurface* surface() const { return surface_; }
    QSlider* slider() const { return slider_; }
    QTimer* timer() const { return timer_; }

    // The transport's commands, shown at once. Play is asked for by the Play
    // button (playClicked); its holder knows what to play.
    void Play(bool listEmpty, const std::optional<PlayItem>& item);
    // Pause also shows where the player stopped, once it has said so.
    void Pause();
    // Stop also paints the picture black, at once and again when the player has gone.
    void Stop();
    void Back() { Do(&PreviewTransport::Back); }
    void Forward() { Do(&PreviewTransport::Forward); }
    void FirstFrame() { Do(&PreviewTransport::FirstFrame); }
    void LastFrames() { Do(&PreviewTransport::LastFrames); }
    void Halt() { Do(&PreviewTransport::Halt); }
    void Exit() { Do(&PreviewTransport::Exit); }
    // Shows the position the player reported last.
    void Refresh() { Do(&PreviewTransport::Refresh); }

  signals:
    void playClicked();

  private:
    void Do(void (PreviewTransport::*command)());
    void Render();
    void BuildButtons(QWidget* row);
    void WatchPlayer();
    void StartWatch();

    VideoSurface* surface_;
    QSlider* slider_;
    QLabel* current_;
    QLabel* total_;
    QTimer* timer_;
    QTimer* watch_;             // follows a new player until it names its picture size,
    bool awaitingSize_ = false; // and a stopped one until it has gone
    bool clearing_ = false;
    int watchTicks_ = 0;
    int launches_ = 0;
    std::unique_ptr<PlayerPort> player_;
    std::unique_ptr<PreviewTransport> transport_;
};

} // namespace vx

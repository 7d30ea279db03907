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
    void Pause() { Do(&PreviewTransport::Pause); }
    void Stop() { Do(&PreviewTransport::Stop); }
    void Back() { Do(&PreviewTransport::Back); }
    void Forward() { Do(&PreviewTransport::Forward); }
    void Halt() { Do(&PreviewTransport::Halt); }
    void Exit() { Do(&PreviewTransport::Exit); }

  signals:
    void playClicked();

  private:
    void Do(void (PreviewTransport::*command)());
    void Render();
    void BuildButtons(QWidget* row);

    VideoSurface* surface_;
    QSlider* slider_;
    QLabel* current_;
    QLabel* total_;
    QTimer* timer_;
    std::unique_ptr<PlayerPort> player_;
    std::unique_ptr<PreviewTransport> transport_;
};

} // namespace vx

#pragma once
// The capture window (Form3): records video from a capture device into an AVI
// file, with a live preview, the camera's pan, tilt, roll and zoom, and a
// status line that counts the frames while recording.

#include "CaptureControl.h"

#include <QDialog>
#include <QString>
#include <array>
#include <memory>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QTimer;

namespace vx {

class Desktop;
class FrameSurface;

class CaptureWindow : public QDialog {
    Q_OBJECT
  public:
    // appFolder: the application folder (the encoder tool and the skin live
    // there); control: the capture control, or none for this machine's
    // Video4Linux devices.
    CaptureWindow(std::string appFolder, Desktop& desktop,
                  std::unique_ptr<CaptureControl> control = nullptr, QWidget* parent = nullptr);
    ~CaptureWindow() override;

    CaptureControl& control() { return *control_; }
    FrameSurface* surface() const { return vcx_; }

    // Closing in any way (Exit, the close box, Esc) ends what the window started.
    void done(int result) override;

  private:
    QWidget* BuildFileFrame();
    QWidget* BuildCameraFrame();
    void Load();
    void ChooseDevice(int index);
    void Browse();
    void Preview();
    void StartCapture();
    void StopCapture();
    void Exit();
    void Tick();
    void SetRecordingButtons(bool recording);
    void ReportFailure(const QString& file, const std::string& reason);

    std::string appFolder_;
    Desktop& desktop_;
    std::unique_ptr<CaptureControl> control_;
    QLineEdit* text1_ = nullptr;
    QPushButton* command5_ = nullptr;
    QComboBox* combo1_ = nullptr;
    std::array<QSlider*, kCameraControls> sliders_{};
    QLabel* label2_ = nullptr;
    FrameSurface* vcx_ = nullptr;
    QPushButton* command3_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QPushButton* command4_ = nullptr;
    QTimer* timer1_ = nullptr;
    bool awaitingFinal_ = false; // a recording ended: its final figures are still to show
    QString recordingFile_;      // the file being recorded; empty when none is
};

// The folder of the capture file: the user's videos folder, or the home folder
// when there is none. A relative file name is taken there.
QString CaptureFolder();

// "dvcapture.avi" in the user's videos folder, or in the home folder when there is none.
QString DefaultCaptureFile();

} // namespace vx

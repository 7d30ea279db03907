#pragma once
// The trimming window: the start and end time of one file chosen while it
// plays in the window's own preview. It takes the file from SharedClip() and
// hands the chosen pair to its owner on OK.

#include <QDialog>
#include <functional>
#include <string>

class QGridLayout;
class QLineEdit;
class QSlider;

namespace vx {

class Desktop;
class PreviewPanel;

class ClipWindow : public QDialog {
    Q_OBJECT
  public:
    // writeBack receives the start and end texts when OK accepts them.
    using WriteBack = std::function<void(const std::string& start, const std::string& end)>;
    ClipWindow(const std::string& appFolder, Desktop& desktop, WriteBack writeBack,
               QWidget* parent = nullptr);
    ~ClipWindow() override;

    PreviewPanel* preview() const { return preview_; }

    void Ok();
    // Take the position the preview shows as the start or the end.
    void SetStart();
    void SetEnd();

    // Every way out: the player is told to quit and the handed-over file forgotten.
    void done(int result) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The names and the button of one time row; a row without a slider has no button.
    struct TimeRow {
        const char* caption;
        const char* box;
        const char* slider = nullptr;
        const char* button = nullptr;
        const char* buttonName = nullptr;
        const char* tip = nullptr;
        Qt::Key key = Qt::Key_unknown;
        void (ClipWindow::*take)() = nullptr;
    };
    QWidget* BuildTimesFrame();
    QSlider* AddTimeRow(QGridLayout* grid, int row, const TimeRow& names, QLineEdit** box);
    void Load();
    void ShowClipLength();
    void TakePosition(QSlider* slider, QLineEdit* box);
    void AddKeys();

    Desktop& desktop_;
    WriteBack writeBack_;
    PreviewPanel* preview_ = nullptr;
    QSlider* slider1_ = nullptr;
    QSlider* slider2_ = nullptr;
    QLineEdit* text1_ = nullptr;
    QLineEdit* text2_ = nullptr;
    QLineEdit* text3_ = nullptr;
};

} // namespace vx

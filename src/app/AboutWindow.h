#pragma once
// The About window (`Form6`): thanks, the projects the two tools come from and
// their licences, and the versions of the encoder and the player that the tools
// run here, asked from the tools when the window opens.

#include <QDialog>
#include <string>

class QFormLayout;
class QLabel;

namespace vx {

class ToolVersion;

class AboutWindow : public QDialog {
    Q_OBJECT
  public:
    explicit AboutWindow(const std::string& appFolder, QWidget* parent = nullptr);

    QLabel* encoderVersion() const { return encoder_; }
    QLabel* playerVersion() const { return player_; }

  private:
    QLabel* AddVersionRow(QFormLayout* rows, const QString& caption, ToolVersion* tool);

    QLabel* encoder_ = nullptr;
    QLabel* player_ = nullptr;
};

} // namespace vx

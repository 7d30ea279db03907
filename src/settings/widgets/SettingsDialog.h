#pragma once
// The settings dialog: output folder, the existing-file rule, the shutdown
// after a batch and the encoder's thread count.

#include <QDialog>
#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vx {

class Desktop;

class SettingsDialog : public QDialog {
    Q_OBJECT
  public:
    SettingsDialog(std::string appFolder, Desktop& desktop, QWidget* parent = nullptr);

    QLineEdit* folderBox() const { return text2_; }
    QLineEdit* threadBox() const { return text1_; }
    QLineEdit* parallelBox() const { return parallel_; }
    QRadioButton* addNewOption() const { return option1_; }
    QRadioButton* overwriteOption() const { return option2_; }
    QCheckBox* shutdownBox() const { return check1_; }
    QCheckBox* keepFoldersBox() const { return keepFolders_; }
    QPushButton* okButton() const { return command1_; }
    QPushButton* cancelButton() const { return command2_; }
    QPushButton* browseButton() const { return command4_; }

  private:
    void Load();
    void Browse();
    void Ok();

    std::string appFolder_;
    Desktop& desktop_;
    QLineEdit* text2_;
    QPushButton* command4_;
    QRadioButton* option1_;
    QRadioButton* option2_;
    QCheckBox* check1_;
    QCheckBox* keepFolders_;
    QLineEdit* text1_;
    QLineEdit* parallel_;
    QPushButton* command1_;
    QPushButton* command2_;
};

} // namespace vx

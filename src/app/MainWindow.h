#pragma once
// The main window: profile chooser, option sheet, source list, preview and
// the batch's progress panel.

#include "OptionSheet.h"

#include <QMainWindow>
#include <string>

class QAction;
class QLabel;
class QToolButton;

namespace vx {

class ProfileChooser;
class PropertyGrid;

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    // appFolder: the application folder as the system reports it (no trailing "/").
    explicit MainWindow(std::string appFolder, QWidget* parent = nullptr);
    ~MainWindow() override;

    ProfileChooser* chooser() const { return chooser_; }
    PropertyGrid* grid() const { return grid_; }
    OptionSheet& sheet() { return sheet_; }
    const std::string& appFolder() const { return appFolder_; }

  private:
    void BuildMenus();
    QWidget* BuildToolbar();
    QToolButton* AddToolbarImage(QWidget* bar, const char* name, const QString& caption,
                                 int picture);
    void StartUp();
    void OnEntryPicked(int position);

    std::string appFolder_;
    OptionSheet sheet_;
    ProfileChooser* chooser_ = nullptr;
    PropertyGrid* grid_ = nullptr;
};

} // namespace vx

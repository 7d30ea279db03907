#pragma once
// The main window: profile chooser, option sheet, source list and the batch's
// progress panel.

#include "FolderScan.h"
#include "OptionSheet.h"
#include "RewrapHint.h"
#include "SourceList.h"
#include "UserProfiles.h"

#include <QMainWindow>
#include <QPointer>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QMenu;
class QTimer;
class QToolButton;

namespace vx {

class BackgroundScan;
class BatchRun;
class ProbePool;
class Desktop;
class ListKeeper;
class PreviewPanel;
class ProfileChooser;
class WindowBatchView;
class PropertyGrid;
class SourceListView;
class Toolbar;

// The first window's size: the preferred one, as far as the screen's free area
// leaves room for a panel and a title bar.
QSize FirstWindowSize(QSize preferred, QSize available);

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    // appFolder: the application folder as the system reports it (no trailing "/").
    explicit MainWindow(std::string appFolder, Desktop& desktop, QWidget* parent = nullptr);
    ~MainWindow() override;

    ProfileChooser* chooser() const { return chooser_; }
    PropertyGrid* grid() const { return grid_; }
    SourceListView* listView() const { return listView_; }
    OptionSheet& sheet() { return sheet_; }
    SourceList& sources() { return sources_; }
    const std::string& appFolder() const { return appFolder_; }
    const std::string& previewFile() const;
    // Rows whose probe has not reported yet.
    int probing() const { return probing_; }
    // Folders are being scanned or their files added.
    bool adding() const { return adding_; }
    QAction* action(const char* name) const { return actions_.at(name); }
    QMenu* popupMenu() const { return popup_; }

    QTimer* previewTimer() const;
    PreviewPanel* preview() const { return preview_; }
    QWidget* progressPanel() const { return picture4_; }

    // Converts the whole list (the Convert commands).
    void ConvertNow();
    // The program is ended by a signal: nothing is left half written, and the
    // list stays for the next start to offer, as after a crash.
    void EndedFromOutside();
    // The rows of the last batch that did not convert, alone (Edit menu).
    void ConvertFailedAgain();
    // Takes the rows that converted out of the list.
    void RemoveConvertedRows();
    // Opens the log of the last batch (Help menu, and the end message's Show Log).
    void ShowBatchLog();
    // The selected rows become one row converted to one file; and back.
    void JoinSelectedRows();
    void SplitSelectedRow();
    BatchRun& batch() { return *batch_; }
    void BatchEnded(); // the run has ended, however it ended

  signals:
    void batchEnded();

  public:
    // Opens the settings dialog modally.
    void ShowSettings();
    // Opens the capture window modally.
    void ShowCapture();
    // The exit commands: stop the player, stop the preview timer, close.
    void Exit();

    // The commands of the source list.
    void AddFiles();
    // Asks for a folder and adds every Flash Video file below it.
    void AddFolder();
    // Folders give the Flash Video files below them; other files than Flash
    // Video are named once and left out.
    void AddDroppedFiles(const QStringList& paths);
    // Files named on the program's command line ("Open with"): added as a drop adds
    // them, once the event loop runs; relative names are taken from the current folder.
    void AddCommandLineFiles(const QStringList& paths);
    void RemoveSelectedFile();
    void ClearAllFiles();
    // Brings back the rows of the last Clear All, once (Edit > Undo Clear All).
    void UndoClearAll();
    void ShowSelectedRow();

    // The Help menu: the user's guide, the home and support pages, the About window.
    void ShowHelp();
    void OpenHomePage();
    void OpenSupportPage();
    void ShowAbout();
    Toolbar* toolbar() const { return toolbar_; }
    // The preview's commands: play the selected row; open the trimming window for it.
    void PlaySelectedFile();
    void OpenClipWindow();

    // The user's own profiles (MainWindowProfiles.cpp).
    UserProfileStore& userProfiles();
    QMenu* profileMenu() const { return profileMenu_; }
    void SaveAsMyProfile();
    void RenameMyProfile();
    void DeleteMyProfile();
    void ImportProfiles();
    void ExportMyProfile();
    // Imports the profile files (*.vxprofile) among the paths; returns the other paths.
    QStringList ImportProfileFiles(const QStringList& paths);
    // Keeps the list in `folder` from now on, first offering the lists of
    // programs that ended abnormally (MainWindowRecovery.cpp).
    void KeepList(const std::string& folder);
    ListKeeper* keeper() const { return keeper_.get(); }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QAction* MakeAction(const char* name, const QString& caption, const QKeySequence& key = {});
    void BuildMenus();
    void BuildPopupMenu();
    Toolbar* BuildToolbar();
    QWidget* BuildSourceFrame(QWidget* parent);
    QWidget* BuildProgressPanel(QWidget* parent);
    QWidget* BuildPreviewFrame(QWidget* parent);
    void SetBatchBusy(bool busy);
    void UpdateCommandStates();
    void UpdateRowCommandStates();
    void UpdateUndoState();
    void CloseIfPending();
    void PlaceProgressPanel();
    friend class WindowBatchView;
    void StartUp();
    void OnEntryPicked(int position);
    void AddSource(const std::string& path, const std::string& root = {});
    void AddPaths(const QStringList& paths);
    void NextAdd();
    void ShowScanning(int found);
    void ScanDone(ScanResult result);
    void AppendSlice();
    void ReportScan(const ScanResult& result);
    void StopAdding();
    void OnProbed(std::uint64_t id, const std::string& output);
    void BuildProfileCommands();
    void LoadUserProfiles();
    void RestoreUserProfile();
    void RememberUserProfile();
    void ShowUserProfiles();
    void OnUserProfilePicked(const QString& name);
    std::optional<std::string> AskProfileName(const QString& prompt, const QString& suggested);
    bool MayReplaceProfile(const std::string& name);
    void OfferRewrapHint();
    void ShowHint(const QString& text);

    std::string appFolder_;
    Desktop& desktop_;
    OptionSheet sheet_;
    SourceList sources_;
    std::map<std::string, QAction*> actions_;
    Toolbar* toolbar_ = nullptr;
    ProfileChooser* chooser_ = nullptr;
    PropertyGrid* grid_ = nullptr;
    SourceListView* listView_ = nullptr;
    QMenu* popup_ = nullptr;
    PreviewPanel* preview_ = nullptr; // the preview, with its position timer Timer1
    QWidget* picture4_ = nullptr;     // the batch's progress panel
    QTimer* timer2_ = nullptr;        // the batch's elapsed-time clock
    int batchSeconds_ = 0;
    std::unique_ptr<WindowBatchView> batchView_;
    std::unique_ptr<BatchRun> batch_;
    bool batchBusy_ = false;
    std::unique_ptr<ProbePool> probes_;                // started with the first added file
    int probing_ = 0;                                  // rows whose probe has not reported yet
    std::unique_ptr<BackgroundScan> scan_;             // the folders being scanned
    std::deque<std::vector<std::string>> waitingAdds_; // adds that wait for it
    ScanResult scanned_;                               // its files, entering the list
    std::size_t appended_ = 0;                         // how many of them are in
    bool adding_ = false;
    bool closePending_ = false; // a close asked for while a batch ran
    std::unique_ptr<UserProfileStore> userProfiles_;
    QMenu* profileMenu_ = nullptr; // the chooser's context menu
    RewrapHint rewrapHint_;
    std::unique_ptr<ListKeeper> keeper_; // none: the list is not kept
    void OfferKeptLists(const std::string& folder);
};

} // namespace vx

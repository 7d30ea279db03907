#include "MainWindow.h"

#include "BackgroundScan.h"
#include "CaptureWindow.h"
#include "Catalog.h"
#include "CategoryArt.h"
#include "Desktop.h"
#include "ListKeeper.h"
#include "ListSplitter.h"
#include "OptionSets.h"
#include "PanelDragger.h"
#include "PreviewPanel.h"
#include "ProbePool.h"
#include "ProfileChooser.h"
#include "PropertyGrid.h"
#include "RowDetailsLine.h"
#include "Settings.h"
#include "SettingsDialog.h"
#include "SheetLayout.h"
#include "Skin.h"
#include "SourceListView.h"
#include "ToolControl.h"
#include "Toolbar.h"
#include "WindowBatchView.h"

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <cstdio>
#include <string_view>
#include <vector>

namespace vx {

QSize FirstWindowSize(QSize preferred, QSize available) {
    // A panel the screen does not report and the title bar still need room.
    return preferred.boundedTo(available - QSize(32, 80)).expandedTo(QSize(640, 480));
}

MainWindow::MainWindow(std::string appFolder, Desktop& desktop, QWidget* parent)
    : QMainWindow(parent), appFolder_(std::move(appFolder)), desktop_(desktop) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Vantorix 2.00"));
    setWindowIcon(CategoryPicture(41));
    BuildMenus();
    BuildPopupMenu();

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(8, 4, 8, 8);
    layout->setSpacing(6);
    layout->addWidget(BuildToolbar());

    auto* splitter = new QSplitter(Qt::Horizontal, central);
    splitter->setObjectName(QStringLiteral("mainSplitter"));
    auto* left = new ListSplitter(appFolder_, splitter); // the list gets most of the height
    left->setObjectName(QStringLiteral("listPreviewSplitter"));
    left->addWidget(BuildSourceFrame(left));
    left->addWidget(BuildPreviewFrame(left));
    splitter->addWidget(left);
    auto* sheetFrame = new QGroupBox(tr("Options"), splitter);
    auto* sheetLayout = new QVBoxLayout(sheetFrame);
    grid_ = new PropertyGrid(sheet_, sheetFrame);
    grid_->setObjectName(QStringLiteral("PS1"));
    sheetLayout->addWidget(grid_);
    splitter->addWidget(sheetFrame);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    layout->addWidget(splitter, 1);
    setCentralWidget(central);

    picture4_ = BuildProgressPanel(central);
    new PanelDragger(picture4_); // the panel moves with the left mouse button

    connect(chooser_, &ProfileChooser::entryPicked, this, &MainWindow::OnEntryPicked);
    BuildProfileCommands();
    resize(FirstWindowSize(QSize(1120, 760), screen()->availableGeometry().size()));
    StartUp();
}

QAction* MainWindow::MakeAction(const char* name, const QString& caption, const QKeySequence& key) {
    auto* action = new QAction(caption, this);
    action->setObjectName(QLatin1String(name));
    if (!key.isEmpty()) {
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
    }
    actions_[name] = action;
    return action;
}

void MainWindow::BuildMenus() {
    struct Entry {
        const char* name;
        const char* caption; // "-" is a separator
        const char* shortcut;
    };
    const struct {
        const char* name;
        const char* caption;
        std::vector<Entry> entries;
    } menus[] = {
        {"file",
         "File(&F)",
         {{"AddFiles", "Add Files", "Ctrl+A"},
          {"AddFolder", "Add Folder...", "Ctrl+Shift+A"},
          {"RemoveSelectedFile", "Remove Selected File", "Ctrl+R"},
          {"ClearAllFiles", "Clear All Files", "Ctrl+C"},
          {"filefg", "-", ""},
          {"Capture", "Capture Video From DV", ""},
          {"fg54", "-", ""},
          {"exit", "Exit", "Ctrl+X"}}},
        {"edit",
         "Edit(&E)",
         {{"UndoClearAll", "Undo Clear All", "Ctrl+Z"},
          {"fg20", "-", ""},
          {"JoinIntoOneFile", "Join Into One File", ""},
          {"SplitIntoParts", "Split Into Parts", ""},
          {"fg22", "-", ""},
          {"ConvertFailedAgain", "Convert Failed Again", ""},
          {"RemoveConvertedRows", "Remove Converted Rows", ""},
          {"fg23", "-", ""},
          {"options", "Video Settings", "Ctrl+S"},
          {"fg21", "-", ""},
          {"checkupdate", "Check for Updates", ""}}},
        {"action",
         "Action(&A)",
         {{"BurnNow", "Convert Now!", "Ctrl+N"},
          {"actionfg1", "-", ""},
          {"play", "Play Selected File", "Ctrl+P"},
          {"actionfg2", "-", ""},
          {"videoclip", "Video Clip", "Ctrl+V"}}},
        {"help",
         "Help(&H)",
         {{"helphelp", "Help", "F1"},
          {"helpfg1", "-", ""},
          {"CDBurnerHomePage", "Video Converter Home Page", "Ctrl+H"},
          {"SupportOnline", "Support Online", "Ctrl+T"},
          {"BatchLog", "Batch Log", ""},
          {"helpfg3", "-", ""},
          {"About", "About", ""}}},
    };
    for (const auto& menu : menus) {
        QMenu* bar = menuBar()->addMenu(QString::fromUtf8(menu.caption));
        bar->setObjectName(QLatin1String(menu.name));
        for (const Entry& entry : menu.entries) {
            if (std::string_view(entry.caption) == "-")
                bar->addSeparator()->setObjectName(QLatin1String(entry.name));
            else
                bar->addAction(MakeAction(entry.name, QString::fromUtf8(entry.caption),
                                          QKeySequence(QString::fromLatin1(entry.shortcut))));
        }
    }
    connect(action("AddFiles"), &QAction::triggered, this, &MainWindow::AddFiles);
    connect(action("AddFolder"), &QAction::triggered, this, &MainWindow::AddFolder);
    connect(action("RemoveSelectedFile"), &QAction::triggered, this,
            &MainWindow::RemoveSelectedFile);
    connect(action("ClearAllFiles"), &QAction::triggered, this, &MainWindow::ClearAllFiles);
    connect(action("UndoClearAll"), &QAction::triggered, this, &MainWindow::UndoClearAll);
    action("UndoClearAll")->setEnabled(false); // until a clear leaves something to undo
    // Clear All is off while a batch runs; so is its undo.
    connect(action("ClearAllFiles"), &QAction::enabledChanged, this, &MainWindow::UpdateUndoState);
    connect(action("exit"), &QAction::triggered, this, &MainWindow::Exit);
    connect(action("options"), &QAction::triggered, this, &MainWindow::ShowSettings);
    connect(action("Capture"), &QAction::triggered, this, &MainWindow::ShowCapture);
    // "checkupdate" has no action.
    connect(action("videoclip"), &QAction::triggered, this, &MainWindow::OpenClipWindow);
    connect(action("play"), &QAction::triggered, this, &MainWindow::PlaySelectedFile);
    connect(action("BurnNow"), &QAction::triggered, this, &MainWindow::ConvertNow);
    connect(action("helphelp"), &QAction::triggered, this, &MainWindow::ShowHelp);
    connect(action("CDBurnerHomePage"), &QAction::triggered, this, &MainWindow::OpenHomePage);
    connect(action("SupportOnline"), &QAction::triggered, this, &MainWindow::OpenSupportPage);
    connect(action("About"), &QAction::triggered, this, &MainWindow::ShowAbout);
    connect(action("BatchLog"), &QAction::triggered, this, &MainWindow::ShowBatchLog);
    connect(action("ConvertFailedAgain"), &QAction::triggered, this,
            &MainWindow::ConvertFailedAgain);
    connect(action("RemoveConvertedRows"), &QAction::triggered, this,
            &MainWindow::RemoveConvertedRows);
    connect(action("JoinIntoOneFile"), &QAction::triggered, this, &MainWindow::JoinSelectedRows);
    connect(action("SplitIntoParts"), &QAction::triggered, this, &MainWindow::SplitSelectedRow);
    // Whether they apply follows the batch and the selection: looked at on opening.
    connect(menuBar()->findChild<QMenu*>(QStringLiteral("edit")), &QMenu::aboutToShow, this,
            &MainWindow::UpdateCommandStates);
}

void MainWindow::BuildPopupMenu() {
    popup_ = new QMenu(this);
    popup_->setObjectName(QStringLiteral("popupmenu1"));
    auto add = [this](const char* name, const QString& caption, QAction* twin) {
        QAction* entry = MakeAction(name, caption);
        if (twin)
            connect(entry, &QAction::triggered, twin, &QAction::trigger);
        else
            entry->setEnabled(false); // its command comes with a later window
        popup_->addAction(entry);
    };
    add("convertnow1", QStringLiteral("Convert Now!"), action("BurnNow"));
    popup_->addSeparator();
    add("PlaySelectedFile", QStringLiteral("Play Selected File"), action("play"));
    popup_->addSeparator();
    add("cuttime", QStringLiteral("Video Clip"), action("videoclip"));
    popup_->addSeparator();
    add("JoinIntoOneFile1", QStringLiteral("Join Into One File"), action("JoinIntoOneFile"));
    add("SplitIntoParts1", QStringLiteral("Split Into Parts"), action("SplitIntoParts"));
    popup_->addSeparator();
    add("AddFiless", QStringLiteral("Add Files"), action("AddFiles"));
    add("RemoveSelectedItem", QStringLiteral("Remove Selected Item"), action("RemoveSelectedFile"));
    add("ClearAllItems", QStringLiteral("Clear All Items"), action("ClearAllFiles"));
    popup_->addSeparator();
    add("Capture1", QStringLiteral("Capture Video From DV"), action("Capture"));
}

// Each toolbar image runs the menu command beside it.
Toolbar* MainWindow::BuildToolbar() {
    toolbar_ = new Toolbar(this);
    chooser_ = toolbar_->chooser();
    // clang-format off
    const std::pair<const char*, const char*> kCommands[] = {
        {"Image1", "AddFiles"}, {"Image2", "RemoveSelectedFile"}, {"Image9", "ClearAllFiles"},
        {"Image10", "options"}, {"Image11", "BurnNow"}, {"Image8", "helphelp"}, {"Image7", "exit"},
    };
    // clang-format on
    for (const auto& [image, command] : kCommands)
        connect(toolbar_->image(QLatin1String(image)), &QToolButton::clicked, action(command),
                &QAction::trigger);
    return toolbar_;
}

QWidget* MainWindow::BuildSourceFrame(QWidget* parent) {
    auto* frame = new QGroupBox(QStringLiteral("Video List"), parent);
    frame->setObjectName(QStringLiteral("videoListFrame"));
    auto* layout = new QVBoxLayout(frame);
    listView_ = new SourceListView(sources_, frame);
    layout->addWidget(listView_);
    layout->addWidget(new RowDetailsLine(*listView_, frame)); // the current row, in full
    connect(listView_, &SourceListView::filesDropped, this, &MainWindow::AddDroppedFiles);
    connect(listView_, &SourceListView::deletePressed, action("RemoveSelectedFile"),
            &QAction::trigger);
    connect(listView_, &SourceListView::rightButtonPressed, this, [this](const QPoint& at) {
        UpdateCommandStates();
        popup_->popup(at);
    });
    connect(listView_, &QAbstractItemView::clicked, this, &MainWindow::ShowSelectedRow);
    connect(listView_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &MainWindow::UpdateRowCommandStates);
    connect(listView_, &QAbstractItemView::doubleClicked, this, &MainWindow::OpenClipWindow);
    return frame;
}

// Start-up, in its fixed order; a step that fails is skipped.
void MainWindow::StartUp() {
    ApplySkinFile(this, appFolder_);
    // The chooser's image list is the set of category pictures (CategoryArt).
    picture4_->hide();
    chooser_->FillCatalog();
    // The saved profile is selected and its option set applied, as a pick would,
    // so that the sheet shows what a conversion will use; a saved heading or a
    // value that names no entry selects nothing.
    const int saved = LoadProfilePosition(appFolder_);
    const bool profile = ProfileCatalog::At(saved) && !ProfileCatalog::IsHeading(saved);
    chooser_->SelectPosition(profile ? saved : 0);
    FillDefaultLayout(sheet_);
    if (profile) ApplyOptionSet(sheet_, saved);
    // The user's own profiles follow the catalog; one selected at the last exit
    // is selected and applied again.
    LoadUserProfiles();
    RestoreUserProfile();
    // The grid's display settings are its own (PropertyGrid switches them on).
}

void MainWindow::ShowSettings() {
    SettingsDialog dialog(appFolder_, desktop_, this);
    dialog.exec();
}

void MainWindow::ShowCapture() {
    CaptureWindow dialog(appFolder_, desktop_, nullptr, this);
    dialog.exec();
}

void MainWindow::Exit() {
    preview_->Exit(); // Q to the player, the position timer off
    close();
}

void MainWindow::OnEntryPicked(int position) {
    ApplyOptionSet(sheet_, position);
    OfferRewrapHint();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (batch_->Running()) { // leave the encoder be and stop touching the window
        batch_->Abandon();
        closePending_ = true;
        event->ignore();
        return;
    }
    StopAdding();                      // nor does a scan
    if (probes_) probes_->CancelAll(); // a probe never keeps the window from closing
    // Remember the chosen entry for the next start; a failed write does not keep
    // the program from ending, but it is logged.
    if (const int position = chooser_->SelectedPosition(); position > 0) {
        std::string reason;
        if (!SaveProfilePosition(appFolder_, position, &reason))
            std::fprintf(stderr, "vantorix: the profile could not be saved to %s: %s\n",
                         SettingsPath(appFolder_).c_str(), reason.c_str());
    }
    RememberUserProfile();
    if (keeper_) keeper_->Closed(); // a normal end: the next start is a fresh one
    QMainWindow::closeEvent(event);
}

} // namespace vx

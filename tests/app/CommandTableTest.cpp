// Every command control of the main window (menu bar, pop-up menu, toolbar,
// shortcut) reaches the action it names, and the twins behave alike.
#include "CommandEffects.h"
#include "FakeDesktop.h"
#include "MainWindow.h"
#include "ProfileChooser.h"
#include "SourceListView.h"
#include "Toolbar.h"
#include "WindowKit.h"

#include <QMenuBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QUrl>
#include <QtTest>

using namespace vx;
using vxtest::Effects;

namespace {

QString HelpUrl(const QString& folder, const char* page) {
    return QUrl::fromLocalFile(folder + "/help/" + page).toString();
}

QString WebOrHelp(const char* address, const QString& folder, const char* page) {
    return *address ? QString::fromUtf8(address) : HelpUrl(folder, page);
}

} // namespace

class CommandTableTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void helpMenuFollowsTheFileMenus();
    void eachMenuCommandDoesItsAction();
    void everyControlReachesItsCommand_data();
    void everyControlReachesItsCommand();
    void twinsBehaveAlike_data();
    void twinsBehaveAlike();
    void keyboardReachesChooserAndToolbar();

  private:
    // A fresh window; with rows, two files that do not exist (the second selected first).
    MainWindow& Fresh(bool rows);
    Effects Run(bool rows, const std::function<void(MainWindow&)>& act);

    // A folder with a blank: the guide's address must still name it.
    QTemporaryDir folder_{QDir::tempPath() + "/vx commands-XXXXXX"};
    vxtest::FakeDesktop desktop_;
    std::unique_ptr<MainWindow> window_;
};

void CommandTableTest::init() {
    QVERIFY(folder_.isValid());
}

void CommandTableTest::cleanup() {
    window_.reset();
}

MainWindow& CommandTableTest::Fresh(bool rows) {
    window_.reset();
    desktop_ = vxtest::FakeDesktop();
    window_ = vxtest::OpenWindow(folder_.path().toStdString(), desktop_);
    window_->activateWindow();
    [&] { QVERIFY(QTest::qWaitForWindowActive(window_.get())); }();
    if (rows) {
        window_->chooser()->SelectPosition(84); // Customized AVI Movie(*.avi)
        desktop_.nextFiles = {folder_.path() + "/gone one.flv", folder_.path() + "/gone two.flv"};
        window_->AddFiles();
        [&] { QTRY_COMPARE(window_->probing(), 0); }();
        window_->listView()->setCurrentIndex(window_->listView()->model()->index(0, 0));
    }
    window_->listView()->setFocus();
    return *window_;
}

Effects CommandTableTest::Run(bool rows, const std::function<void(MainWindow&)>& act) {
    MainWindow& window = Fresh(rows);
    return vxtest::Observe(window, desktop_, [&] { act(window); });
}

void CommandTableTest::helpMenuFollowsTheFileMenus() {
    MainWindow& window = Fresh(false);
    const QList<QAction*> menus = window.menuBar()->actions();
    QCOMPARE(menus.size(), 4);
    QMenu* help = menus.last()->menu();
    QCOMPARE(help->objectName(), QStringLiteral("help"));
    QCOMPARE(help->title(), QStringLiteral("Help(&H)"));
    QStringList entries;
    for (QAction* entry : help->actions())
        entries << entry->objectName() + (entry->isSeparator() ? "" : " " + entry->text()) + " " +
                       entry->shortcut().toString();
    QCOMPARE(entries, (QStringList{"helphelp Help F1", "helpfg1 ",
                                   "CDBurnerHomePage Video "
                                   "Converter Home Page Ctrl+H",
                                   "SupportOnline Support Online Ctrl+T", "BatchLog Batch Log ",
                                   "helpfg3 ", "About About "}));
    QVERIFY(window.toolbar()->image("Image8")->isEnabled());
}

// The menu commands themselves, on a list of two rows whose files have gone.
void CommandTableTest::eachMenuCommandDoesItsAction() {
    const QString gone = folder_.path() + "/gone one.flv";
    const QString other = folder_.path() + "/gone two.flv";
    const Effects nothing = Run(true, [](MainWindow&) {});
    // Files the player cannot read say so as soon as they are added.
    QCOMPARE(nothing.rows, (QStringList{gone + " Unreadable", other + " Unreadable"}));
    auto menu = [&](const char* name) {
        return Run(true, [name](MainWindow& w) { w.action(name)->trigger(); });
    };
    QCOMPARE(menu("AddFiles").dialog, QStringLiteral("Open Video File"));
    QCOMPARE(menu("RemoveSelectedFile").rows, QStringList{other + " Unreadable"});
    QCOMPARE(menu("ClearAllFiles").rows, QStringList{});
    QCOMPARE(menu("exit").windowVisible, false);
    QCOMPARE(menu("options").modals, QStringList{"Frmset"});
    QCOMPARE(menu("checkupdate"), nothing);
    const Effects convert = menu("BurnNow");
    QCOMPARE(convert.messages, QStringList{"Invalid input file name. " + gone});
    const Effects help = menu("helphelp");
    QCOMPARE(help.urls, QStringList{HelpUrl(folder_.path(), "index.html")});
    QCOMPARE(QUrl(help.urls.value(0)).toLocalFile(), folder_.path() + "/help/index.html");
    QCOMPARE(menu("CDBurnerHomePage").urls,
             QStringList{WebOrHelp(VX_HOME_PAGE_URL, folder_.path(), "home.html")});
    QCOMPARE(menu("SupportOnline").urls,
             QStringList{WebOrHelp(VX_SUPPORT_URL, folder_.path(), "support.html")});
    QCOMPARE(menu("About").modals, QStringList{"Form6"});
    // The capture window comes with its own work; until then the command is inert.
    const Effects capture = menu("Capture");
    if (Fresh(false).action("Capture")->isEnabled())
        QCOMPARE(capture.modals, QStringList{"Form3"});
    else
        QCOMPARE(capture, nothing);
}

void CommandTableTest::everyControlReachesItsCommand_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("command");
    // clang-format off
    const char* const rows[][3] = {
        {"AddFiles", "Ctrl+A", "AddFiles"}, {"AddFiless", "trigger", "AddFiles"},
        {"Image1", "click", "AddFiles"},
        {"RemoveSelectedFile", "Ctrl+R", "RemoveSelectedFile"},
        {"RemoveSelectedItem", "trigger", "RemoveSelectedFile"}, {"Image2", "click", "RemoveSelectedFile"},
        {"ClearAllFiles", "Ctrl+C", "ClearAllFiles"}, {"ClearAllItems", "trigger", "ClearAllFiles"},
        {"Image9", "click", "ClearAllFiles"},
        {"Capture1", "trigger", "Capture"},
        {"exit", "Ctrl+X", "exit"}, {"Image7", "click", "exit"}, {"Image7", "Return", "exit"},
        {"options", "Ctrl+S", "options"}, {"Image10", "click", "options"}, {"Image10", "Space", "options"},
        {"BurnNow", "Ctrl+N", "BurnNow"}, {"convertnow1", "trigger", "BurnNow"},
        {"Image11", "click", "BurnNow"}, {"Image11", "Enter", "BurnNow"},
        {"play", "Ctrl+P", "play"}, {"PlaySelectedFile", "trigger", "play"},
        {"videoclip", "Ctrl+V", "videoclip"}, {"cuttime", "trigger", "videoclip"},
        {"helphelp", "F1", "helphelp"}, {"Image8", "click", "helphelp"}, {"Image8", "Space", "helphelp"},
        {"CDBurnerHomePage", "Ctrl+H", "CDBurnerHomePage"},
        {"SupportOnline", "Ctrl+T", "SupportOnline"},
    };
    // clang-format on
    for (const auto& row : rows)
        QTest::addRow("%s %s", row[0], row[1]) << row[0] << row[1] << row[2];
}

void CommandTableTest::everyControlReachesItsCommand() {
    QFETCH(QString, control);
    QFETCH(QString, way);
    QFETCH(QString, command);
    const Effects expected =
        Run(true, [&](MainWindow& w) { w.action(command.toLatin1().constData())->trigger(); });
    const Effects reached = Run(true, [&](MainWindow& w) {
        if (way == "trigger") return w.action(control.toLatin1().constData())->trigger();
        if (control.startsWith("Image")) {
            ToolbarImage* image = w.toolbar()->image(control);
            if (way == "click") return QTest::mouseClick(image, Qt::LeftButton);
            image->setFocus(Qt::TabFocusReason);
            const Qt::Key key = way == "Space"    ? Qt::Key_Space
                                : way == "Return" ? Qt::Key_Return
                                                  : Qt::Key_Enter;
            return QTest::keyClick(image, key);
        }
        QTest::keySequence(&w, QKeySequence(way));
    });
    QCOMPARE(reached, expected);
}

void CommandTableTest::twinsBehaveAlike_data() {
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("popup");
    QTest::addColumn<bool>("rows");
    for (bool rows : {false, true})
        for (auto [menu, popup] : {std::pair{"play", "PlaySelectedFile"},
                                   {"videoclip", "cuttime"},
                                   {"BurnNow", "convertnow1"},
                                   {"Capture", "Capture1"}})
            QTest::addRow("%s %s", menu, rows ? "rows" : "empty") << menu << popup << rows;
}

void CommandTableTest::twinsBehaveAlike() {
    QFETCH(QString, menu);
    QFETCH(QString, popup);
    QFETCH(bool, rows);
    auto trigger = [this, rows](const QString& name) {
        return Run(rows, [&](MainWindow& w) {
            QAction* action = w.action(name.toLatin1().constData());
            QVERIFY(action);
            action->trigger();
        });
    };
    const Effects fromMenu = trigger(menu);
    QCOMPARE(trigger(popup), fromMenu);
    const bool popupEnabled = Fresh(rows).action(popup.toLatin1().constData())->isEnabled();
    QCOMPARE(Fresh(rows).action(menu.toLatin1().constData())->isEnabled(), popupEnabled);
}

// Alt+P moves to the chooser; Tab reaches the toolbar images, which show their
// focus and run on Space and Return.
void CommandTableTest::keyboardReachesChooserAndToolbar() {
    MainWindow& window = Fresh(false);
    QTest::keyClick(&window, Qt::Key_P, Qt::AltModifier);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(window.chooser()));

    ToolbarImage* help = window.toolbar()->image("Image8");
    QVERIFY(help->focusPolicy() & Qt::TabFocus);
    const QImage unfocused = help->grab().toImage();
    help->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(help->hasFocus());
    QVERIFY2(help->grab().toImage() != unfocused, "the focused image looks the same");
    QTest::keyClick(help, Qt::Key_Return);
    QTest::keyClick(help, Qt::Key_Space);
    QCOMPARE(desktop_.openedUrls.size(), 2);
}

QTEST_MAIN(CommandTableTest)
#include "CommandTableTest.moc"

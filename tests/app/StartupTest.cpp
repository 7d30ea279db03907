// The main window's start-up and shut-down against settings.dat.
#include "FakeDesktop.h"
#include "IniFile.h"
#include "MainWindow.h"
#include "ProfileChooser.h"
#include "PropertyGrid.h"
#include "Settings.h"
#include "SettingsDialog.h"
#include "UserFolders.h"
#include "WindowKit.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <fstream>

using namespace vx;
namespace fs = std::filesystem;

class StartupTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void aFirstRunSelectsNothingAndClosingWritesNothing();
    void aStoredProfileIsSelectedAndAppliedAndOthersSelectNothing();
    void closingSavesTheProfileBesideTheDialogsKeys();
    void exitClosesTheWindowAndStopsThePreviewTimer();
    void theSkinIsAppliedWhenPresentAndSkippedWhenNot();

  private:
    std::unique_ptr<MainWindow> Open() { return vxtest::OpenWindow(app_, desktop_); }
    QString Value(MainWindow& window, const char* group, const char* item) {
        return window.grid()->sheetModel()->ValueIndex(group, item).data().toString();
    }
    std::string Content() {
        std::ifstream in(SettingsPath(app_));
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::unique_ptr<QTemporaryDir> folder_;
    std::string app_;
    vxtest::FakeDesktop desktop_;
};

void StartupTest::init() {
    folder_ = std::make_unique<QTemporaryDir>();
    app_ = folder_->path().toStdString();
}

void StartupTest::aFirstRunSelectsNothingAndClosingWritesNothing() {
    auto window = Open();
    QCOMPARE(window->chooser()->SelectedPosition(), 0);
    QCOMPARE(Value(*window, "Video Options", "Video Codec"), QStringLiteral("xvid"));
    QVERIFY(!window->progressPanel()->isVisible());
    QVERIFY(!window->previewTimer()->isActive());
    QCOMPARE(window->previewTimer()->interval(), 1000);
    window->close();
    QVERIFY(!fs::exists(SettingsPath(app_)));
}

// The sheet shows what the chosen profile converts with, from the first moment;
// a stored value that names no entry selects nothing.
void StartupTest::aStoredProfileIsSelectedAndAppliedAndOthersSelectNothing() {
    WriteSetting(SettingsPath(app_), "set", "profile", "86");
    auto window = Open();
    QCOMPARE(window->chooser()->SelectedText(), QStringLiteral("Customized MP4 Movie(*.mp4)"));
    QCOMPARE(Value(*window, "Video Options", "Video Codec"), QStringLiteral("x264"));
    QCOMPARE(Value(*window, "Audio Options", "Audio Codec"), QStringLiteral("aac"));
    WriteSetting(SettingsPath(app_), "set", "profile", "5");
    auto ipod = Open();
    QCOMPARE(ipod->chooser()->SelectedText(),
             QStringLiteral("Apple iPod Movie for 576p TV Out(*.mp4)"));
    QCOMPARE(Value(*ipod, "Video Options", "Video Size"), QStringLiteral("768x576"));
    QCOMPARE(Value(*ipod, "Video Options", "Video Bitrate"), QStringLiteral("512"));
    for (const char* stored : {"abc", "0", "93", "-4", "1", "79"}) { // 1 and 79: headings
        WriteSetting(SettingsPath(app_), "set", "profile", stored);
        auto other = Open();
        QCOMPARE(other->chooser()->SelectedPosition(), 0);
    }
}

void StartupTest::closingSavesTheProfileBesideTheDialogsKeys() {
    {
        auto window = Open();
        window->chooser()->SelectPosition(70);
        window->close();
    }
    QCOMPARE(Content(), std::string("[Set]\nprofile=70\n"));
    SettingsDialog dialog(app_, desktop_);
    dialog.threadBox()->setText(QStringLiteral("2"));
    dialog.okButton()->click();
    QCOMPARE(Content(), "[Set]\nprofile=70\noutputfolder=" + VideosFolder() +
                            "\nexistedfile=0\nautoshut=0\nthread=2\nparallel=0\nkeepfolders=0\n");
    auto again = Open();
    QCOMPARE(again->chooser()->SelectedText(),
             QStringLiteral("Nokia N-Series MPEG-4 Movie(*.mp4)"));
}

void StartupTest::exitClosesTheWindowAndStopsThePreviewTimer() {
    auto window = Open();
    window->chooser()->SelectPosition(2);
    window->previewTimer()->start();
    window->action("exit")->trigger();
    QVERIFY(!window->isVisible());
    QVERIFY(!window->previewTimer()->isActive());
    QCOMPARE(ReadSetting(SettingsPath(app_), "set", "profile"), std::string("2"));
}

void StartupTest::theSkinIsAppliedWhenPresentAndSkippedWhenNot() {
    {
        auto plain = Open();
        QVERIFY(plain->styleSheet().isEmpty());
    }
    fs::create_directories(app_ + "/skins");
    std::ofstream(app_ + "/skins/frmmain.skn") << "QMainWindow { background: #123456; }";
    auto skinned = Open();
    QVERIFY(skinned->styleSheet().contains(QStringLiteral("#123456")));
    std::ofstream(app_ + "/skins/frmmain.skn") << "this is { not a style sheet";
    auto broken = Open(); // Qt ignores what it cannot parse; the window still opens
    QVERIFY(broken->isVisible());
}

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"

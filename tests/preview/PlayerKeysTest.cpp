// The player tool launched into a real X window and steered by keys.
#include "TestMedia.h"
#include "ToolControl.h"
#include "Tools.h"

#include <QWidget>
#include <QtTest>
#include <chrono>
#include <filesystem>

using namespace vx;
using namespace std::chrono_literals;

namespace {

const std::string kAppFolder = VX_APP_DIR;

// Waits until the text shows in the tool's log, letting Qt serve its window meanwhile.
bool WaitForLog(pid_t pid, const char* text, int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) {
        if (vxtest::ReadFile(ToolRegistry::Instance().LogPath(pid)).find(text) != std::string::npos)
            return true;
        QTest::qWait(50);
    }
    return false;
}

bool WaitForExit(pid_t pid, int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) {
        if (ToolRegistry::Instance().WaitForExit(pid, 20ms)) return true;
        QCoreApplication::processEvents();
    }
    return false;
}

} // namespace

class PlayerKeysTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void cleanupTestCase();
    void pausesOnSpaceAndQuitsOnQ();
    void aKeyBeforeAnyLaunchReachesNothing();
    void stopTwicePostsQTwiceWithoutHarm();
    void tenLaunchesLeaveNoZombie();
    void everyRunOfThePlayerKeepsOutOfTheUsersHome();

  private:
    std::string folder_;
    std::string file_;
    std::unique_ptr<QWidget> surface_;
};

void PlayerKeysTest::initTestCase() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QFAIL("needs an X server: run the tests under xvfb-run");
    folder_ = vxtest::MakeTempFolder("vx-keys");
    file_ = folder_ + "/movie.flv";
    QVERIFY(vxtest::MakeFlv(file_, {.seconds = 30}));
    ToolRegistry::Instance().SetLogFolder(folder_);
    surface_ = std::make_unique<QWidget>();
    surface_->setAttribute(Qt::WA_NativeWindow);
    surface_->resize(320, 240);
    surface_->show();
    QVERIFY(QTest::qWaitForWindowExposed(surface_.get()));
}

void PlayerKeysTest::cleanupTestCase() {
    ToolRegistry::Instance().SetLogFolder({});
    surface_.reset();
    vxtest::RemoveFolder(folder_);
}

void PlayerKeysTest::pausesOnSpaceAndQuitsOnQ() {
    ToolControl control;
    QVERIFY(control.LaunchPlayer(kAppFolder, surface_->winId(), file_, std::nullopt));
    const pid_t pid = control.PlayerProcessId;
    QVERIFY(pid > 0);
    QVERIFY(control.PlayerCommandLine.find(" -wid  ") != std::string::npos);
    QVERIFY2(WaitForLog(pid, "Starting playback", 10000),
             vxtest::ReadFile(ToolRegistry::Instance().LogPath(pid)).c_str());
    QVERIFY(control.PostKeyToPlayer(kKeySpace));
    QVERIFY2(WaitForLog(pid, "PAUSE", 5000),
             vxtest::ReadFile(ToolRegistry::Instance().LogPath(pid)).c_str());
    QVERIFY(control.PostKeyToPlayer(kKeyQ));
    QVERIFY(WaitForExit(pid, 5000));
}

void PlayerKeysTest::aKeyBeforeAnyLaunchReachesNothing() {
    ToolControl control;
    QVERIFY(!control.PostKeyToPlayer(kKeyQ));
    QVERIFY(!control.PostKeyToEncoder(kKeyQ));
    QVERIFY(!control.ToolWindow);
}

void PlayerKeysTest::stopTwicePostsQTwiceWithoutHarm() {
    ToolControl control;
    QVERIFY(control.LaunchPlayer(kAppFolder, surface_->winId(), file_, 3));
    QVERIFY(control.PlayerCommandLine.find("mp.dll\" -ss 3 -wid ") != std::string::npos);
    const pid_t pid = control.PlayerProcessId;
    QVERIFY(WaitForLog(pid, "Starting playback", 10000));
    QVERIFY(control.PostKeyToPlayer(kKeyQ));
    QVERIFY(WaitForExit(pid, 5000));
    QVERIFY(!control.PostKeyToPlayer(kKeyQ)); // the player is gone: the key goes nowhere
    QVERIFY(control.ToolWindow);              // the last successful search is kept
}

void PlayerKeysTest::tenLaunchesLeaveNoZombie() {
    ToolControl control;
    std::vector<pid_t> pids;
    for (int i = 0; i < 10; ++i) {
        if (control.PlayerProcessId) control.PostKeyToPlayer(kKeyQ); // as every restart does
        QVERIFY(control.LaunchPlayer(kAppFolder, surface_->winId(), file_, i));
        pids.push_back(control.PlayerProcessId);
        QTest::qWait(100);
    }
    control.PostKeyToPlayer(kKeyQ);
    for (pid_t pid : pids)
        QVERIFY(WaitForExit(pid, 10000));
    QTest::qWait(200);
    QCOMPARE(vxtest::ChildProcesses(true), 0);
    QCOMPARE(ToolRegistry::Instance().RunningCount(), 0);
}

// The player writes its config folder on its first run: for a preview, into a
// home of the program's own in the cache folder (for a version: the About test).
void PlayerKeysTest::everyRunOfThePlayerKeepsOutOfTheUsersHome() {
    const std::string home = folder_ + "/home", cache = folder_ + "/cache";
    std::filesystem::create_directories(home);
    const vxtest::ScopedEnvironment user(
        {{"HOME", home}, {"XDG_CACHE_HOME", cache}, {"MPLAYER_HOME", home + "/.mplayer"}});
    ToolControl control;
    QVERIFY(control.LaunchPlayer(kAppFolder, surface_->winId(), file_, std::nullopt));
    QVERIFY(WaitForLog(control.PlayerProcessId, "Starting playback", 10000));
    control.PostKeyToPlayer(kKeyQ);
    QVERIFY(WaitForExit(control.PlayerProcessId, 5000));
    QVERIFY(std::filesystem::exists(cache + "/vantorix/player/.mplayer/config"));
    QVERIFY(std::filesystem::is_empty(home));
}

QTEST_MAIN(PlayerKeysTest)
#include "PlayerKeysTest.moc"

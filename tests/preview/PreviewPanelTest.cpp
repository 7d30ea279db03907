// The preview panel with the real player drawing into its surface on an X server.
#include "PreviewPanel.h"
#include "TestMedia.h"
#include "Tools.h"
#include "VideoSurface.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QTimer>
#include <QtTest>
#include <chrono>

using namespace vx;
using namespace std::chrono_literals;

namespace {

QImage Grab(VideoSurface* surface) {
    return surface->screen()->grabWindow(surface->winId()).toImage();
}

bool Dark(QRgb pixel) {
    return qRed(pixel) < 16 && qGreen(pixel) < 16 && qBlue(pixel) < 16;
}

// Not black over most of it, and the picture reaches every edge of the surface.
bool ShowsVideo(const QImage& image) {
    if (image.isNull()) return false;
    const int w = image.width(), h = image.height();
    int lit = 0, samples = 0;
    for (int y = 0; y < h; y += 4)
        for (int x = 0; x < w; x += 4, ++samples)
            lit += Dark(image.pixel(x, y)) ? 0 : 1;
    auto edgeLit = [&](int x0, int y0, int x1, int y1) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (!Dark(image.pixel(x, y))) return true;
        return false;
    };
    return lit * 2 > samples && edgeLit(0, 0, w, 3) && edgeLit(0, h - 3, w, h) &&
           edgeLit(0, 0, 3, h) && edgeLit(w - 3, 0, w, h);
}

bool WaitFor(const std::function<bool()>& condition, int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) {
        if (condition()) return true;
        QTest::qWait(20);
    }
    return condition();
}

pid_t Player() {
    return SharedToolControl().PlayerProcessId;
}

bool Ends(pid_t pid, int milliseconds) {
    return WaitFor([pid] { return !ToolRegistry::Instance().Running(pid); }, milliseconds);
}

std::optional<double> PlayersOwnPosition() {
    return PlayPositionOf(ToolRegistry::Instance().StatusLine(Player()));
}

} // namespace

class PreviewPanelTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();
    void playShowsTheVideoFillingTheSurface();
    void pauseFreezesThePictureAndResumesIt();
    void stopEndsThePlayerAtOnce();
    void seekRestartsThePlayerAtTheTarget();
    void lastAndFirstFramesRestartThePlayer();
    void forwardShowsWhereThePlayerIs();
    void manyPlayStopCyclesLeaveNoProcess();

  private:
    void Play() { panel_->Play(false, PlayItem{file_, "0:00:30"}); }
    void Click(const char* name) { panel_->findChild<QPushButton*>(name)->click(); }
    bool WaitForVideo() {
        return WaitFor([this] { return ShowsVideo(Grab(panel_->surface())); }, 5000);
    }
    std::string folder_, file_;
    std::unique_ptr<PreviewPanel> panel_;
};

void PreviewPanelTest::initTestCase() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QFAIL("needs an X server: run the tests under xvfb-run");
    folder_ = vxtest::MakeTempFolder("vx-preview");
    file_ = folder_ + "/movie.flv";
    QVERIFY(vxtest::MakeFlv(file_, {.seconds = 30}));
    ToolRegistry::Instance().SetLogFolder(folder_);
}

void PreviewPanelTest::init() {
    panel_ = std::make_unique<PreviewPanel>(VX_APP_DIR, "Text2", "Slider1");
    panel_->resize(400, 380);
    panel_->show();
    QVERIFY(QTest::qWaitForWindowExposed(panel_.get()));
}

void PreviewPanelTest::cleanup() {
    panel_->Stop();
    QVERIFY(Ends(Player(), 3000));
    panel_.reset();
}

void PreviewPanelTest::cleanupTestCase() {
    vxtest::RemoveFolder(folder_);
}

void PreviewPanelTest::playShowsTheVideoFillingTheSurface() {
    QVERIFY(!ShowsVideo(Grab(panel_->surface())));
    QCOMPARE(panel_->findChild<QLabel*>("SkinLabel10")->text(),
             QStringLiteral("Total time: 0:00:00"));
    Click("cmdPlay"); // asks its holder what to play
    Play();
    QVERIFY(panel_->timer()->isActive());
    QCOMPARE(panel_->findChild<QLabel*>("SkinLabel10")->text(),
             QStringLiteral("Total time:0:00:30"));
    QVERIFY2(WaitForVideo(), "no picture in the surface within 5 s");
}

void PreviewPanelTest::pauseFreezesThePictureAndResumesIt() {
    Play();
    QVERIFY(WaitForVideo());
    Click("cmdPause");
    QVERIFY(!panel_->timer()->isActive());
    QTest::qWait(500);
    const QImage first = Grab(panel_->surface());
    QTest::qWait(1000);
    QCOMPARE(Grab(panel_->surface()), first);
    Click("cmdPause");
    QVERIFY(panel_->timer()->isActive());
    QVERIFY(WaitFor([&] { return Grab(panel_->surface()) != first; }, 2000));
}

void PreviewPanelTest::stopEndsThePlayerAtOnce() {
    Play();
    QVERIFY(WaitForVideo());
    const pid_t pid = Player();
    Click("cmdStop");
    QVERIFY(Ends(pid, 1000));
    QVERIFY(!panel_->timer()->isActive());
    QCOMPARE(panel_->findChild<QLabel*>("LblCurTime")->text(), QString());
    Click("cmdPause"); // no player: no clock
    QVERIFY(!panel_->timer()->isActive());
}

void PreviewPanelTest::seekRestartsThePlayerAtTheTarget() {
    Play();
    QVERIFY(WaitForVideo());
    const pid_t first = Player();
    panel_->slider()->setValue(50);
    emit panel_->slider()->sliderReleased();
    QVERIFY(Player() != first);
    QVERIFY(SharedToolControl().PlayerCommandLine.find("mp.dll\" -ss 15 -wid") !=
            std::string::npos);
    QVERIFY(Ends(first, 2000));
    QCOMPARE(panel_->findChild<QLabel*>("LblCurTime")->text(), QStringLiteral("0:00:15"));
    QVERIFY(WaitFor([] { return PlayersOwnPosition().value_or(0) >= 15; }, 5000));
}

void PreviewPanelTest::lastAndFirstFramesRestartThePlayer() {
    Play();
    QVERIFY(WaitForVideo());
    pid_t before = Player();
    Click("Command5"); // Last Frames
    QVERIFY(Player() != before);
    QVERIFY(SharedToolControl().PlayerCommandLine.find("-ss 30 -wid") != std::string::npos);
    QVERIFY(Ends(before, 2000));
    before = Player();
    Click("Command4"); // First Frame
    QVERIFY(Player() != before);
    QVERIFY(SharedToolControl().PlayerCommandLine.find("-ss") == std::string::npos);
    QVERIFY(panel_->timer()->isActive());
    QVERIFY(WaitForVideo());
}

void PreviewPanelTest::forwardShowsWhereThePlayerIs() {
    Play();
    QVERIFY(WaitFor([] { return PlayersOwnPosition().value_or(0) >= 2; }, 8000));
    Click("cmdForward");
    QVERIFY(panel_->transport().Counters().PlaybackSeconds >= 10);
    QTest::qWait(2500); // two ticks
    const auto own = PlayersOwnPosition();
    QVERIFY(own);
    const int shown = panel_->transport().Counters().PlaybackSeconds;
    QVERIFY2(std::abs(shown - *own) <= 2.0,
             qPrintable(QStringLiteral("shown %1, player %2").arg(shown).arg(*own)));
    QVERIFY(*own >= 10);
}

void PreviewPanelTest::manyPlayStopCyclesLeaveNoProcess() {
    // Stopped before it could start: the key waits on its console until it reads it.
    Play();
    const pid_t early = Player();
    QTest::qWait(100);
    panel_->Stop();
    QVERIFY(Ends(early, 10000));
    for (int i = 0; i < 20; ++i) {
        Play();
        const pid_t pid = Player();
        QVERIFY(WaitFor([] { return PlayersOwnPosition().has_value(); }, 8000));
        panel_->Stop();
        QVERIFY(Ends(pid, 2000));
    }
    QTest::qWait(100);
    QCOMPARE(ToolRegistry::Instance().RunningCount(), 0);
    QCOMPARE(vxtest::ChildProcesses(), 0);
}

QTEST_MAIN(PreviewPanelTest)
#include "PreviewPanelTest.moc"

// The preview panel with the real player drawing into its surface on an X server.
#include "PreviewPanel.h"
#include "ScreenGrab.h"
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

using vxtest::Grab;

bool Dark(QRgb pixel) {
    return qRed(pixel) < 16 && qGreen(pixel) < 16 && qBlue(pixel) < 16;
}

// Every pixel of the area has the colour: a label without text, black around a picture.
bool Plain(const QImage& image, const QRect& area, QRgb colour) {
    if (image.isNull()) return false;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) != colour) return false;
    return true;
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
    void stopEndsThePlayerAndClearsLabelAndPictureOnScreen();
    void seekLastAndFirstFramesRestartThePlayerAtTheirTarget();
    void aSeekWhileStoppedLeavesTheHandleWhereItWasLetGo();
    void aTallPictureKeepsItsProportionsWithBarsBeside();
    void forwardShowsWhereThePlayerIs();
    void manyPlayStopCyclesLeaveNoProcess();

  private:
    void Play() { panel_->Play(false, PlayItem{file_, "0:00:30"}); }
    void Click(const char* name) { panel_->findChild<QPushButton*>(name)->click(); }
    bool WaitForVideo() {
        return WaitFor([this] { return ShowsVideo(Picture()); }, 5000);
    }
    QLabel* Label(const char* name) { return panel_->findChild<QLabel*>(name); }
    QImage Picture() { return Grab(panel_->surface()->picture()); }
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
    QVERIFY(Ends(Player(), 10000)); // it ends; on a loaded machine that can take seconds
    panel_.reset();
}

void PreviewPanelTest::cleanupTestCase() {
    vxtest::RemoveFolder(folder_);
}

void PreviewPanelTest::playShowsTheVideoFillingTheSurface() {
    QVERIFY(!ShowsVideo(Picture()));
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
    const QImage first = Picture();
    QTest::qWait(1000);
    QCOMPARE(Picture(), first);
    Click("cmdPause");
    QVERIFY(panel_->timer()->isActive());
    QVERIFY(WaitFor([&] { return Picture() != first; }, 2000));
}

void PreviewPanelTest::stopEndsThePlayerAndClearsLabelAndPictureOnScreen() {
    Play();
    QVERIFY(WaitForVideo());
    QLabel* position = Label("LblCurTime");
    QVERIFY(WaitFor([&] { return position->text() == "0:00:01"; }, 3000));
    const pid_t pid = Player();
    Click("cmdStop");
    QCoreApplication::processEvents();
    const QImage label = Grab(position);
    QVERIFY2(Plain(label, label.rect(), label.pixel(0, 0)), "the old position is on screen");
    QVERIFY(Ends(pid, 1000));
    QVERIFY(!panel_->timer()->isActive());
    const auto black = [this] { return Plain(Picture(), Picture().rect(), qRgb(0, 0, 0)); };
    QVERIFY(WaitFor(black, 500));
    QTest::qWait(300); // and no late frame of the player's
    QVERIFY(black());
    Click("cmdPause"); // no player: no clock
    QVERIFY(!panel_->timer()->isActive());
}

void PreviewPanelTest::seekLastAndFirstFramesRestartThePlayerAtTheirTarget() {
    Play();
    QVERIFY(WaitForVideo());
    pid_t before = Player();
    panel_->slider()->setValue(50);
    emit panel_->slider()->sliderReleased();
    QVERIFY(Player() != before);
    QVERIFY(SharedToolControl().PlayerCommandLine.find("mp.dll\" -ss 15 -wid") !=
            std::string::npos);
    QVERIFY(Ends(before, 2000));
    QCOMPARE(panel_->findChild<QLabel*>("LblCurTime")->text(), QStringLiteral("0:00:15"));
    QVERIFY(WaitFor([] { return PlayersOwnPosition().value_or(0) >= 15; }, 5000));
    before = Player();
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

void PreviewPanelTest::aSeekWhileStoppedLeavesTheHandleWhereItWasLetGo() {
    Play();
    QVERIFY(WaitForVideo());
    Click("cmdStop");
    QSlider* slider = panel_->slider();
    for (const int released : {70, 20}) { // dragged and let go there: the player restarts
        slider->setSliderDown(true);
        slider->setSliderPosition(released);
        slider->setSliderDown(false);
        QTest::qWait(1500); // no ticks while stopped
        QCOMPARE(slider->value(), released);
        QVERIFY(PlayersOwnPosition().value_or(0) >= released * 30 / 100);
    }
}

void PreviewPanelTest::aTallPictureKeepsItsProportionsWithBarsBeside() {
    const std::string tall = folder_ + "/tall.flv";
    QVERIFY(vxtest::MakeFlv(tall, {.seconds = 10, .width = 180, .height = 320}));
    panel_->Play(false, PlayItem{tall, "0:00:10"});
    QWidget* picture = panel_->surface()->picture();
    QVERIFY(WaitFor([&] { return std::abs(picture->width() * 16 - picture->height() * 9) < 16; },
                    5000));
    QVERIFY(WaitForVideo());
    const QImage box = Grab(panel_->surface());
    const int bar = picture->x() - 1;
    QVERIFY(bar > 20);
    QVERIFY(Plain(box, QRect(0, 0, bar, box.height()), qRgb(0, 0, 0)));
    QVERIFY(Plain(box, QRect(box.width() - bar, 0, bar, box.height()), qRgb(0, 0, 0)));
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

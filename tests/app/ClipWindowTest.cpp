// The trimming window through the real main window, with the real player on an
// X server and the real encoder for the trimmed conversion.
#include "ClipWindow.h"
#include "BatchRun.h"
#include "ClipTimes.h"
#include "FakeDesktop.h"
#include "IniFile.h"
#include "MainWindow.h"
#include "PreviewPanel.h"
#include "ProfileChooser.h"
#include "ScreenGrab.h"
#include "Settings.h"
#include "SourceListView.h"
#include "TestMedia.h"
#include "Tools.h"
#include "VideoSurface.h"
#include "WindowKit.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QtTest>
#include <array>
#include <filesystem>

using namespace vx;
namespace fs = std::filesystem;

namespace {

bool WaitFor(const std::function<bool()>& condition, int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < milliseconds)
        QTest::qWait(20);
    return condition();
}

pid_t Player() {
    return SharedToolControl().PlayerProcessId;
}

std::optional<double> PlayersOwnPosition() {
    return PlayPositionOf(ToolRegistry::Instance().StatusLine(Player()));
}

// The mean colour of the frame at a time, through ffmpeg.
std::array<int, 3> ColourAt(const std::string& file, double seconds, const std::string& folder) {
    const std::string pixel = folder + "/pixel.rgb";
    vxtest::Run({"ffmpeg", "-loglevel", "error", "-y", "-ss", std::to_string(seconds), "-i", file,
                 "-frames:v", "1", "-vf", "scale=1:1", "-f", "rawvideo", "-pix_fmt", "rgb24",
                 pixel});
    const std::string bytes = vxtest::ReadFile(pixel);
    if (bytes.size() < 3) return {-999, -999, -999};
    return {static_cast<unsigned char>(bytes[0]), static_cast<unsigned char>(bytes[1]),
            static_cast<unsigned char>(bytes[2])};
}

int Distance(const std::array<int, 3>& a, const std::array<int, 3>& b) {
    return std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]);
}

// The time drawn in a frame of ten seconds of 320x240: a white block 20x24
// crosses the picture once a second (x = 300 x the fraction), one block lower
// each second (y = 24 x the second).
const char* const kClockGraph =
    "color=c=black:s=320x240:r=25:d=10[bg];color=c=white:s=20x24:r=25:d=10[block];"
    "[bg][block]overlay=x='mod(t,1)*300':y='floor(t)*24':eval=frame";

std::optional<double> DrawnTime(const QImage& picture) {
    QRect block;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (qGray(picture.pixel(x, y)) > 200) block |= QRect(x, y, 1, 1);
    if (block.isEmpty()) return std::nullopt;
    const double scale = 320.0 / picture.width();
    return std::floor(block.center().y() * scale / 24) + (block.center().x() * scale - 10) / 300;
}

// Pairs of visible controls (widgets without children of their own) that overlap.
QStringList Overlaps(QWidget* window) {
    QList<QWidget*> controls;
    for (QWidget* widget : window->findChildren<QWidget*>())
        if (widget->isVisibleTo(window) && widget->findChildren<QWidget*>().isEmpty())
            controls << widget;
    const auto area = [window](QWidget* w) { return QRect(w->mapTo(window, QPoint()), w->size()); };
    QStringList overlaps;
    for (int i = 0; i < controls.size(); ++i)
        for (int j = i + 1; j < controls.size(); ++j)
            if (area(controls[i]).intersects(area(controls[j])))
                overlaps << controls[i]->objectName() + "/" + controls[j]->objectName();
    return overlaps;
}

} // namespace

class ClipWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void opensByDoubleClickVideoClipAndThePopup();
    void okRefusesBadPairsAndWritesTheSelectedRowsTimes();
    void cancelAndTheCloseBoxChangeNothingAndStopThePlayer();
    void setStartAndSetEndTakeTheShownPosition();
    void setStartWhilePausedTakesTheFrameOnScreen();
    void noControlCoversAnotherAtTheSmallestAndALargeSize();
    void aTrimmedFileConvertsToItsClip();

  private:
    // Runs `step` inside the trimming window once it is open (during this test).
    void WhenOpen(std::function<void(ClipWindow*)> step) {
        auto* poll = new QTimer(window_.get());
        connect(poll, &QTimer::timeout, this, [poll, step] {
            auto* window = qobject_cast<ClipWindow*>(QApplication::activeModalWidget());
            if (!window) return;
            poll->deleteLater();
            poll->stop();
            window->activateWindow();
            if (!QTest::qWaitForWindowActive(window)) qWarning("the window is not active");
            step(window);
            if (window->isVisible()) window->reject(); // a failed step must not leave it open
        });
        poll->start(20);
    }
    static QLineEdit* Box(QWidget* window, const char* name) {
        return window->findChild<QLineEdit*>(name);
    }
    static void Click(QWidget* window, const char* name) {
        window->findChild<QPushButton*>(name)->click();
    }
    void AddFile(const std::string& name, double seconds) { QVERIFY(bench_.Add({name}, seconds)); }
    void AddPath(const std::string& path) {
        desktop_.nextFiles = {QString::fromStdString(path)};
        window_->action("AddFiles")->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(window_->probing(), 0, 20000); // probed in the background
    }
    void Select(int row) { bench_.Select(row); }
    std::string Cell(int row, Column column) { return window_->sources().At(row, column); }

    vxtest::ToolsWindow bench_;
    std::string& app_ = bench_.app;
    vxtest::FakeDesktop& desktop_ = bench_.desktop;
    std::unique_ptr<MainWindow>& window_ = bench_.window;
};

void ClipWindowTest::init() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QFAIL("needs an X server: run the tests under xvfb-run");
    QVERIFY(bench_.Open("vx-clip", true));
}

void ClipWindowTest::cleanup() {
    window_->preview()->Stop();
    if (Player())
        QVERIFY(WaitFor([] { return !ToolRegistry::Instance().Running(Player()); }, 3000));
    bench_.Close();
}

// An empty list opens nothing.
void ClipWindowTest::opensByDoubleClickVideoClipAndThePopup() {
    window_->action("videoclip")->trigger();
    window_->action("cuttime")->trigger();
    QVERIFY(!window_->findChild<ClipWindow*>());
    AddFile("one.flv", 5);
    AddFile("two.flv", 7);
    // The main preview plays: opening the window stops its player and its timer.
    Select(0);
    window_->action("play")->trigger();
    const pid_t mainPlayer = Player();
    QVERIFY(window_->previewTimer()->isActive());

    QStringList captions;
    bool mainTimer = true;
    const auto record = [&](ClipWindow* clip) {
        captions << clip->windowTitle();
        mainTimer = window_->previewTimer()->isActive();
        QCOMPARE(Box(clip, "Text1")->text(), QStringLiteral("0:00:00"));
        QCOMPARE(Box(clip, "Text2")->text(), QStringLiteral("0:00:07"));
        QCOMPARE(Box(clip, "Text3")->text(), QStringLiteral("0:00:07"));
        QCOMPARE(clip->findChild<QSlider*>("Slider2")->maximum(), 7);
        QCOMPARE(clip->findChild<QSlider*>("Slider2")->value(), 7);
        Click(clip, "Command2");
    };
    Select(1);
    WhenOpen(record);
    const QRect rect = window_->listView()->visualRect(window_->listView()->model()->index(1, 0));
    QTest::mouseClick(window_->listView()->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(window_->listView()->viewport(), Qt::LeftButton, {}, rect.center());
    QVERIFY(!mainTimer);
    QVERIFY(WaitFor([mainPlayer] { return !ToolRegistry::Instance().Running(mainPlayer); }, 2000));
    WhenOpen(record);
    // A window shortcut reaches only the active window; without a window manager
    // the X server may not hand the focus back after the dialog closed.
    window_->activateWindow();
    QTRY_VERIFY(window_->isActiveWindow());
    QTest::keyClick(window_.get(), Qt::Key_V, Qt::ControlModifier);
    WhenOpen(record);
    window_->action("cuttime")->trigger();
    const QString expected =
        QStringLiteral("Clip Time  -  ") + QString::fromStdString(app_) + "/two.flv";
    QCOMPARE(captions, QStringList({expected, expected, expected}));
    QVERIFY(SharedClip().ClipFile.empty());
}

// Sliders moved by keys update their boxes. OK, clicked or as Return wherever
// the focus is (Cancel included), refuses pairs that are not start before end,
// and writes the selected row's times only.
void ClipWindowTest::okRefusesBadPairsAndWritesTheSelectedRowsTimes() {
    AddFile("one.flv", 5);
    AddFile("two.flv", 7);
    Select(1);
    QStringList unanswered;
    WhenOpen([&](ClipWindow* clip) {
        auto* slider = clip->findChild<QSlider*>("Slider1");
        slider->setFocus();
        QTest::keyClick(slider, Qt::Key_Right);
        QCOMPARE(Box(clip, "Text1")->text(), QStringLiteral("0:00:01"));
        QTest::keyClick(slider, Qt::Key_PageUp);
        QCOMPARE(Box(clip, "Text1")->text(), QStringLiteral("0:00:06"));
        QCOMPARE(Box(clip, "Text3")->text(), QStringLiteral("0:00:01"));
        auto* end = clip->findChild<QSlider*>("Slider2");
        end->setFocus();
        QTest::keyClick(end, Qt::Key_Left);
        QCOMPARE(Box(clip, "Text2")->text(), QStringLiteral("0:00:06"));
        QCOMPARE(Box(clip, "Text3")->text(), QStringLiteral("0:00:00"));
        const auto refuses = [&](const QString& how, const std::function<void()>& press) {
            const std::size_t before = desktop_.messages.size();
            press();
            if (desktop_.messages.size() != before + 1 || !clip->isVisible()) unanswered << how;
        };
        const std::pair<const char*, const char*> pairs[] = {{"0:00:02", "0:00:02"},
                                                             {"10:00:00", "2:00:00"},
                                                             {"abc", "0:00:03"},
                                                             {"0:00:04", "0:00:01"}};
        for (const auto& [start, end] : pairs) {
            Box(clip, "Text1")->setText(start);
            Box(clip, "Text2")->setText(end);
            refuses(start, [clip] { Click(clip, "Command1"); });
        }
        clip->activateWindow(); // Return is the window's: it reaches only an active one
        QTRY_VERIFY_WITH_TIMEOUT(clip->isActiveWindow(), 10000);
        for (const char* name :
             {"Text1", "Slider1", "Slider3", "cmdPlay", "cmdSetEnd", "Command2"}) {
            auto* target = clip->findChild<QWidget*>(name);
            target->setFocus();
            refuses(name, [target] { QTest::keyClick(target, Qt::Key_Return); });
        }
        Box(clip, "Text2")->setText("0:00:05");
        QCOMPARE(Box(clip, "Text3")->text(), QStringLiteral("0:00:01"));
        QTest::keyClick(clip->findChild<QWidget*>("Command2"), Qt::Key_Enter);
    });
    window_->action("videoclip")->trigger();
    QVERIFY2(unanswered.isEmpty(), qPrintable(unanswered.join(", ")));
    QCOMPARE(desktop_.messages.size(), std::size_t(10)); // none for the good pair
    for (const auto& [icon, text] : desktop_.messages) {
        QCOMPARE(icon, MessageIcon::Critical);
        QCOMPARE(text, QStringLiteral("Start time or End time is error."));
    }
    QCOMPARE(Cell(1, kStart), std::string("0:00:04"));
    QCOMPARE(Cell(1, kEnd), std::string("0:00:05"));
    QCOMPARE(Cell(0, kStart), std::string("0:00:00"));
    QCOMPARE(Cell(0, kEnd), std::string("0:00:05"));
}

void ClipWindowTest::cancelAndTheCloseBoxChangeNothingAndStopThePlayer() {
    AddFile("one.flv", 10);
    Select(0);
    for (bool closeBox : {false, true}) {
        pid_t player = 0;
        WhenOpen([&](ClipWindow* clip) {
            Click(clip, "cmdPlay");
            player = Player();
            QVERIFY(clip->preview()->timer()->isActive());
            QVERIFY(WaitFor([] { return PlayersOwnPosition().has_value(); }, 8000));
            Box(clip, "Text1")->setText("0:00:04");
            if (closeBox)
                clip->close();
            else
                Click(clip, "Command2");
        });
        window_->action("videoclip")->trigger();
        QVERIFY(player != 0);
        QVERIFY(WaitFor([player] { return !ToolRegistry::Instance().Running(player); }, 2000));
        QCOMPARE(Cell(0, kStart), std::string("0:00:00"));
        QVERIFY(SharedClip().ClipFile.empty());
    }
    QCOMPARE(ToolRegistry::Instance().RunningCount(), 0);
}

void ClipWindowTest::setStartAndSetEndTakeTheShownPosition() {
    AddFile("one.flv", 20);
    Select(0);
    WhenOpen([](ClipWindow* clip) {
        Click(clip, "cmdPlay");
        QVERIFY(WaitFor([] { return PlayersOwnPosition().value_or(0) >= 2; }, 8000));
        clip->findChild<QPushButton*>("Command1")->setFocus();
        QTest::keyClick(clip, Qt::Key_I);
        QTest::qWait(200); // a button's key clicks it after a short animation
        const int start = ReadClipTime(Box(clip, "Text1")->text().toStdString()).value_or(-1);
        QVERIFY2(std::abs(start - *PlayersOwnPosition()) <= 1.0,
                 qPrintable(Box(clip, "Text1")->text()));
        QCOMPARE(clip->findChild<QSlider*>("Slider1")->value(), start);
        QTest::keyClick(clip, Qt::Key_Space); // pauses: the clock stops
        QVERIFY(!clip->preview()->timer()->isActive());
        QTest::keyClick(clip, Qt::Key_Space);
        QVERIFY(clip->preview()->timer()->isActive());
        QTest::keyClick(clip, Qt::Key_Right); // jumps ahead
        QVERIFY(WaitFor([start] { return PlayersOwnPosition().value_or(0) >= start + 8; }, 5000));
        QTest::keyClick(clip, Qt::Key_O);
        QTest::qWait(200);
        const int end = ReadClipTime(Box(clip, "Text2")->text().toStdString()).value_or(-1);
        QVERIFY(std::abs(end - *PlayersOwnPosition()) <= 1.0);
        QVERIFY(end > start);
        Click(clip, "Command1");
    });
    window_->action("videoclip")->trigger();
    QVERIFY(ReadClipTime(Cell(0, kStart)).value_or(0) >= 2);
    QVERIFY(ReadClipTime(Cell(0, kEnd)) > ReadClipTime(Cell(0, kStart)));
}

void ClipWindowTest::setStartWhilePausedTakesTheFrameOnScreen() {
    const std::string source = app_ + "/clock.flv";
    QVERIFY(vxtest::MakeFlv(source, {.seconds = 10, .audio = false, .picture = kClockGraph}));
    AddPath(source);
    Select(0);
    std::optional<double> drawn;
    int start = -1;
    WhenOpen([&](ClipWindow* clip) {
        Click(clip, "cmdPlay");
        QVERIFY(WaitFor( // late in a second, where the second below is the wrong one
            [] { return std::fmod(PlayersOwnPosition().value_or(0), 1.0) >= 0.6; }, 10000));
        Click(clip, "cmdPause");
        QTest::qWait(600);
        drawn = DrawnTime(vxtest::Grab(clip->preview()->surface()->picture()));
        Click(clip, "cmdSetStart");
        start = ReadClipTime(Box(clip, "Text1")->text().toStdString()).value_or(-1);
        QCOMPARE(clip->findChild<QLabel*>("LblCurTime")->text(), Box(clip, "Text1")->text());
        Click(clip, "Command2");
    });
    window_->action("videoclip")->trigger();
    QVERIFY(drawn);
    // Half a second, and the tenth the player reports its position in.
    QVERIFY2(std::abs(start - *drawn) <= 0.6, qPrintable(QString::number(*drawn)));
}

void ClipWindowTest::noControlCoversAnotherAtTheSmallestAndALargeSize() {
    SharedClip() = ClipHandover{app_ + "/none.flv", "0:00:00", "0:00:10", "0:00:10"};
    ClipWindow clip(app_, desktop_, nullptr, window_.get());
    clip.show();
    auto* start = clip.findChild<QSlider*>("Slider1");
    for (const QSize size : {QSize(1, 1), QSize(1600, 1000)}) {
        clip.resize(size);
        QTest::qWait(50);
        QVERIFY2(Overlaps(&clip).isEmpty(), qPrintable(Overlaps(&clip).join(", ")));
        // At 100 % the handle is at the slider's right end, on top, and takes the mouse.
        start->setValue(start->maximum());
        const QPoint handle(start->width() - 3, start->height() / 2);
        QCOMPARE(clip.childAt(start->mapTo(&clip, handle)), start);
        QTest::mouseClick(start, Qt::LeftButton, {}, handle);
        QCOMPARE(Box(&clip, "Text2")->text(), QStringLiteral("0:00:10")); // not Set End
    }
}

void ClipWindowTest::aTrimmedFileConvertsToItsClip() {
    // Ten seconds, each in a colour of its own.
    const std::string source = app_ + "/colours.flv";
    QVERIFY(vxtest::MakeFlv(source, {.seconds = 10,
                                     .audio = false,
                                     .picture = "color=c=red:s=320x240:r=25:d=10,"
                                                "hue=H=floor(t)*0.6"}));
    AddPath(source);
    QCOMPARE(Cell(0, kVideoTime), std::string("0:00:10"));
    Select(0);
    WhenOpen([](ClipWindow* clip) {
        clip->findChild<QSlider*>("Slider1")->setValue(2);
        clip->findChild<QSlider*>("Slider2")->setValue(5);
        QCOMPARE(Box(clip, "Text3")->text(), QStringLiteral("0:00:03"));
        Click(clip, "Command1");
    });
    window_->action("videoclip")->trigger();
    QCOMPARE(Cell(0, kStart), std::string("0:00:02"));
    QCOMPARE(Cell(0, kEnd), std::string("0:00:05"));

    WriteSetting(SettingsPath(app_), "set", "outputfolder", app_);
    vxtest::PickRow(*window_, 40); // Creative Zen X-Fi: AVI
    window_->ConvertNow();
    QVERIFY(vxtest::WaitForBatch(*window_));
    QCOMPARE(Cell(0, kStatus), std::string("OK"));
    QVERIFY2(window_->batch().LastCommandLine().find(" -ss 2 -t 3 ") != std::string::npos,
             window_->batch().LastCommandLine().c_str());
    const std::string output = app_ + "/colours.avi";
    const auto info = vxtest::ProbeFile(output);
    QVERIFY(std::abs(info.duration - 3.0) <= 0.2);
    const auto first = ColourAt(output, 0, app_);
    int nearest = -1, best = 1 << 30;
    for (int second = 0; second < 10; ++second) {
        const int distance = Distance(first, ColourAt(source, second + 0.5, app_));
        if (distance < best) best = distance, nearest = second;
    }
    QCOMPARE(nearest, 2);
}

QTEST_MAIN(ClipWindowTest)
#include "ClipWindowTest.moc"

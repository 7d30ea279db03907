// The main window's preview: its place in the window, the commands that play,
// and the ways the preview is stopped, with the real player on an X server.
#include "FakeDesktop.h"
#include "MainWindow.h"
#include "PreviewPanel.h"
#include "ProfileChooser.h"
#include "PropertyGrid.h"
#include "SourceListView.h"
#include "TestMedia.h"
#include "Tools.h"
#include "VideoSurface.h"
#include "WindowKit.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QtTest>
#include <filesystem>

using namespace vx;
namespace fs = std::filesystem;

namespace {

bool Ends(pid_t pid, int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (ToolRegistry::Instance().Running(pid) && timer.elapsed() < milliseconds)
        QTest::qWait(20);
    return !ToolRegistry::Instance().Running(pid);
}

pid_t Player() {
    return SharedToolControl().PlayerProcessId;
}

} // namespace

class PreviewWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void startsIdleWithThePreviewInItsFrame();
    void everythingIsUsableAt1280x800AndFits1024x700();
    void playAndItsTwinsPlayTheSelectedRowUntilExit();
    void aBatchStopsThePreviewAndItsTimer();

  private:
    QString Text(const char* name) { return window_->findChild<QLabel*>(name)->text(); }
    void AddFile(const std::string& name, double seconds) { QVERIFY(bench_.Add({name}, seconds)); }
    void Select(int row) { bench_.Select(row); }
    vxtest::ToolsWindow bench_;
    std::string& app_ = bench_.app;
    vxtest::FakeDesktop& desktop_ = bench_.desktop;
    std::unique_ptr<MainWindow>& window_ = bench_.window;
};

void PreviewWindowTest::init() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QFAIL("needs an X server: run the tests under xvfb-run");
    QVERIFY(bench_.Open("vx-window-preview", true));
}

void PreviewWindowTest::cleanup() {
    window_->preview()->Stop();
    if (Player()) QVERIFY(Ends(Player(), 10000));
    bench_.Close();
}

void PreviewWindowTest::startsIdleWithThePreviewInItsFrame() {
    auto* frame = window_->findChild<QGroupBox*>("previewFrame");
    QVERIFY(frame);
    QCOMPARE(frame->title(), QStringLiteral("Preview"));
    auto* surface = frame->findChild<VideoSurface*>("Text2");
    QVERIFY(surface && surface->testAttribute(Qt::WA_NativeWindow));
    QVERIFY(surface->internalWinId() != 0);
    QCOMPARE(Text("LblCurTime"), QStringLiteral("0:00:00"));
    QCOMPARE(Text("SkinLabel10"), QStringLiteral("Total time: 0:00:00"));
    QCOMPARE(Text("SkinLabel11"), QStringLiteral("Current Time:"));
    QVERIFY(!window_->previewTimer()->isActive());
    QCOMPARE(window_->previewTimer()->objectName(), QStringLiteral("Timer1"));
    auto* slider = frame->findChild<QSlider*>("Slider1");
    QCOMPARE(slider->maximum(), 100);
    QCOMPARE(slider->pageStep(), 5);
    const std::pair<const char*, const char*> buttons[] = {
        {"cmdPlay", "Play"},        {"cmdPause", "Pause"},     {"cmdStop", "Stop"},
        {"cmdBack", "Back"},        {"cmdForward", "Forward"}, {"Command4", "First Frame"},
        {"Command5", "Last Frames"}};
    for (const auto& [name, caption] : buttons)
        QCOMPARE(frame->findChild<QPushButton*>(name)->text(), QLatin1String(caption));
    QCOMPARE(window_->action("play")->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
    QVERIFY(window_->action("play")->isEnabled());
    QVERIFY(window_->action("PlaySelectedFile")->isEnabled());
}

void PreviewWindowTest::everythingIsUsableAt1280x800AndFits1024x700() {
    const QSize least = window_->minimumSizeHint().expandedTo(window_->minimumSize());
    QVERIFY2(least.width() <= 1024 && least.height() <= 700,
             qPrintable(QStringLiteral("%1x%2").arg(least.width()).arg(least.height())));
    for (const QSize size : {QSize(1280, 800), QSize(1024, 700)}) {
        window_->resize(size);
        QTest::qWait(50);
        QCOMPARE(window_->size(), size);
        auto* surface = window_->findChild<VideoSurface*>("Text2");
        QVERIFY(surface->width() >= 192 && surface->height() >= 144);
        QVERIFY(window_->listView()->height() >= 100);
        QVERIFY2(window_->grid()->height() >= 250 && window_->grid()->width() >= 300,
                 qPrintable(QStringLiteral("%1x%2")
                                .arg(window_->grid()->width())
                                .arg(window_->grid()->height())));
        QVERIFY(window_->listView()->width() >= 400);
        for (auto* button :
             window_->findChild<QGroupBox*>("previewFrame")->findChildren<QPushButton*>())
            QVERIFY(button->width() >= button->minimumSizeHint().width());
    }
}

// Exit stops the player and the timer.
void PreviewWindowTest::playAndItsTwinsPlayTheSelectedRowUntilExit() {
    const pid_t before = Player();
    window_->action("play")->trigger(); // an empty list: nothing, not even Q
    QCOMPARE(Player(), before);
    QVERIFY(!window_->previewTimer()->isActive());

    AddFile("one.flv", 5);
    AddFile("two.flv", 7);
    Select(1);
    QTest::keyClick(window_.get(), Qt::Key_P, Qt::ControlModifier);
    const pid_t first = Player();
    QVERIFY(first != before);
    QVERIFY(SharedToolControl().PlayerCommandLine.find("two.flv") != std::string::npos);
    QCOMPARE(Text("SkinLabel10"), QStringLiteral("Total time:0:00:07"));
    QVERIFY(window_->previewTimer()->isActive());

    Select(0);
    window_->action("PlaySelectedFile")->trigger();
    QVERIFY(Player() != first);
    QVERIFY(SharedToolControl().PlayerCommandLine.find("one.flv") != std::string::npos);
    QCOMPARE(Text("SkinLabel10"), QStringLiteral("Total time:0:00:05"));
    QVERIFY(Ends(first, 3000)); // the earlier player was told to quit

    window_->findChild<QPushButton*>("cmdPlay")->click();
    QCOMPARE(QString::fromStdString(window_->previewFile()),
             QString::fromStdString(app_ + "/one.flv"));
    const pid_t last = Player();
    window_->action("exit")->trigger();
    QVERIFY(!window_->previewTimer()->isActive());
    QVERIFY(Ends(last, 3000));
}

void PreviewWindowTest::aBatchStopsThePreviewAndItsTimer() {
    AddFile("one.flv", 2);
    AddFile("long.flv", 30);
    Select(1);
    window_->action("play")->trigger();
    const pid_t player = Player();
    QVERIFY(window_->previewTimer()->isActive());
    vxtest::PickRow(*window_, 85);
    bool timerDuringBatch = true;
    QTimer::singleShot(300, this, [&] { timerDuringBatch = window_->previewTimer()->isActive(); });
    window_->ConvertNow();
    QTest::qWait(400);
    QVERIFY(!timerDuringBatch);
    QVERIFY(!window_->previewTimer()->isActive());
    QVERIFY(Ends(player, 2000));
    window_->batch().RequestCancel();
    QVERIFY(vxtest::WaitForBatch(*window_));
}

QTEST_MAIN(PreviewWindowTest)
#include "PreviewWindowTest.moc"

// The preview's start and its effect on the window: how long Play takes to show
// the first picture compared with the same player command run straight into a
// bare window, and the longest the event loop is blocked during Play, a seek
// and Stop. The picture is seen on the screen; the time of the player's first
// status line (its first frame shown) is a second measure of the same start.
// Needs an X server; without one it runs itself under xvfb-run.
#include "AppFolder.h"
#include "BenchUtil.h"
#include "PlayerPort.h"
#include "PreviewPanel.h"
#include "TestMedia.h"
#include "ToolControl.h"
#include "Tools.h"
#include "VideoSurface.h"

#include <QApplication>
#include <QScreen>
#include <QSlider>
#include <QtTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

using namespace vx;

bool Lit(QWidget* surface) {
    const QImage image = surface->screen()->grabWindow(surface->winId()).toImage();
    if (image.isNull()) return false;
    int lit = 0, samples = 0;
    for (int y = 0; y < image.height(); y += 6)
        for (int x = 0; x < image.width(); x += 6, ++samples)
            lit += qGray(image.pixel(x, y)) > 16 ? 1 : 0;
    return lit * 3 > samples;
}

// Milliseconds from the start of the clock until the surface shows a picture
// (at most 10 s); and until the player reports its first frame shown.
struct FirstPicture {
    double lit = 10000;
    double frame = 10000;
};
FirstPicture WaitForPicture(VideoSurface* surface, pid_t pid, const QElapsedTimer& since) {
    FirstPicture first;
    while (since.elapsed() < 10000 && (first.lit >= 10000 || first.frame >= 10000)) {
        const double now = since.nsecsElapsed() / 1e6;
        if (first.frame >= 10000 && PlayPositionOf(ToolRegistry::Instance().StatusLine(pid)))
            first.frame = now;
        if (first.lit >= 10000 && Lit(surface)) first.lit = now;
        QTest::qWait(5);
    }
    return first;
}

// Waits for the player to end, then paints its last picture away: the picture
// window keeps the last frame the player drew until it is painted over.
void WaitUntilEnded(pid_t pid, VideoSurface* surface) {
    QElapsedTimer timer;
    timer.start();
    while (ToolRegistry::Instance().Running(pid) && timer.elapsed() < 5000)
        QTest::qWait(10);
    while (Lit(surface) && timer.elapsed() < 8000) {
        surface->ClearPicture();
        QTest::qWait(20);
    }
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int Bench(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    const std::string appFolder = ApplicationFolderRaw();
    const std::string folder = vxtest::MakeTempFolder("vx-bench-preview");
    const std::string file = folder + "/movie.flv";
    if (!vxtest::MakeFlv(file, {.seconds = 20})) return 1;

    PreviewPanel panel(appFolder, "Text2", "Slider1");
    panel.resize(400, 380);
    panel.show();
    VideoSurface bare("bare");
    bare.resize(panel.surface()->size());
    bare.move(600, 0);
    bare.show();
    if (!QTest::qWaitForWindowExposed(&panel) || !QTest::qWaitForWindowExposed(&bare)) return 1;

    std::vector<double> preview, direct, previewFrame, directFrame;
    auto throughPanel = [&] {
        QElapsedTimer clock;
        clock.start();
        panel.Play(false, PlayItem{file, "0:00:20"});
        const pid_t shown = SharedToolControl().PlayerProcessId;
        const FirstPicture ours = WaitForPicture(panel.surface(), shown, clock);
        preview.push_back(ours.lit);
        previewFrame.push_back(ours.frame);
        panel.Stop();
        WaitUntilEnded(shown, panel.surface());
        QTest::qWait(200);
    };
    auto bareWindow = [&] {
        QElapsedTimer clock;
        clock.start();
        const pid_t pid = ToolRegistry::Instance().Start(
            PlayerLaunchLine(appFolder, bare.Handle(), file, std::nullopt), appFolder);
        const FirstPicture bareStart = WaitForPicture(&bare, pid, clock);
        direct.push_back(bareStart.lit);
        directFrame.push_back(bareStart.frame);
        ToolRegistry::Instance().Write(ToolRegistry::Instance().FindRunning(pid, "mp.dll"), "q");
        WaitUntilEnded(pid, &bare);
        QTest::qWait(200);
    };
    // In alternating order, so that neither side always comes first.
    for (int run = 0; run < 10; ++run) {
        if (run % 2 == 0) throughPanel();
        bareWindow();
        if (run % 2 == 1) throughPanel();
        std::fprintf(stderr, "run %d: preview %.0f/%.0f ms, bare %.0f/%.0f ms\n", run,
                     preview.back(), previewFrame.back(), direct.back(), directFrame.back());
    }
    std::fprintf(stderr, "first picture: preview %.0f ms, direct %.0f ms\n", Median(preview),
                 Median(direct));
    std::fprintf(stderr, "first frame line: preview %.0f ms, direct %.0f ms\n",
                 Median(previewFrame), Median(directFrame));
    std::printf("preview_start_ratio %.2f\n", Median(preview) / Median(direct));
    std::printf("preview_frame_line_ratio %.2f\n", Median(previewFrame) / Median(directFrame));
    // The quickest start of each: what a passing load on the machine cannot lengthen.
    std::printf("preview_start_best_ratio %.2f\n",
                *std::min_element(preview.begin(), preview.end()) /
                    *std::min_element(direct.begin(), direct.end()));

    vxbench::StallMeter meter;
    meter.Start();
    panel.Play(false, PlayItem{file, "0:00:20"});
    QTest::qWait(1500);
    panel.slider()->setValue(50);
    emit panel.slider()->sliderReleased();
    QTest::qWait(1500);
    const pid_t last = SharedToolControl().PlayerProcessId;
    panel.Stop();
    QTest::qWait(500);
    std::printf("preview_ui_stall_ms %.1f\n", meter.StopMs());
    WaitUntilEnded(last, panel.surface());
    vxtest::RemoveFolder(folder);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (std::getenv("DISPLAY") == nullptr || *std::getenv("DISPLAY") == '\0') {
        const auto result = vxtest::Run({"xvfb-run", "-a", "-s", "-screen 0 1280x1024x24 -noreset",
                                         vx::ApplicationFolderRaw() + "/bench_preview"});
        for (const char* name : {"preview_start_ratio", "preview_frame_line_ratio",
                                 "preview_start_best_ratio", "preview_ui_stall_ms"}) {
            const auto at = result.output.find(name);
            if (at != std::string::npos)
                std::fputs(result.output.substr(at, result.output.find('\n', at) - at + 1).c_str(),
                           stdout);
        }
        return result.exitCode;
    }
    return Bench(argc, argv);
}

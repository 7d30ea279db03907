// The capture window previewing and recording the 640x480 test picture for
// 20 s: the program's own CPU time (the encoder excluded) as a share of the
// wall time, and the frames the encoder dropped meanwhile.
#include "AppFolder.h"
#include "BenchUtil.h"
#include "CaptureWindow.h"
#include "Desktop.h"
#include "FrameSurface.h"
#include "TestMedia.h"
#include "VideoCapture.h"

#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <sys/resource.h>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::string folder = vxtest::MakeTempFolder("vx-bench-capture");
    fs::create_symlink(vx::ApplicationFolderRaw() + "/fp.dll", folder + "/fp.dll");
    vx::Desktop desktop;
    auto window = std::make_unique<vx::CaptureWindow>(
        folder, desktop,
        std::make_unique<vx::VideoCapture>(folder + "/fp.dll",
                                           std::vector{vx::TestPatternSource()}));
    window->show();
    auto button = [&](const char* name) {
        return window->findChild<QPushButton*>(QLatin1String(name));
    };
    window->findChild<QLineEdit*>(QStringLiteral("Text1"))
        ->setText(QString::fromStdString(folder + "/bench.avi"));
    button("Command3")->click();
    button("Command1")->click();
    vx::CaptureControl& control = window->control();
    if (!vxbench::ServeUntil([&] { return control.Statistics().frames > 0; }, 30000)) return 1;

    const double cpuBefore = vxbench::CpuSeconds();
    const auto start = Clock::now();
    const auto paintedBefore = window->surface()->PaintedFrames();
    vxbench::ServeUntil([] { return false; }, 20000);
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    const double cpu = vxbench::CpuSeconds() - cpuBefore;
    const auto painted = window->surface()->PaintedFrames() - paintedBefore;

    button("Command2")->click();
    vxbench::ServeUntil([&] { return control.Statistics().final; }, 15000);
    const vx::CaptureStatistics figures = control.Statistics();
    window.reset();
    vxbench::ServeUntil([] { return vxtest::ChildProcesses() == 0; }, 15000);
    std::printf("capture_cpu_share %.2f\n", cpu / wall * 100);
    std::printf("capture_dropped %lld\n", static_cast<long long>(figures.dropped));
    std::printf("capture_preview_fps %.1f\n", painted / wall);
    vxtest::RemoveFolder(folder);
    return 0;
}

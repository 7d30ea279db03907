// Four 30-second 640x480 files converted to H.264 at 640x480 (several seconds of
// encoding each, so that a difference of 2 % shows) through the real window's
// batch, one at a time, against the same encoder commands run directly one after
// the other; and the window's own CPU time (children excluded) while the batch
// runs with its progress read from the encoders.
#include "AppFolder.h"
#include "BatchRun.h"
#include "BatchCommands.h"
#include "BenchUtil.h"
#include "Catalog.h"
#include "CommandLine.h"
#include "EncoderCommand.h"
#include "IniFile.h"
#include "MainWindow.h"
#include "OptionSets.h"
#include "ProfileChooser.h"
#include "Settings.h"
#include "TestMedia.h"

#include <QAction>
#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sys/resource.h>
#include <sys/wait.h>

#include "Spawn.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage); // this process and its threads, not its children
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int position = 86; // Customized MP4 Movie: H.264
    const std::string app_ = vxtest::MakeTempFolder("vx-bench-batch");
    for (const char* tool : {"fp.dll", "mp.dll"})
        fs::create_symlink(vx::ApplicationFolderRaw() + "/" + tool, app_ + "/" + tool);
    vx::WriteSetting(vx::SettingsPath(app_), "set", "existedfile", "1");
    vx::WriteSetting(vx::SettingsPath(app_), "set", "parallel", "1");
    vxbench::ScriptedDesktop desktop;
    for (int i = 0; i < 4; ++i) {
        const std::string path = app_ + "/movie" + std::to_string(i) + ".flv";
        if (!vxtest::MakeFlv(path, {.seconds = 30, .width = 640, .height = 480})) return 1;
        desktop.files << QString::fromStdString(path);
    }
    vx::MainWindow window(app_, desktop);
    window.show();
    window.AddFiles();
    while (window.probing() > 0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    window.chooser()->setCurrentIndex(position - 1);
    emit window.chooser()->activated(position - 1);
    window.sheet().SetValue(window.sheet().Find("Video Options", "Video Size"), "640x480");

    // The same commands, built as the batch builds them.
    const std::vector<std::string> commands = vxbench::BatchCommands(window, position, app_);
    auto direct = [&] {
        const auto start = Clock::now();
        for (const std::string& command : commands)
            vxtest::Run(vx::SplitCommandLine(command), app_);
        return vxbench::Seconds(Clock::now() - start);
    };
    auto throughWindow = [&] {
        const double cpuBefore = CpuSeconds();
        const auto start = Clock::now();
        window.action("BurnNow")->trigger();
        const double wall = vxbench::Seconds(Clock::now() - start);
        return std::pair{wall, (CpuSeconds() - cpuBefore) / wall * 100};
    };
    // Alternate the two and keep the best of each, so that a passing load on the
    // machine does not decide the ratio.
    double plain = 1e9, windowed = 1e9, cpuShare = 0;
    for (int round = 0; round < 3; ++round) {
        plain = std::min(plain, direct());
        const auto [wall, share] = throughWindow();
        windowed = std::min(windowed, wall);
        cpuShare = std::max(cpuShare, share);
    }
    int ok = 0;
    for (int row = 0; row < window.sources().Count(); ++row)
        ok += window.sources().At(row, vx::kStatus) == "OK";
    std::printf("batch_direct_s %.3f\n", plain);
    std::printf("batch_window_s %.3f\n", windowed);
    std::printf("batch_overhead_ratio %.3f\n", windowed / plain);
    std::printf("ui_cpu_share %.2f\n", cpuShare);
    std::printf("batch_rows_ok %d\n", ok);
    vxtest::RemoveFolder(app_);
    return 0;
}

// Eight 20-second 640x480 files converted to MPEG-4 through the real window with
// the automatic number of files at once, against the same encoder commands run
// directly one after the other (divided by the cores: the best a machine can
// do), and against the window converting one file at a time.
#include "AppFolder.h"
#include "BatchCommands.h"
#include "BatchRun.h"
#include "BenchUtil.h"
#include "Catalog.h"
#include "CommandLine.h"
#include "EncoderCommand.h"
#include "IniFile.h"
#include "MainWindow.h"
#include "ProfileChooser.h"
#include "Settings.h"
#include "TestMedia.h"

#include <QAction>
#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <thread>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int position = 2; // Apple iPod Video: MPEG-4 Part 2, one core per encoder
    const std::string app_ = vxtest::MakeTempFolder("vx-bench-parallel");
    for (const char* tool : {"fp.dll", "mp.dll"})
        fs::create_symlink(vx::ApplicationFolderRaw() + "/" + tool, app_ + "/" + tool);
    const std::string settings = vx::SettingsPath(app_);
    vx::WriteSetting(settings, "set", "existedfile", "1");
    vxbench::ScriptedDesktop desktop;
    if (!vxtest::MakeFlv(app_ + "/source.flv", {.seconds = 20, .width = 640, .height = 480}))
        return 1;
    for (int i = 0; i < 8; ++i) {
        const std::string path = app_ + "/movie" + std::to_string(i) + ".flv";
        fs::copy_file(app_ + "/source.flv", path);
        desktop.files << QString::fromStdString(path);
    }
    vx::MainWindow window(app_, desktop);
    window.show();
    window.AddFiles();
    vxbench::ServeUntil([&] { return window.probing() == 0; });
    window.chooser()->setCurrentIndex(position - 1);
    emit window.chooser()->activated(position - 1);

    const std::vector<std::string> commands = vxbench::BatchCommands(window, position, app_);
    auto direct = [&] {
        const auto start = Clock::now();
        for (const std::string& command : commands)
            vxtest::Run(vx::SplitCommandLine(command), app_);
        return vxbench::Seconds(Clock::now() - start);
    };
    double cpuShare = 0; // the window's own CPU time during the parallel batches
    auto throughWindow = [&](const char* atOnce) {
        vx::WriteSetting(settings, "set", "parallel", atOnce);
        const double cpuBefore = vxbench::CpuSeconds();
        const auto start = Clock::now();
        window.action("BurnNow")->trigger();
        const double wall = vxbench::Seconds(Clock::now() - start);
        if (std::string(atOnce) == "0")
            cpuShare = std::max(cpuShare, (vxbench::CpuSeconds() - cpuBefore) / wall * 100);
        return wall;
    };
    // Rounds of the three, each round in another order, and the median of the
    // rounds' ratios, so that the machine's drift meets every one of them alike.
    const int cores = static_cast<int>(std::thread::hardware_concurrency());
    std::vector<double> plains, parallels, ratios, speedups;
    int most = 0;
    for (int round = 0; round < 4; ++round) {
        double plain = 0, parallel = 0, sequential = 0;
        const std::function<void()> steps[3] = {[&] { plain = direct(); },
                                                [&] {
                                                    parallel = throughWindow("0");
                                                    most =
                                                        std::max(most, window.batch().MostAtOnce());
                                                },
                                                [&] { sequential = throughWindow("1"); }};
        for (int step = 0; step < 3; ++step)
            steps[(step + round) % 3]();
        plains.push_back(plain);
        parallels.push_back(parallel);
        ratios.push_back(parallel / (plain / cores));
        speedups.push_back(sequential / parallel);
    }
    std::printf("batch_parallel_direct_s %.3f\n", vxbench::Median(plains));
    std::printf("batch_parallel_window_s %.3f\n", vxbench::Median(parallels));
    std::printf("batch_parallel_ratio %.3f\n", vxbench::Median(ratios));
    std::printf("batch_speedup %.3f\n", vxbench::Median(speedups));
    std::printf("batch_parallel_at_once %d\n", most);
    std::printf("parallel_ui_cpu_share %.2f\n", cpuShare);
    vxtest::RemoveFolder(app_);
    return 0;
}

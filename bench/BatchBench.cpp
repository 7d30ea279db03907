// Four 75-second 640x480 files converted to H.264 at 640x480 (five seconds or more
// of encoding each, so that a difference of 2 % shows) through the real window's
// batch, one at a time, against the same encoder commands run directly one after
// the other; and the window's own CPU time (children excluded) while the batch
// runs with its progress read from the encoders.
#include "AppFolder.h"
#include "BatchCommands.h"
#include "BatchRun.h"
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

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int position = 86; // Customized MP4 Movie: H.264
    const std::string app_ = vxtest::MakeTempFolder("vx-bench-batch");
    for (const char* tool : {"fp.dll", "mp.dll"})
        fs::create_symlink(vx::ApplicationFolderRaw() + "/" + tool, app_ + "/" + tool);
    vx::WriteSetting(vx::SettingsPath(app_), "set", "existedfile", "1");
    vx::WriteSetting(vx::SettingsPath(app_), "set", "parallel", "1");
    vxbench::ScriptedDesktop desktop;
    if (!vxtest::MakeFlv(app_ + "/source.flv", {.seconds = 75, .width = 640, .height = 480}))
        return 1;
    for (int i = 0; i < 4; ++i) {
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
        const double cpuBefore = vxbench::CpuSeconds();
        const auto start = Clock::now();
        window.action("BurnNow")->trigger();
        const double wall = vxbench::Seconds(Clock::now() - start);
        return std::pair{wall, (vxbench::CpuSeconds() - cpuBefore) / wall * 100};
    };
    // Alternate the two, pair by pair, and take the median of the pairs' ratios, so
    // that neither a passing load nor the machine's drift decides the figure.
    std::vector<double> plains, walls, ratios;
    double cpuShare = 0;
    for (int round = 0; round < 5; ++round) {
        // Each goes first in turn: whichever runs second finds the caches warmer.
        double plain = round % 2 == 0 ? direct() : 0;
        const auto [wall, share] = throughWindow();
        if (round % 2 == 1) plain = direct();
        plains.push_back(plain);
        walls.push_back(wall);
        ratios.push_back(wall / plain);
        cpuShare = std::max(cpuShare, share);
    }
    int ok = 0;
    for (int row = 0; row < window.sources().Count(); ++row)
        ok += window.sources().At(row, vx::kStatus) == "OK";
    std::printf("batch_direct_s %.3f\n", vxbench::Median(plains));
    std::printf("batch_window_s %.3f\n", vxbench::Median(walls));
    std::printf("batch_overhead_ratio %.3f\n", vxbench::Median(ratios));
    std::printf("batch_overhead_ratio_min %.3f\n", *std::min_element(ratios.begin(), ratios.end()));
    std::printf("batch_overhead_ratio_max %.3f\n", *std::max_element(ratios.begin(), ratios.end()));
    std::printf("ui_cpu_share %.2f\n", cpuShare);
    std::printf("batch_rows_ok %d\n", ok);
    vxtest::RemoveFolder(app_);
    return 0;
}

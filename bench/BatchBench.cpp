// Four 75-second 640x480 files converted to H.264 at 640x480 (five seconds or more
// of encoding each, so that a difference of 2 % shows) through the real window's
// batch, one at a time, against the same encoder commands run directly one after
// the other; and the window's own CPU time (children excluded) while the batch
// runs with its progress read from the encoders.
#include "BatchCommands.h"
#include "BatchRun.h"
#include "BenchUtil.h"
#include "IniFile.h"
#include "MainWindow.h"
#include "Settings.h"

#include <QAction>
#include <QApplication>
#include <algorithm>
#include <cstdio>

using Clock = std::chrono::steady_clock;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int position = 86; // Customized MP4 Movie: H.264
    vxbench::ScriptedDesktop desktop;
    const std::string app_ = vxbench::MakeBatchFolder("vx-bench-batch", 75, 4, desktop);
    if (app_.empty()) return 1;
    vx::WriteSetting(vx::SettingsPath(app_), "set", "parallel", "1");
    vx::MainWindow window(app_, desktop);
    vxbench::LoadRows(window, position);
    window.sheet().SetValue(window.sheet().Find("Video Options", "Video Size"), "640x480");

    // The same commands, built as the batch builds them.
    const std::vector<std::string> commands = vxbench::BatchCommands(window);
    auto direct = [&] { return vxbench::RunDirect(commands, app_); };
    auto throughWindow = [&] {
        const double cpuBefore = vxbench::CpuSeconds();
        const auto start = Clock::now();
        vxbench::ConvertAndWait(window);
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

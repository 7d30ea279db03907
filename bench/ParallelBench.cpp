// Eight 20-second 640x480 files converted to MPEG-4 through the real window with
// the automatic number of files at once, against the same encoder commands run
// directly one after the other (divided by the cores: the best a machine can
// do), and against the window converting one file at a time.
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
#include <functional>
#include <thread>

using Clock = std::chrono::steady_clock;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int position = 2; // Apple iPod Video: MPEG-4 Part 2, one core per encoder
    vxbench::ScriptedDesktop desktop;
    const std::string app_ = vxbench::MakeBatchFolder("vx-bench-parallel", 20, 8, desktop);
    if (app_.empty()) return 1;
    const std::string settings = vx::SettingsPath(app_);
    vx::MainWindow window(app_, desktop);
    vxbench::LoadRows(window, position);
    const std::vector<std::string> commands = vxbench::BatchCommands(window);
    auto direct = [&] { return vxbench::RunDirect(commands, app_); };
    std::vector<double> cpuShares; // the window's own CPU time during the parallel batches
    auto throughWindow = [&](const char* atOnce) {
        vx::WriteSetting(settings, "set", "parallel", atOnce);
        const double cpuBefore = vxbench::CpuSeconds();
        const auto start = Clock::now();
        vxbench::ConvertAndWait(window);
        const double wall = vxbench::Seconds(Clock::now() - start);
        if (std::string(atOnce) == "0")
            cpuShares.push_back((vxbench::CpuSeconds() - cpuBefore) / wall * 100);
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
    // Of one core, over the whole batch: the highest of the rounds, and their median.
    std::printf("parallel_ui_cpu_share %.2f\n",
                *std::max_element(cpuShares.begin(), cpuShares.end()));
    std::printf("parallel_ui_cpu_share_median %.2f\n", vxbench::Median(cpuShares));
    vxtest::RemoveFolder(app_);
    return 0;
}

// Rewrapping against re-encoding, and the automatic number of files at once:
// - rewrap_speedup: four 60 s 1280x720 H.264/AAC files through the window's
//   batch with "Customized MP4 Movie" (86), against "Same streams" (94), the
//   median of three interleaved pairs;
// - rewrap_overhead_ratio: "Same streams" through the batch, one file at a
//   time, against the same copying commands run directly one after the other;
// - auto_h264_speedup: four 20 s 640x480 files through 86, one at a time
//   against automatic, the median of interleaved rounds.
#include "BatchCommands.h"
#include "BatchRun.h"
#include "BenchUtil.h"
#include "IniFile.h"
#include "MainWindow.h"
#include "Settings.h"

#include <QAction>
#include <QApplication>
#include <cstdio>
#include <cstdlib>

using Clock = std::chrono::steady_clock;

namespace {

constexpr int kReencode = 86;
constexpr int kSameStreams = 94;

double Batch(vx::MainWindow& window, const std::string& folder, int position, const char* atOnce) {
    vx::WriteSetting(vx::SettingsPath(folder), "set", "parallel", atOnce);
    window.chooser()->setCurrentIndex(position - 1);
    emit window.chooser()->activated(position - 1);
    const auto start = Clock::now();
    vxbench::ConvertAndWait(window); // the batch goes on in the event loop
    return vxbench::Seconds(Clock::now() - start);
}

void Rewrap() {
    vxbench::ScriptedDesktop desktop;
    const std::string folder = vxbench::MakeBatchFolder(
        "vx-bench-rewrap", 60, 4, desktop,
        {.width = 1280, .height = 720, .videoCodec = "libx264", .audioCodec = "aac"});
    if (folder.empty()) return;
    vx::MainWindow window(folder, desktop);
    vxbench::LoadRows(window, kSameStreams);
    const std::vector<std::string> commands = vxbench::BatchCommands(window);
    std::vector<double> ratios;
    double copied = 0;
    for (int round = 0; round < 5; ++round) {
        double direct = 0, batch = 0;
        if (round % 2 == 0) direct = vxbench::RunDirect(commands, folder);
        batch = Batch(window, folder, kSameStreams, "1");
        if (round % 2 == 1) direct = vxbench::RunDirect(commands, folder);
        ratios.push_back(batch / direct);
        copied += batch;
    }
    std::vector<double> reencoded, rewrapped, speedups;
    for (int pair = 0; pair < 3; ++pair) {
        double reencode = 0;
        if (pair % 2 == 0) reencode = Batch(window, folder, kReencode, "0");
        const double copy = Batch(window, folder, kSameStreams, "0");
        if (pair % 2 == 1) reencode = Batch(window, folder, kReencode, "0");
        reencoded.push_back(reencode);
        rewrapped.push_back(copy);
        speedups.push_back(reencode / copy);
    }
    std::printf("rewrap_reencode_s %.3f\n", vxbench::Median(reencoded));
    std::printf("rewrap_copy_s %.3f\n", vxbench::Median(rewrapped));
    std::printf("rewrap_speedup %.1f\n", vxbench::Median(speedups));
    std::printf("rewrap_overhead_ratio %.3f\n", vxbench::Median(ratios));
    vxtest::RemoveFolder(folder);
}

void Automatic() {
    vxbench::ScriptedDesktop desktop;
    const std::string folder = vxbench::MakeBatchFolder("vx-bench-auto", 20, 4, desktop);
    if (folder.empty()) return;
    vx::MainWindow window(folder, desktop);
    vxbench::LoadRows(window, kReencode);
    std::vector<double> speedups;
    int most = 0;
    for (int round = 0; round < 3; ++round) {
        double one = 0, automatic = 0;
        if (round % 2 == 0) one = Batch(window, folder, kReencode, "1");
        automatic = Batch(window, folder, kReencode, "0");
        most = std::max(most, window.batch().MostAtOnce());
        if (round % 2 == 1) one = Batch(window, folder, kReencode, "1");
        speedups.push_back(one / automatic);
    }
    std::printf("auto_h264_speedup %.3f\n", vxbench::Median(speedups));
    std::printf("auto_h264_at_once %d\n", most);
    vxtest::RemoveFolder(folder);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // One part alone: "rewrap" or "auto".
    const std::string only = argc > 1 ? argv[1] : "";
    if (only.empty() || only == "rewrap") Rewrap();
    if (only.empty() || only == "auto") Automatic();
    return 0;
}

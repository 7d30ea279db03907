// Adding 200 files through the real window (probed in the background, groups
// of files a player run) against the same identify commands run directly one
// file a run, one after the other, and against ffprobe one file a run, two at a
// time (how other converters look at a file).
#include "AppFolder.h"
#include "BenchUtil.h"
#include "MainWindow.h"
#include "Probe.h"
#include "ProbePool.h"
#include "TestMedia.h"

#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <thread>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::string appFolder = vx::ApplicationFolderRaw();
    const std::string folder = vxtest::MakeTempFolder("vx-bench-probe");
    const int count = 200;
    if (!vxtest::MakeFlv(folder + "/source.flv", {.seconds = 2})) return 1;
    vxbench::ScriptedDesktop desktop;
    std::vector<std::string> files;
    for (int i = 0; i < count; ++i) {
        files.push_back(folder + "/clip" + std::to_string(i) + ".flv");
        fs::copy_file(folder + "/source.flv", files.back());
        desktop.files << QString::fromStdString(files.back());
    }

    auto direct = [&] {
        const auto start = Clock::now();
        for (const std::string& file : files)
            vxtest::Run({appFolder + "/mp.dll", "-identify", "-benchmark", "-nosound", "-vo",
                         "null", "-vf", "cropdetect", "-endpos", "1", file},
                        appFolder);
        return vxbench::Seconds(Clock::now() - start);
    };
    auto ffprobe = [&] {
        const auto start = Clock::now();
        auto half = [&](std::size_t first) {
            for (std::size_t i = first; i < files.size(); i += 2)
                vxtest::Run({"ffprobe", "-v", "error", "-show_format", "-show_streams", files[i]});
        };
        std::thread other(half, 1);
        half(0);
        other.join();
        return vxbench::Seconds(Clock::now() - start);
    };
    vx::MainWindow window(appFolder, desktop);
    window.show();
    QApplication::processEvents();
    // The stall meter's timer wakes the window every millisecond: it runs in a
    // pass of its own, so that it costs the timed passes nothing.
    auto throughWindow = [&](vxbench::StallMeter* meter) {
        window.ClearAllFiles();
        if (meter) meter->Start();
        const auto start = Clock::now();
        window.AddFiles();
        vxbench::ServeUntil([&] { return window.probing() == 0; });
        const double seconds = vxbench::Seconds(Clock::now() - start);
        return std::pair{seconds, meter ? meter->StopMs() : 0.0};
    };

    // Alternate the two and keep the best of each, so that a passing load on the
    // machine does not decide the ratio.
    direct(); // warm the caches once
    double plain = 1e9, windowed = 1e9, peers = 1e9;
    for (int round = 0; round < 2; ++round) {
        plain = std::min(plain, direct());
        windowed = std::min(windowed, throughWindow(nullptr).first);
        peers = std::min(peers, ffprobe());
    }
    vxbench::StallMeter meter;
    const double stall = throughWindow(&meter).second;
    std::printf("probe_direct_s %.3f\n", plain);
    std::printf("probe_window_s %.3f\n", windowed);
    std::printf("probe_ffprobe_s %.3f\n", peers);
    std::printf("add_files_ratio %.3f\n", windowed / plain);
    std::printf("add_vs_ffprobe_ratio %.3f\n", windowed / peers);
    std::printf("probe_parallelism %d\n", vx::ProbePool::DefaultWorkers());
    std::printf("probe_max_stall_ms %.1f\n", stall);
    std::printf("probe_rows %d\n", window.sources().Count());
    vxtest::RemoveFolder(folder);
    return 0;
}

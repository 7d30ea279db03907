// Adding a tree of 1,000 small FLV files through the real window (the folder
// scanned, the rows listed and probed) against the plain identify commands run
// two at a time, and the longest time the window went unserved meanwhile.
#include "AppFolder.h"
#include "BenchUtil.h"
#include "MainWindow.h"
#include "TestMedia.h"

#include <QApplication>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <thread>
#include <time.h>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kFiles = 1000;

// Three levels: 10 folders of 10 folders of 10 files each.
std::vector<std::string> MakeTree(const std::string& root, const std::string& source) {
    std::vector<std::string> files;
    for (int i = 0; i < kFiles; ++i) {
        const fs::path folder = fs::path(root) / ("set" + std::to_string(i / 100)) /
                                ("disc" + std::to_string(i / 10 % 10));
        fs::create_directories(folder);
        files.push_back((folder / ("part" + std::to_string(i % 10 + 1) + ".flv")).string());
        fs::copy_file(source, files.back());
    }
    return files;
}

// The identify command of each file, two at a time.
double Direct(const std::string& appFolder, const std::vector<std::string>& files) {
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t i = next++; i < files.size(); i = next++)
            vxtest::Run({appFolder + "/mp.dll", "-identify", "-benchmark", "-nosound", "-vo",
                         "null", "-vf", "cropdetect", "-endpos", "1", files[i]},
                        appFolder);
    };
    const auto start = Clock::now();
    std::thread first(work), second(work);
    first.join();
    second.join();
    return vxbench::Seconds(Clock::now() - start);
}

// The window thread's own time (CPU) in the longest gap between two ticks of a
// timer due every millisecond: what the window itself spent, whereas the gap in
// wall time also holds the time a loaded machine gave the thread to others.
class CpuStallMeter : public QObject {
  public:
    CpuStallMeter() {
        timer_.setTimerType(Qt::PreciseTimer);
        connect(&timer_, &QTimer::timeout, this, [this] {
            const double now = ThreadCpuMs();
            worst_ = std::max(worst_, now - last_);
            last_ = now;
        });
    }
    void Start() {
        worst_ = 0;
        last_ = ThreadCpuMs();
        timer_.start(1);
    }
    double StopMs() {
        timer_.stop();
        return worst_;
    }

  private:
    static double ThreadCpuMs() {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
    }
    QTimer timer_;
    double last_ = 0, worst_ = 0;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::string appFolder = vx::ApplicationFolderRaw();
    const std::string folder = vxtest::MakeTempFolder("vx-bench-folder");
    if (!vxtest::MakeFlv(folder + "/source.flv", {.seconds = 1, .width = 160, .height = 120}))
        return 1;
    const std::string root = folder + "/tree";
    const std::vector<std::string> files = MakeTree(root, folder + "/source.flv");

    vxbench::ScriptedDesktop desktop;
    vx::MainWindow window(appFolder, desktop);
    window.show();
    QApplication::processEvents();
    CpuStallMeter cpuMeter;
    auto throughWindow = [&](vxbench::StallMeter* meter) {
        window.ClearAllFiles();
        QApplication::processEvents();
        if (meter) meter->Start();
        if (meter) cpuMeter.Start();
        const auto start = Clock::now();
        window.AddDroppedFiles({QString::fromStdString(root)});
        vxbench::ServeUntil([&] { return !window.adding() && window.probing() == 0; });
        const double seconds = vxbench::Seconds(Clock::now() - start);
        return std::pair{seconds, meter ? meter->StopMs() : 0.0};
    };

    const double plain = Direct(appFolder, files);
    const double windowed = throughWindow(nullptr).first;
    vxbench::StallMeter meter; // its own pass: its timer wakes the window every millisecond
    const double stall = throughWindow(&meter).second;
    std::printf("folder_add_direct_s %.3f\n", plain);
    std::printf("folder_add_window_s %.3f\n", windowed);
    std::printf("folder_add_ratio %.3f\n", windowed / plain);
    std::printf("folder_add_max_block_ms %.1f\n", stall);
    std::printf("folder_add_max_block_cpu_ms %.1f\n", cpuMeter.StopMs());
    std::printf("folder_add_rows %d\n", window.sources().Count());
    vxtest::RemoveFolder(folder);
    return 0;
}

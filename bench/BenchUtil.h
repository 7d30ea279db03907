#pragma once
// Small helpers shared by the benchmarks.

#include "Desktop.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QObject>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace vxbench {

// A benchmark never touches the files of the person running it: before main it
// takes a fresh home of its own below the build tree, with its XDG folders.
inline bool UseOwnHome() {
    const std::filesystem::path home = VX_BENCH_HOME;
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    const std::pair<const char*, const char*> folders[] = {{"XDG_CONFIG_HOME", ".config"},
                                                           {"XDG_STATE_HOME", ".local/state"},
                                                           {"XDG_DATA_HOME", ".local/share"},
                                                           {"XDG_CACHE_HOME", ".cache"}};
    for (const auto& [variable, folder] : folders) {
        std::filesystem::create_directories(home / folder, ignored);
        setenv(variable, (home / folder).c_str(), 1);
    }
    setenv("HOME", home.c_str(), 1);
    return true;
}
inline const bool kOwnHome = UseOwnHome();

// A desktop that answers the open dialog from a list and records the rest.
class ScriptedDesktop : public vx::Desktop {
  public:
    QStringList files;
    int messages = 0;
    QStringList OpenFiles(QWidget*, const QString&, const QString&) override { return files; }
    void ShowMessage(QWidget*, vx::MessageIcon, const QString&) override { ++messages; }
    void OpenFolder(const QString&) override {}
    QString PowerOff() override { return {}; }
};

// Measures the longest time the event loop went unserved while it runs: a
// timer due every millisecond notes the gaps between its ticks.
class StallMeter : public QObject {
  public:
    StallMeter() {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(1);
        connect(&timer_, &QTimer::timeout, this, [this] {
            const qint64 now = clock_.nsecsElapsed();
            if (last_ >= 0 && now - last_ > worst_) worst_ = now - last_;
            last_ = now;
        });
    }
    void Start() {
        worst_ = 0;
        last_ = -1;
        clock_.start();
        timer_.start();
    }
    double StopMs() {
        timer_.stop();
        return worst_ / 1e6;
    }

  private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = -1;
    qint64 worst_ = 0;
};

// Serves the event loop until the condition holds or the time is up (no limit
// by default), sleeping in between: a loop of processEvents would keep a core
// busy and slow the tools it measures. Whether the condition holds.
inline bool ServeUntil(const std::function<bool()>& condition, int milliseconds = -1) {
    QEventLoop loop;
    QTimer check, limit;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (condition()) loop.quit();
    });
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    check.start(50);
    limit.setSingleShot(true);
    if (milliseconds >= 0) limit.start(milliseconds);
    if (!condition()) loop.exec();
    return condition();
}

// Starts the window's batch and serves the event loop until it has ended.
template <class Window> void ConvertAndWait(Window& window) {
    QEventLoop loop;
    QObject::connect(&window, &Window::batchEnded, &loop, &QEventLoop::quit);
    window.action("BurnNow")->trigger();
    if (window.batch().Running()) loop.exec();
}

// This process's CPU time, its threads included and its children not.
inline double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

inline double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

} // namespace vxbench

#pragma once
// Small helpers shared by the benchmarks.

#include "Desktop.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QObject>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace vxbench {

// A desktop that answers the open dialog from a list and records the rest.
class ScriptedDesktop : public vx::Desktop {
  public:
    QStringList files;
    int messages = 0;
    QStringList OpenFiles(QWidget*, const QString&, const QString&) override { return files; }
    void ShowMessage(QWidget*, vx::MessageIcon, const QString&) override { ++messages; }
    void OpenFolder(const QString&) override {}
    bool PowerOff() override { return true; }
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

// Serves the event loop until the condition holds, sleeping in between (a loop of
// processEvents would keep a core busy and slow the tools it measures).
template <typename Condition> void WaitUntil(Condition condition) {
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (condition()) loop.quit();
    });
    check.start(10);
    if (!condition()) loop.exec();
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

inline double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

} // namespace vxbench

#pragma once
// Small helpers shared by the benchmarks.

#include "Catalog.h"
#include "Desktop.h"
#include "EncoderCommand.h"
#include "MainWindow.h"
#include "SheetLayout.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
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

// The encoder commands a batch of the window's rows builds for a position,
// writing into the application folder.
inline std::vector<std::string> BatchCommands(vx::MainWindow& window, int position,
                                              const std::string& appFolder) {
    std::vector<std::string> commands;
    for (int row = 0; row < window.sources().Count(); ++row) {
        vx::JobRequest request;
        request.position = position;
        request.displayText = vx::ProfileCatalog::At(position)->text;
        request.options = *vx::ReadConversionOptions(window.sheet());
        request.options.ClipStart = window.sources().At(row, vx::kStart);
        request.options.ClipEnd = window.sources().At(row, vx::kEnd);
        request.sourcePath = window.sources().At(row, vx::kFileName);
        request.appFolder = appFolder;
        request.outputFolder = appFolder;
        request.addNew = false;
        commands.push_back(vx::PrepareConversion(request).value->commandLine);
    }
    return commands;
}

inline double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

} // namespace vxbench

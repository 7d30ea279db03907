#pragma once
// What the window tests do alike: show a main window as a start would, pick a
// row of the chooser as the user does, and serve the event loop while a batch
// goes on after Convert has returned.

#include "BatchRun.h"
#include "MainWindow.h"
#include "ProfileChooser.h"

#include <QDeadlineTimer>
#include <QTest>
#include <memory>

namespace vxtest {

inline std::unique_ptr<vx::MainWindow> OpenWindow(const std::string& app, vx::Desktop& desktop) {
    auto window = std::make_unique<vx::MainWindow>(app, desktop);
    window->show();
    return window;
}

inline void PickRow(vx::MainWindow& window, int row) {
    window.chooser()->setCurrentIndex(row);
    emit window.chooser()->activated(row);
}

inline bool WaitForBatch(vx::MainWindow& window, int milliseconds = 120000) {
    const QDeadlineTimer deadline(milliseconds);
    while (window.batch().Running() && !deadline.hasExpired())
        QTest::qWait(10);
    return !window.batch().Running();
}

} // namespace vxtest

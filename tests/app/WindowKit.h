#pragma once
// What the window tests do alike: show a main window as a start would, pick a
// row of the chooser as the user does, serve the event loop while a batch goes
// on after Convert has returned, and the window with the real tools over a
// list of generated FLV files.

#include "BatchRun.h"
#include "FakeDesktop.h"
#include "MainWindow.h"
#include "ProfileChooser.h"
#include "SourceListView.h"
#include "TestMedia.h"

#include <QAction>
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

// A main window over a program folder of its own that holds the real tools, and
// the fake desktop it talks to: Open in init(), Close in cleanup().
struct ToolsWindow {
    std::string app;
    FakeDesktop desktop;
    std::unique_ptr<vx::MainWindow> window;

    // `active` for the tests that type into the window.
    bool Open(const std::string& name, bool active = false) {
        app = MakeTempFolder(name);
        LinkTools(app, VX_APP_DIR);
        desktop = FakeDesktop();
        window = OpenWindow(app, desktop);
        if (!QTest::qWaitForWindowExposed(window.get())) return false;
        if (!active) return true;
        window->activateWindow();
        return QTest::qWaitForWindowActive(window.get());
    }
    void Close() {
        window.reset();
        RemoveFolder(app);
    }
    // Makes FLV files of that length in the folder, adds them as the Add Files
    // dialog gives them and waits for their probes.
    bool Add(const std::vector<std::string>& names, double seconds) {
        QStringList files;
        for (const std::string& name : names) {
            if (!MakeFlv(app + "/" + name, {.seconds = seconds})) return false;
            files << QString::fromStdString(app + "/" + name);
        }
        desktop.nextFiles = files;
        const int before = window->sources().Count();
        window->action("AddFiles")->trigger();
        return window->sources().Count() == before + int(names.size()) &&
               QTest::qWaitFor([this] { return window->probing() == 0; }, 20000);
    }
    void Select(int row) {
        window->listView()->setCurrentIndex(window->listView()->model()->index(row, 0));
    }
};

} // namespace vxtest

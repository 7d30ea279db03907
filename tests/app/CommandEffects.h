#pragma once
// What a command of the main window did, seen from outside: the modal window it
// opened (closed again at once), the desktop services it used, the rows and the
// preview. Two commands that behave the same leave equal effects.

#include "FakeDesktop.h"
#include "MainWindow.h"
#include "SourceList.h"
#include "Tools.h"
#include "WindowKit.h"

#include <QAction>
#include <QApplication>
#include <QDebug>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace vxtest {

struct Effects {
    QStringList modals;   // object names of the modal windows that opened
    QStringList messages; // message boxes shown
    QStringList urls;     // pages opened
    QStringList folders;  // folders opened
    QString dialog;       // title of the open-files dialog, when it was asked
    QStringList rows;     // each row: its path and its status
    QString previewFile;
    bool previewTimer = false;
    bool windowVisible = true;
    int tools = 0; // tools started meanwhile that still run

    bool operator==(const Effects&) const = default;
};

inline QDebug operator<<(QDebug out, const Effects& e) {
    QDebugStateSaver saver(out);
    out.nospace() << "modals " << e.modals << " messages " << e.messages << " urls " << e.urls
                  << " folders " << e.folders << " dialog " << e.dialog << " rows " << e.rows
                  << " preview " << e.previewFile << "/" << e.previewTimer << " visible "
                  << e.windowVisible << " tools " << e.tools;
    return out;
}

inline QString RowsText(vx::MainWindow& window, int row) {
    return QString::fromStdString(window.sources().At(row, vx::kFileName) + " " +
                                  window.sources().At(row, vx::kStatus));
}

// Runs `act`, closing every modal window it opens, and tells what it did.
inline Effects Observe(vx::MainWindow& window, FakeDesktop& desktop,
                       const std::function<void()>& act) {
    const int toolsBefore = vx::ToolRegistry::Instance().RunningCount();
    desktop.messages.clear();
    desktop.openedUrls.clear();
    desktop.openedFolders.clear();
    desktop.lastDialogTitle.clear();
    Effects effects;
    QTimer closer;
    closer.setInterval(5);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            effects.modals << modal->objectName();
            modal->close();
        }
    });
    closer.start();
    const bool batchBefore = window.batch().Running();
    act();
    if (!batchBefore) WaitForBatch(window); // a batch it started, to its end
    closer.stop();
    for (const auto& message : desktop.messages)
        effects.messages << message.second;
    effects.urls = desktop.openedUrls;
    effects.folders = desktop.openedFolders;
    effects.dialog = desktop.lastDialogTitle;
    for (int row = 0; row < window.sources().Count(); ++row)
        effects.rows << RowsText(window, row);
    effects.previewFile = QString::fromStdString(window.previewFile());
    effects.previewTimer = window.previewTimer()->isActive();
    effects.windowVisible = window.isVisible();
    effects.tools = vx::ToolRegistry::Instance().RunningCount() - toolsBefore;
    return effects;
}

} // namespace vxtest

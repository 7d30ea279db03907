#include "AppFolder.h"
#include "Desktop.h"
#include "EndSignals.h"
#include "KeptList.h"
#include "MainWindow.h"
#include "NativeNames.h"
#include "OneWindow.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

namespace {

// Qt needs a display; without one, say so in one line instead of aborting.
bool DisplayAvailable() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform && std::string_view(platform) != "xcb") return true;
    const char* display = std::getenv("DISPLAY");
    return display && *display;
}

} // namespace

int main(int argc, char** argv) {
    // The preview surfaces need X11 windows; under Wayland ask Qt for XWayland.
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (wayland && *wayland && !std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "xcb", 1);
    if (!DisplayAvailable()) {
        std::fprintf(stderr,
                     "vantorix: no X display available; run it under a virtual one: "
                     "xvfb-run -a %s\n",
                     argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantorix"));
    // Lets the desktop match the window with the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(VANTORIX_DESKTOP_ID));
    // "vantorix FILE...": Qt has already taken its own options out of the arguments.
    // The names keep their bytes, also those that are not UTF-8.
    QStringList files;
    for (int i = 1; i < argc; ++i)
        files << vx::NameFromBytes(argv[i]);
    const bool newWindow = files.removeAll(QStringLiteral("--new-window")) > 0;
    // One window per session: a later start hands its files to the first window. With
    // --new-window, or without a session bus, this start opens a window of its own.
    vx::OneWindow one(QStringLiteral(VANTORIX_DESKTOP_ID));
    if (!newWindow && !one.Claim() && one.HandOff(files)) return 0;
    vx::MainWindow window(vx::ApplicationFolderRaw(), vx::SystemDesktop());
    one.Serve(window);
    // Ended from outside: no file is left half written, the list is kept.
    vx::EndSignals endSignals([&window](int signal) {
        window.EndedFromOutside();
        QApplication::exit(128 + signal);
    });
    window.show();
    // The list is kept while the program runs; a list left by one that did not
    // close normally is offered first.
    window.KeepList(vx::KeptListFolder());
    window.AddCommandLineFiles(files);
    return app.exec();
}

#include "AppFolder.h"
#include "Desktop.h"
#include "DisplayChoice.h"
#include "EndSignals.h"
#include "KeptList.h"
#include "MainWindow.h"
#include "NativeNames.h"
#include "OneWindow.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

int main(int argc, char** argv) {
    // The preview surfaces need X11 windows: on X directly, under Wayland through Xwayland.
    const vx::DisplayChoice display =
        vx::ChooseDisplay([](const char* n) { return std::getenv(n); });
    if (!display.message.empty()) std::fprintf(stderr, "%s\n", display.message.c_str());
    if (!display.start) return 2;
    const char* given = std::getenv("QT_QPA_PLATFORM");
    const std::optional<std::string> asGiven =
        given ? std::optional<std::string>(given) : std::nullopt;
    if (display.platform) setenv("QT_QPA_PLATFORM", display.platform->c_str(), 1);
    QApplication app(argc, argv);
    // What the program opens (a file manager, a browser) runs as the session asks.
    if (asGiven)
        setenv("QT_QPA_PLATFORM", asGiven->c_str(), 1);
    else
        unsetenv("QT_QPA_PLATFORM");
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

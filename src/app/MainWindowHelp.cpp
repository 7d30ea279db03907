// The Help menu of the main window: the user's guide, the two web pages and
// the About window.
#include "AboutWindow.h"
#include "Desktop.h"
#include "MainWindow.h"

#include <QUrl>

#ifndef VANTORIX_HOME_PAGE_URL
#define VANTORIX_HOME_PAGE_URL ""
#endif
#ifndef VANTORIX_SUPPORT_URL
#define VANTORIX_SUPPORT_URL ""
#endif

namespace vx {

namespace {

// A page of the guide that the build puts into the application folder.
QString HelpPage(const std::string& appFolder, const char* page) {
    return QUrl::fromLocalFile(QString::fromStdString(appFolder) + QStringLiteral("/help/") +
                               QLatin1String(page))
        .toString();
}

// The address the build was given, or the guide's own page while there is none.
QString WebPage(const char* address, const std::string& appFolder, const char* localPage) {
    const QString given = QString::fromUtf8(address).trimmed();
    return given.isEmpty() ? HelpPage(appFolder, localPage) : given;
}

} // namespace

// Failures of the desktop's handler (no browser, no help file) are ignored.
void MainWindow::ShowHelp() {
    desktop_.OpenUrl(HelpPage(appFolder_, "index.html"));
}

void MainWindow::OpenHomePage() {
    desktop_.OpenUrl(WebPage(VANTORIX_HOME_PAGE_URL, appFolder_, "home.html"));
}

void MainWindow::OpenSupportPage() {
    desktop_.OpenUrl(WebPage(VANTORIX_SUPPORT_URL, appFolder_, "support.html"));
}

void MainWindow::ShowAbout() {
    AboutWindow about(appFolder_, this);
    about.exec();
}

} // namespace vx

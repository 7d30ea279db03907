#include "Desktop.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

namespace vx {

void Desktop::ShowMessage(QWidget* parent, MessageIcon icon, const QString& text) {
    QMessageBox box(icon == MessageIcon::Critical ? QMessageBox::Critical
                                                  : QMessageBox::Information,
                    QStringLiteral("Vantorix"), text, QMessageBox::Ok, parent);
    box.exec();
}

QStringList Desktop::OpenFiles(QWidget* parent, const QString& title, const QString& filter) {
    return QFileDialog::getOpenFileNames(parent, title, QString(), filter);
}

QString Desktop::SaveFile(QWidget* parent, const QString& title, const QString& filter) {
    return QFileDialog::getSaveFileName(parent, title, QString(), filter);
}

QString Desktop::ChooseFolder(QWidget* parent, const QString& prompt, const QString& start) {
    return QFileDialog::getExistingDirectory(parent, prompt, start);
}

void Desktop::OpenFolder(const QString& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void Desktop::OpenUrl(const QString& url) {
    QDesktopServices::openUrl(QUrl(url));
}

bool Desktop::PowerOff() {
    // logind asks the user where needed and lets running programs save their work.
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PowerOff"));
    call << true; // interactive
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) return false;
    bus.asyncCall(call); // never wait: the window stays served
    return true;
}

Desktop& SystemDesktop() {
    static Desktop desktop;
    return desktop;
}

} // namespace vx

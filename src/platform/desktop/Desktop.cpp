#include "Desktop.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusUnixFileDescriptor>
#include <QDesktopServices>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace vx {

void Desktop::ShowMessage(QWidget* parent, MessageIcon icon, const QString& text) {
    const QMessageBox::Icon shown = icon == MessageIcon::Critical  ? QMessageBox::Critical
                                    : icon == MessageIcon::Warning ? QMessageBox::Warning
                                                                   : QMessageBox::Information;
    QMessageBox box(shown, QStringLiteral("Vantorix"), text, QMessageBox::Ok, parent);
    box.exec();
}

bool Desktop::ShowMessageOffering(QWidget* parent, MessageIcon icon, const QString& text,
                                  const QString& button) {
    const QMessageBox::Icon shown = icon == MessageIcon::Critical  ? QMessageBox::Critical
                                    : icon == MessageIcon::Warning ? QMessageBox::Warning
                                                                   : QMessageBox::Information;
    QMessageBox box(shown, QStringLiteral("Vantorix"), text, QMessageBox::Ok, parent);
    QPushButton* offered = box.addButton(button, QMessageBox::ActionRole);
    box.exec();
    return box.clickedButton() == offered;
}

QStringList Desktop::OpenFiles(QWidget* parent, const QString& title, const QString& filter) {
    return QFileDialog::getOpenFileNames(parent, title, QString(), filter);
}

QString Desktop::SaveFile(QWidget* parent, const QString& title, const QString& filter) {
    return QFileDialog::getSaveFileName(parent, title, QString(), filter);
}

std::optional<QString> Desktop::AskText(QWidget* parent, const QString& prompt,
                                        const QString& text) {
    bool ok = false;
    const QString answer = QInputDialog::getText(parent, QStringLiteral("Vantorix"), prompt,
                                                 QLineEdit::Normal, text, &ok);
    return ok ? std::optional<QString>(answer) : std::nullopt;
}

bool Desktop::Confirm(QWidget* parent, const QString& question) {
    return QMessageBox::question(parent, QStringLiteral("Vantorix"), question) == QMessageBox::Yes;
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

QString Desktop::PowerOff() {
    // logind asks the user where needed and lets running programs save their work.
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PowerOff"));
    call << true; // interactive
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) return QStringLiteral("there is no system bus to reach logind");
    const auto logind = bus.interface()->isServiceRegistered(call.service());
    if (!logind.isValid() || !logind.value())
        return QStringLiteral("logind (the system's power manager) is not running");
    bus.asyncCall(call); // never wait: the window stays served
    return {};
}

// The lock is the descriptor logind hands back: it holds while we keep it open.
struct Desktop::SleepLock {
    QDBusUnixFileDescriptor descriptor;
    bool wanted = false;
};

void Desktop::InhibitSleep() {
    if (!sleepLock_) sleepLock_ = std::make_shared<SleepLock>();
    sleepLock_->wanted = true;
    if (sleepLock_->descriptor.isValid()) return;
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) return;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Inhibit"));
    call << QStringLiteral("sleep:idle") << QStringLiteral("Vantorix")
         << QStringLiteral("Converting videos") << QStringLiteral("block");
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished,
                     [lock = sleepLock_](QDBusPendingCallWatcher* done) {
                         const QDBusPendingReply<QDBusUnixFileDescriptor> reply = *done;
                         // A release asked for meanwhile drops the lock as it arrives.
                         if (reply.isValid() && lock->wanted) lock->descriptor = reply.value();
                         done->deleteLater();
                     });
}

void Desktop::ReleaseSleep() {
    if (!sleepLock_) return;
    sleepLock_->wanted = false;
    sleepLock_->descriptor = QDBusUnixFileDescriptor(); // closes our copy: the lock ends
}

Desktop& SystemDesktop() {
    static Desktop desktop;
    return desktop;
}

} // namespace vx

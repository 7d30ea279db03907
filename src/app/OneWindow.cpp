#include "OneWindow.h"

#include "MainWindow.h"
#include "NativeNames.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QUrl>
#include <filesystem>

namespace vx {

namespace {

constexpr int kHandOffTimeoutMs = 10000;

// Relative names are taken from the current folder, every byte kept.
QString AbsoluteName(const QString& name) {
    std::error_code error;
    const auto absolute = std::filesystem::absolute(BytesOfName(name), error);
    return error ? name : NameFromBytes(absolute.lexically_normal().string());
}

void BringToFront(QWidget& window) {
    window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace

// The object path follows the name, as the desktop's activation rules have it.
OneWindow::OneWindow(const QString& desktopId, QObject* parent)
    : QObject(parent), service_(desktopId),
      path_(QLatin1Char('/') + QString(desktopId).replace(QLatin1Char('.'), QLatin1Char('/'))) {}

OneWindow::~OneWindow() {
    if (!claimed_) return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterService(service_);
    bus.unregisterObject(path_);
}

bool OneWindow::Claim() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (claimed_ || !bus.isConnected()) return claimed_;
    // The object first: a start that finds the name must find the object too.
    if (!bus.registerObject(path_, this, QDBusConnection::ExportScriptableSlots)) return false;
    if (!bus.registerService(service_)) {
        bus.unregisterObject(path_);
        return false;
    }
    claimed_ = true;
    return true;
}

// Calls that come before the event loop runs wait for it, so the window may come
// after the claim.
void OneWindow::Serve(MainWindow& window) {
    connect(this, &OneWindow::handedOver, &window, [&window](const QStringList& paths) {
        window.AddCommandLineFiles(paths);
        BringToFront(window);
    });
}

bool OneWindow::HandOff(const QStringList& files) const {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    const QString interface = QStringLiteral("org.freedesktop.Application");
    QDBusMessage call;
    if (files.isEmpty()) {
        call =
            QDBusMessage::createMethodCall(service_, path_, interface, QStringLiteral("Activate"));
        call << QVariantMap();
    } else {
        QStringList uris;
        for (const QString& file : files)
            uris << QString::fromLatin1(UrlOfName(AbsoluteName(file)).toEncoded());
        call = QDBusMessage::createMethodCall(service_, path_, interface, QStringLiteral("Open"));
        call << uris << QVariantMap();
    }
    call.setAutoStartService(false); // only a window that runs takes them
    return bus.call(call, QDBus::Block, kHandOffTimeoutMs).type() == QDBusMessage::ReplyMessage;
}

void OneWindow::Activate(const QVariantMap&) {
    emit handedOver({});
}

void OneWindow::Open(const QStringList& uris, const QVariantMap&) {
    QStringList paths;
    for (const QString& uri : uris)
        if (const QUrl url(uri); url.isLocalFile()) paths << NameFromUrl(url);
    emit handedOver(paths);
}

void OneWindow::ActivateAction(const QString&, const QVariantList&, const QVariantMap&) {
    emit handedOver({}); // the program has no actions of its own: it comes to the front
}

} // namespace vx

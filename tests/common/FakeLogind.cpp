// A stand-in for logind on a private bus, for the tests of the sleep lock:
// Inhibit hands out a descriptor and notes the call; when every copy of that
// descriptor is closed, the lock is noted as released.
//   vx_fake_logind RECORD_FILE
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QFile>
#include <QSocketNotifier>
#include <fcntl.h>
#include <unistd.h>

class Manager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
  public:
    explicit Manager(QString record) : record_(std::move(record)) {}

  public slots:
    QDBusUnixFileDescriptor Inhibit(const QString& what, const QString& who, const QString& why,
                                    const QString& mode) {
        Note(QStringLiteral("inhibit %1|%2|%3|%4").arg(what, who, why, mode));
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) return {};
        auto* notifier = new QSocketNotifier(fds[0], QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, [this, notifier, fd = fds[0]] {
            char byte;
            if (read(fd, &byte, 1) > 0) return;
            notifier->setEnabled(false);
            close(fd);
            Note(QStringLiteral("released"));
        });
        QDBusUnixFileDescriptor lock(fds[1]); // a copy travels with the answer
        close(fds[1]);
        return lock;
    }

  private:
    void Note(const QString& line) {
        QFile file(record_);
        if (file.open(QIODevice::Append)) file.write((line + QLatin1Char('\n')).toUtf8());
    }
    QString record_;
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) return 2;
    Manager manager(QString::fromLocal8Bit(argv[1]));
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.registerObject(QStringLiteral("/org/freedesktop/login1"), &manager,
                            QDBusConnection::ExportAllSlots) ||
        !bus.registerService(QStringLiteral("org.freedesktop.login1")))
        return 1;
    return app.exec();
}

#include "FakeLogind.moc"

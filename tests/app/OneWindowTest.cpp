// One window per session: a second start of the program with files hands them to
// the window that owns the name on a private session bus and ends; with
// --new-window, or without a bus, it opens a window of its own as before.
#include "OneWindow.h"
#include "FakeDesktop.h"
#include "MainWindow.h"
#include "TestMedia.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QProcess>
#include <QtTest>

using namespace vx;

class OneWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void cleanupTestCase();
    void aSecondStart_data();
    void aSecondStart();

  private:
    QProcess bus_;
    QString busAddress_;
    std::string app_;
    vxtest::FakeDesktop desktop_;
};

void OneWindowTest::initTestCase() {
    app_ = vxtest::MakeTempFolder("vx-one-window");
    vxtest::LinkTools(app_, VX_APP_DIR);
    QVERIFY(vxtest::MakeFlv(app_ + "/plain.flv", {.seconds = 2}));
    QVERIFY(QFile::copy(QString::fromStdString(app_ + "/plain.flv"),
                        QString::fromStdString(app_ + "/100% #1 a b.flv")));
    bus_.start(QStringLiteral("dbus-daemon"),
               {QStringLiteral("--session"), QStringLiteral("--nofork"),
                QStringLiteral("--print-address=1")});
    QVERIFY2(bus_.waitForReadyRead(5000), "dbus-daemon did not start");
    busAddress_ = QString::fromLatin1(bus_.readLine().trimmed());
    qputenv("DBUS_SESSION_BUS_ADDRESS", busAddress_.toLatin1()); // before the first use
}

void OneWindowTest::cleanupTestCase() {
    bus_.kill();
    bus_.waitForFinished();
    vxtest::RemoveFolder(app_);
}

void OneWindowTest::aSecondStart_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("withBus");
    QTest::addColumn<bool>("handsOver");
    const QStringList files{QStringLiteral("plain.flv"), QStringLiteral("100% #1 a b.flv")};
    QTest::newRow("files") << files << true << true;
    QTest::newRow("no files") << QStringList() << true << true;
    QTest::newRow("--new-window") << QStringList{QStringLiteral("--new-window")} + files << true
                                  << false;
    QTest::newRow("no session bus") << files << false << false;
}

void OneWindowTest::aSecondStart() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, withBus);
    QFETCH(bool, handsOver);
    MainWindow window(app_, desktop_);
    OneWindow one(QStringLiteral("org.vantorix.Vantorix"));
    QVERIFY(one.Claim());
    one.Serve(window);
    window.show();
    QVERIFY(QDBusConnection::sessionBus().interface()->isServiceRegistered(one.service()));

    QProcess second;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!withBus)
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                           QStringLiteral("unix:path=") + QString::fromStdString(app_) +
                               QStringLiteral("/no-bus"));
    second.setProcessEnvironment(environment);
    second.setWorkingDirectory(QString::fromStdString(app_)); // the names are relative
    second.start(QStringLiteral(VX_APP_DIR "/vantorix"), arguments);
    QVERIFY(second.waitForStarted());
    if (handsOver) {
        // The window answers from its event loop: wait with the loop running.
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 30000);
        QCOMPARE(second.exitCode(), 0);
        const int files = int(arguments.size());
        QTRY_COMPARE(window.sources().Count(), files);
        for (int row = 0; row < files; ++row)
            QCOMPARE(QString::fromStdString(window.sources().At(row, kFileName)),
                     QString::fromStdString(app_) + "/" + arguments[row]);
    } else {
        QVERIFY2(!second.waitForFinished(3000),
                 second.readAll().constData()); // a window of its own
        QCOMPARE(window.sources().Count(), 0);
        second.kill();
        second.waitForFinished();
    }
}

QTEST_MAIN(OneWindowTest)
#include "OneWindowTest.moc"

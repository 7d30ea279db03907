// One window per session: a second start of the program with files hands them to
// the window that owns the name on a private session bus and ends; with
// --new-window, or without a bus, it opens a window of its own as before.
#include "OneWindow.h"
#include "FakeDesktop.h"
#include "MainWindow.h"
#include "TestMedia.h"

#include <QProcess>
#include <QtTest>

using namespace vx;

class OneWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        vxtest::LinkTools(app_, VX_APP_DIR);
        QVERIFY(vxtest::MakeFlv(app_ + "/plain.flv", {.seconds = 2}));
        QVERIFY(QFile::copy(QString::fromStdString(app_ + "/plain.flv"),
                            QString::fromStdString(app_ + "/100% #1 a b.flv")));
        bus_.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        QVERIFY2(bus_.waitForReadyRead(5000), "dbus-daemon did not start");
        qputenv("DBUS_SESSION_BUS_ADDRESS", bus_.readLine().trimmed()); // before its first use
    }
    void cleanupTestCase() {
        bus_.kill();
        bus_.waitForFinished();
        vxtest::RemoveFolder(app_);
    }
    void aSecondStart_data();
    void aSecondStart();

  private:
    QProcess bus_;
    std::string app_ = vxtest::MakeTempFolder("vx-one-window");
    vxtest::FakeDesktop desktop_;
};

void OneWindowTest::aSecondStart_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("withBus");
    const QStringList files{"plain.flv", "100% #1 a b.flv"};
    QTest::newRow("files") << files << true;
    QTest::newRow("no files") << QStringList() << true;
    QTest::newRow("--new-window") << QStringList{"--new-window"} + files << true;
    QTest::newRow("no session bus") << files << false;
}

void OneWindowTest::aSecondStart() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, withBus);
    MainWindow window(app_, desktop_);
    OneWindow one(QStringLiteral("org.vantorix.Vantorix"));
    QVERIFY(one.Claim());
    one.Serve(window);
    window.show();
    QProcess second;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!withBus) environment.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent");
    second.setProcessEnvironment(environment);
    second.setWorkingDirectory(QString::fromStdString(app_)); // the names are relative
    second.start(QStringLiteral(VX_APP_DIR "/vantorix"), arguments);
    if (withBus && !arguments.contains("--new-window")) {
        // The window answers from its event loop: wait with the loop running.
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 30000);
        QCOMPARE(second.exitCode(), 0);
        QTRY_COMPARE(window.sources().Count(), int(arguments.size()));
        for (int row = 0; row < arguments.size(); ++row)
            QCOMPARE(window.sources().At(row, kFileName),
                     app_ + "/" + arguments[row].toStdString());
    } else {
        QTest::qWait(3000); // a window of its own, which stays
        QVERIFY2(second.state() == QProcess::Running, second.readAll().constData());
        QCOMPARE(window.sources().Count(), 0);
        second.kill();
        second.waitForFinished();
    }
}

QTEST_MAIN(OneWindowTest)
#include "OneWindowTest.moc"

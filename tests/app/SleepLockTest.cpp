// The computer is kept awake while a batch runs and let sleep again after it,
// however it ends: a stand-in for logind on a private bus notes the lock.
#include "BatchRun.h"
#include "Desktop.h"
#include "FakeDesktop.h"
#include "MainWindow.h"
#include "ProfileChooser.h"
#include "TestMedia.h"
#include "WindowKit.h"

#include <QAction>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <fstream>

using namespace vx;
namespace fs = std::filesystem;

class SleepLockTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void heldDuringTheBatchAndReleasedAfterIt_data();
    void heldDuringTheBatchAndReleasedAfterIt();

  private:
    QString Record() { return QString::fromStdString(vxtest::ReadFile(record_)); }
    QProcess bus_, logind_;
    std::string app_, record_;
    vxtest::FakeDesktop desktop_;
    std::unique_ptr<MainWindow> window_;
};

void SleepLockTest::initTestCase() {
    app_ = vxtest::MakeTempFolder("vx-sleep");
    record_ = app_ + "/record";
    vxtest::LinkTools(app_, VX_APP_DIR);
    bus_.start(QStringLiteral("dbus-daemon"),
               {QStringLiteral("--session"), QStringLiteral("--nofork"),
                QStringLiteral("--print-address=1")});
    QVERIFY2(bus_.waitForReadyRead(5000), "dbus-daemon did not start");
    const QByteArray address = bus_.readLine().trimmed();
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", address); // before anything asks for the system bus
    logind_.start(QStringLiteral(VX_FAKE_LOGIND), {QString::fromStdString(record_)});
    QTRY_VERIFY(QDBusConnection::systemBus().interface()->isServiceRegistered(
        QStringLiteral("org.freedesktop.login1")));
}

void SleepLockTest::cleanupTestCase() {
    logind_.kill();
    logind_.waitForFinished();
    // With no logind on the system bus, the real service says why it cannot power off.
    QTRY_VERIFY(!QDBusConnection::systemBus().interface()->isServiceRegistered(
        QStringLiteral("org.freedesktop.login1")));
    QCOMPARE(Desktop().PowerOff(),
             QStringLiteral("logind (the system's power manager) is not running"));
    bus_.kill();
    bus_.waitForFinished();
    vxtest::RemoveFolder(app_);
}

void SleepLockTest::init() {
    std::ofstream(record_, std::ios::trunc).close();
    window_ = vxtest::OpenWindow(app_, desktop_);
}

void SleepLockTest::cleanup() {
    window_.reset();
}

void SleepLockTest::heldDuringTheBatchAndReleasedAfterIt_data() {
    QTest::addColumn<QString>("ending");
    QTest::newRow("done") << QStringLiteral("done");
    QTest::newRow("cancelled") << QStringLiteral("cancelled");
    QTest::newRow("failed") << QStringLiteral("failed");
}

void SleepLockTest::heldDuringTheBatchAndReleasedAfterIt() {
    QFETCH(QString, ending);
    const std::string file = app_ + "/" + ending.toStdString() + ".flv";
    QVERIFY(vxtest::MakeFlv(file, {.seconds = ending == "cancelled" ? 30.0 : 2.0}));
    if (ending == "failed") std::ofstream(file, std::ios::trunc) << std::string(4096, 'z');
    desktop_.nextFiles = {QString::fromStdString(file)};
    window_->AddFiles();
    QTRY_COMPARE_WITH_TIMEOUT(window_->probing(), 0, 20000);
    vxtest::PickRow(*window_, 1); // Apple iPod Video MPEG-4 Movie(*.mp4)

    QString duringBatch;
    QTimer watch;
    connect(&watch, &QTimer::timeout, this, [&] {
        if (window_->batch().Running() && Record().contains(QStringLiteral("inhibit"))) {
            duringBatch = Record();
            if (ending == "cancelled")
                window_->progressPanel()->findChild<QPushButton*>("Command1")->click();
        }
    });
    watch.start(50);
    window_->action("BurnNow")->trigger();
    QVERIFY(vxtest::WaitForBatch(*window_));
    watch.stop();
    const QString expected = ending == "done"        ? QStringLiteral("OK")
                             : ending == "cancelled" ? QStringLiteral("Cancel")
                                                     : QStringLiteral("Fail");
    QCOMPARE(QString::fromStdString(window_->sources().At(0, kStatus)), expected);
    const QString taken = QStringLiteral("inhibit sleep:idle|Vantorix|Converting videos|block\n");
    if (ending != "failed") QCOMPARE(duringBatch, taken); // a failing row ends too soon to look
    QTRY_COMPARE(Record(), taken + QStringLiteral("released\n"));
}

QTEST_MAIN(SleepLockTest)
#include "SleepLockTest.moc"

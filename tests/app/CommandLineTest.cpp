// Files named on the program's command line ("vantorix FILE...", "Open with")
// enter the list as a drop does, with the real player tool probing them.
#include "FakeDesktop.h"
#include "MainWindow.h"
#include "TestMedia.h"
#include "WindowKit.h"

#include <QDir>
#include <QtTest>
#include <filesystem>

using namespace vx;
namespace fs = std::filesystem;

class CommandLineTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void filesAreAddedAsADropOnceTheWindowRuns();
    void noFilesAddNothing();

  private:
    std::string app_, media_;
    QString startFolder_;
    vxtest::FakeDesktop desktop_;
    std::unique_ptr<MainWindow> window_;
};

void CommandLineTest::init() {
    app_ = vxtest::MakeTempFolder("vx-cmdline-app");
    media_ = vxtest::MakeTempFolder("vx-cmdline-media");
    vxtest::LinkTools(app_, VX_APP_DIR);
    QVERIFY(vxtest::MakeFlv(media_ + "/a.flv", {.seconds = 2}));
    fs::copy_file(media_ + "/a.flv", media_ + "/c.flv");
    desktop_ = vxtest::FakeDesktop();
    window_ = vxtest::OpenWindow(app_, desktop_);
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    startFolder_ = QDir::currentPath();
}

void CommandLineTest::cleanup() {
    window_.reset();
    QDir::setCurrent(startFolder_);
    vxtest::RemoveFolder(app_);
    vxtest::RemoveFolder(media_);
}

void CommandLineTest::filesAreAddedAsADropOnceTheWindowRuns() {
    // Started in the media folder: "vantorix a.flv b.avi c.flv parts".
    fs::create_directories(media_ + "/parts/inner");
    fs::copy_file(media_ + "/a.flv", media_ + "/parts/inner/p1.flv");
    QVERIFY(QDir::setCurrent(QString::fromStdString(media_)));
    window_->AddCommandLineFiles({"a.flv", "b.avi", "c.flv", "parts"});
    QCOMPARE(window_->sources().Count(), 0); // nothing before the event loop runs
    QDir::setCurrent(startFolder_);          // the names were taken from the starting folder
    QTRY_COMPARE_WITH_TIMEOUT(desktop_.messages.size(), std::size_t(1), 30000);
    QCOMPARE(desktop_.messages[0].first, MessageIcon::Information);
    QCOMPARE(desktop_.messages[0].second,
             QStringLiteral("Only FLV files are allowed! Not added: b.avi"));
    // The FLV files are in under their full paths, the folder's too, and get probed.
    QTRY_COMPARE_WITH_TIMEOUT(window_->sources().Count(), 3, 30000);
    QCOMPARE(window_->sources().At(0, kFileName), media_ + "/a.flv");
    QCOMPARE(window_->sources().At(1, kFileName), media_ + "/c.flv");
    QCOMPARE(window_->sources().At(2, kFileName), media_ + "/parts/inner/p1.flv");
    QCOMPARE(window_->sources().Row(2).root, media_ + "/parts");
    QTRY_COMPARE_WITH_TIMEOUT(window_->sources().At(2, kEnd), std::string("0:00:02"), 30000);
    // A full path is kept as given.
    desktop_.messages.clear();
    window_->AddCommandLineFiles({QString::fromStdString(media_ + "/c.flv")});
    QTRY_COMPARE_WITH_TIMEOUT(window_->sources().Count(), 4, 30000);
    QCOMPARE(window_->sources().At(3, kFileName), media_ + "/c.flv");
    QVERIFY(desktop_.messages.empty());
}

void CommandLineTest::noFilesAddNothing() {
    window_->AddCommandLineFiles({});
    QTest::qWait(200);
    QCOMPARE(window_->sources().Count(), 0);
    QVERIFY(desktop_.messages.empty());
}

QTEST_MAIN(CommandLineTest)
#include "CommandLineTest.moc"

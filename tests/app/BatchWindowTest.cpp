// The whole way through the real main window: add, pick, convert.
#include "BatchRun.h"
#include "FakeDesktop.h"
#include "MainWindow.h"
#include "ProfileChooser.h"
#include "TestMedia.h"

#include <QAction>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <filesystem>

using namespace vx;
namespace fs = std::filesystem;

class BatchWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void convertsTheListFromEndToEnd();
    void cancelButtonStopsTheBatch();

  private:
    void AddFiles(const std::vector<std::string>& names, double seconds = 2);
    void Pick(int position) {
        window_->chooser()->setCurrentIndex(position - 1);
        emit window_->chooser()->activated(position - 1);
    }
    std::string app_;
    vxtest::FakeDesktop desktop_;
    std::unique_ptr<MainWindow> window_;
};

void BatchWindowTest::init() {
    app_ = vxtest::MakeTempFolder("vx-window-batch");
    vxtest::LinkTools(app_, VX_APP_DIR);
    desktop_ = vxtest::FakeDesktop();
    window_ = std::make_unique<MainWindow>(app_, desktop_);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

void BatchWindowTest::cleanup() {
    window_.reset();
    vxtest::RemoveFolder(app_);
}

void BatchWindowTest::AddFiles(const std::vector<std::string>& names, double seconds) {
    QStringList files;
    for (const std::string& name : names) {
        const std::string path = app_ + "/" + name;
        QVERIFY(vxtest::MakeFlv(path, {.seconds = seconds}));
        files << QString::fromStdString(path);
    }
    desktop_.nextFiles = files;
    window_->action("AddFiles")->trigger();
    QCOMPARE(window_->sources().Count(), int(names.size()));
    QTRY_COMPARE_WITH_TIMEOUT(window_->probing(), 0, 20000);
}

void BatchWindowTest::convertsTheListFromEndToEnd() {
    AddFiles({"one.flv", "two.flv"});
    Pick(41); // Creative Zen X-Fi: AVI
    QMap<QString, bool> duringBatch;
    QTimer probe;
    connect(&probe, &QTimer::timeout, this, [&] {
        if (!window_->batch().Running() || !duringBatch.isEmpty()) return;
        for (const char* name :
             {"BurnNow", "convertnow1", "RemoveSelectedFile", "ClearAllItems", "AddFiles"})
            duringBatch[name] = window_->action(name)->isEnabled();
        duringBatch["Image11"] = window_->findChild<QToolButton*>("Image11")->isEnabled();
        duringBatch["panel"] = window_->progressPanel()->isVisible();
    });
    probe.start(20);
    window_->findChild<QToolButton*>("Image11")->click(); // CONVERT NOW
    probe.stop();

    QCOMPARE(window_->sources().At(0, kStatus), std::string("OK"));
    QCOMPARE(window_->sources().At(1, kStatus), std::string("OK"));
    for (const char* name : {"one.avi", "two.avi"}) {
        const auto info = vxtest::ProbeFile(app_ + "/" + name);
        QVERIFY(info.formatName.find("avi") != std::string::npos);
        QCOMPARE(info.width, 320);
    }
    QCOMPARE(duringBatch.value("BurnNow", true), false);
    QCOMPARE(duringBatch.value("convertnow1", true), false);
    QCOMPARE(duringBatch.value("RemoveSelectedFile", true), false);
    QCOMPARE(duringBatch.value("ClearAllItems", true), false);
    QCOMPARE(duringBatch.value("Image11", true), false);
    QCOMPARE(duringBatch.value("AddFiles", false), true);
    QCOMPARE(duringBatch.value("panel", false), true);
    QVERIFY(window_->action("BurnNow")->isEnabled());
    QVERIFY(window_->action("ClearAllItems")->isEnabled());
    QVERIFY(!window_->progressPanel()->isVisible());
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(desktop_.messages.size(), std::size_t(1));
    QCOMPARE(desktop_.messages[0].first, MessageIcon::Information);
    QCOMPARE(desktop_.messages[0].second, QStringLiteral("Conversion completed!"));
    QCOMPARE(desktop_.openedFolders, QStringList{QString::fromStdString(app_)});
    QCOMPARE(desktop_.powerOffs, 0);
}

void BatchWindowTest::cancelButtonStopsTheBatch() {
    AddFiles({"long.flv"}, 30);
    Pick(86);
    QTimer::singleShot(1200, this, [this] {
        window_->progressPanel()->findChild<QPushButton*>("Command1")->click();
    });
    window_->action("BurnNow")->trigger();
    QCOMPARE(window_->sources().At(0, kStatus), std::string("Cancel"));
    QCOMPARE(desktop_.messages.size(), std::size_t(1));
    QCOMPARE(desktop_.messages[0].first, MessageIcon::Critical);
    QCOMPARE(desktop_.messages[0].second, QStringLiteral("Conversion Canceled by the user!"));
    QVERIFY(desktop_.openedFolders.isEmpty());
    QVERIFY(!window_->progressPanel()->isVisible());
    QVERIFY(!window_->batch().CancelRequested);
}

QTEST_MAIN(BatchWindowTest)
#include "BatchWindowTest.moc"

// The whole way through the real main window: add, pick, convert.
#include "BatchRun.h"
#include "FakeDesktop.h"
#include "MainWindow.h"
#include "NativeNames.h"
#include "OneWindow.h"
#include "ProfileChooser.h"
#include "SlimProgressBar.h"
#include "SourceListView.h"
#include "TestMedia.h"
#include "WindowKit.h"

#include "BatchLog.h"
#include "EndSignals.h"
#include "IniFile.h"
#include "KeptList.h"
#include "ListKeeper.h"
#include "Settings.h"

#include <QAction>
#include <QDialog>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QSet>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <optional>

using namespace vx;
namespace fs = std::filesystem;

class BatchWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void convertsTheListFromEndToEnd();
    void cancelButtonStopsTheBatch();
    void aSignalLeavesNoCutFileAndOffersTheUnfinishedRows();
    void aDialogHeldOpenNeverStallsTheBatch();
    void namesThatAreNotUtf8ConvertAndARefusedPowerOffIsSaid();
    void joinedPartsAndOnlyTheFailuresAgain();

  private:
    void AddFiles(const std::vector<std::string>& names, double seconds = 2) {
        QVERIFY(bench_.Add(names, seconds));
    }
    void Pick(int position) { vxtest::PickRow(*window_, position - 1); }
    // Converts the list with the profile at `position` (counted from 1, headings included).
    bool Convert(int position) {
        Pick(position);
        window_->action("BurnNow")->trigger();
        return vxtest::WaitForBatch(*window_);
    }
    vxtest::ToolsWindow bench_;
    std::string& app_ = bench_.app;
    vxtest::FakeDesktop& desktop_ = bench_.desktop;
    std::unique_ptr<MainWindow>& window_ = bench_.window;
    std::string videos_; // the user's videos folder: the outputs' by default
    std::optional<vxtest::ScopedEnvironment> user_;
};

void BatchWindowTest::init() {
    QVERIFY(bench_.Open("vx-window-batch"));
    videos_ = app_ + "/home/Videos";
    fs::create_directories(videos_);
    fs::create_directories(app_ + "/config");
    std::ofstream(app_ + "/config/user-dirs.dirs") << "XDG_VIDEOS_DIR=\"$HOME/Videos\"\n";
    user_.emplace(vxtest::ScopedEnvironment::Values{{"HOME", app_ + "/home"},
                                                    {"XDG_CONFIG_HOME", app_ + "/config"}});
}

void BatchWindowTest::cleanup() {
    bench_.Close();
    user_.reset();
}

void BatchWindowTest::convertsTheListFromEndToEnd() {
    AddFiles({"one.flv", "two.flv"});
    Pick(41); // Creative Zen X-Fi: AVI
    // The commands that can be used, and the panel if it shows.
    const auto on = [this] {
        QStringList names;
        for (const char* name :
             {"BurnNow", "convertnow1", "RemoveSelectedFile", "ClearAllItems", "AddFiles"})
            if (window_->action(name)->isEnabled()) names << name;
        if (window_->findChild<QToolButton*>("Image11")->isEnabled()) names << "Image11";
        if (window_->progressPanel()->isVisible()) names << "panel";
        if (window_->chooser()->isEnabled()) names << "chooser";
        return names;
    };
    std::optional<QStringList> duringBatch;
    QTimer probe;
    connect(&probe, &QTimer::timeout, this, [&] {
        if (window_->batch().Running() && !duringBatch) duringBatch = on();
    });
    probe.start(20);
    window_->findChild<QToolButton*>("Image11")->click(); // CONVERT NOW
    QVERIFY(vxtest::WaitForBatch(*window_));
    probe.stop();

    QCOMPARE(window_->sources().At(0, kStatus), std::string("OK"));
    QCOMPARE(window_->sources().At(1, kStatus), std::string("OK"));
    for (const char* name : {"one.avi", "two.avi"}) {
        const auto info = vxtest::ProbeFile(videos_ + "/" + name); // not beside the program
        QVERIFY(!fs::exists(app_ + "/" + name));
        QVERIFY(info.formatName.find("avi") != std::string::npos);
        QCOMPARE(info.width, 320);
    }
    // Only adding goes on while it runs; no stray key may switch the profile.
    QVERIFY(duringBatch);
    QCOMPARE(*duringBatch, (QStringList{"AddFiles", "panel"}));
    QCOMPARE(on(), (QStringList{"BurnNow", "convertnow1", "RemoveSelectedFile", "ClearAllItems",
                                "AddFiles", "Image11", "chooser"}));
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(desktop_.messages.size(), std::size_t(1));
    QCOMPARE(desktop_.messages[0].first, MessageIcon::Information);
    QCOMPARE(desktop_.messages[0].second, QStringLiteral("Conversion completed!"));
    QCOMPARE(desktop_.openedFolders, QStringList{QString::fromStdString(videos_)});
    QCOMPARE(desktop_.powerOffs, 0);
}

// A cancelled row's output goes (it is no whole conversion); with "overwrite",
// an earlier file of the same name stays as it was, byte for byte.
void BatchWindowTest::cancelButtonStopsTheBatch() {
    AddFiles({"long.flv"}, 30);
    const std::string earlier = videos_ + "/long.mp4";
    vxtest::MakeFlv(earlier, {.seconds = 1});
    const std::string earlierHash = vxtest::Sha256(earlier);
    WriteSetting(SettingsPath(app_), "set", "existedfile", "1");
    // Cancel once the encoder writes, however fast this machine encodes the clip.
    QTimer watch;
    connect(&watch, &QTimer::timeout, this, [&] {
        std::error_code none;
        if (fs::file_size(videos_ + "/long.vxpart.mp4", none) == 0 || none) return;
        watch.stop();
        window_->progressPanel()->findChild<QPushButton*>("Command1")->click();
    });
    watch.start(10);
    QVERIFY(Convert(86));
    QCOMPARE(window_->sources().At(0, kStatus), std::string("Cancel"));
    QCOMPARE(desktop_.messages.size(), std::size_t(1));
    QCOMPARE(desktop_.messages[0].first, MessageIcon::Information);
    QCOMPARE(desktop_.messages[0].second, QStringLiteral("Conversion Canceled by the user!\n"
                                                         "1 unfinished output file was removed."));
    QVERIFY(!fs::exists(videos_ + "/long_New.mp4") && !fs::exists(videos_ + "/long.vxpart.mp4"));
    QCOMPARE(vxtest::Sha256(earlier), earlierHash);
    QVERIFY(window_->chooser()->isEnabled());
    QVERIFY(desktop_.openedFolders.isEmpty());
    QVERIFY(!window_->progressPanel()->isVisible());
    QVERIFY(!window_->batch().CancelRequested);
}

// A second batch clears what the first said of its rows; ended by a signal while
// it converts, it leaves no working file and keeps a list that offers every row
// it had not converted.
void BatchWindowTest::aSignalLeavesNoCutFileAndOffersTheUnfinishedRows() {
    window_->KeepList(app_ + "/state");
    AddFiles({"a.flv", "b.flv", "c.flv"}, 20);
    QVERIFY(Convert(88));
    QCOMPARE(window_->sources().At(2, kStatus), std::string("OK"));
    Pick(86);
    WriteSetting(SettingsPath(app_), "set", "parallel", "1");
    int ended = 0;
    EndSignals endSignals([&](int signal) {
        ended = signal;
        window_->EndedFromOutside();
    });
    window_->action("BurnNow")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(fs::exists(videos_ + "/a.vxpart.mp4"), 20000);
    raise(SIGHUP);
    QTRY_COMPARE_WITH_TIMEOUT(ended, SIGHUP, 5000);
    QVERIFY(!window_->batch().Running());
    QVERIFY(!fs::exists(videos_ + "/a.vxpart.mp4") && !fs::exists(videos_ + "/a.mp4"));
    const auto kept = DecodeKeptList(vxtest::ReadFile(window_->keeper()->file().Path()));
    QVERIFY(kept);
    const RecoveryPlan plan = PlanRecovery({{"", *kept, -1}});
    QCOMPARE(plan.converted.size(), std::size_t(0));
    QCOMPARE(plan.restore.size(), std::size_t(3));
}

// The batch runs in the window's own event loop: a modal dialog open all the
// while neither keeps rows from starting and ending nor stops the bars.
void BatchWindowTest::aDialogHeldOpenNeverStallsTheBatch() {
    AddFiles({"a.flv", "b.flv", "c.flv", "d.flv"}, 10);
    WriteSetting(SettingsPath(app_), "set", "parallel", "2");
    QElapsedTimer clock;
    clock.start();
    QVERIFY(Convert(86));
    const qint64 alone = clock.restart();

    int endedUnderDialog = 0;
    QSet<int> totals; // what the total bar showed while the dialog was open
    QTimer::singleShot(0, this, [&] {
        QDialog dialog(window_.get());
        connect(window_->progressPanel()->findChild<SlimProgressBar*>("prgTotalProgress"),
                &SlimProgressBar::valueChanged, &dialog, [&](int value) { totals << value; });
        QTimer watch;
        connect(&watch, &QTimer::timeout, &dialog, [&] {
            if (!window_->batch().Running()) {
                endedUnderDialog = 1;
                dialog.accept();
            }
        });
        watch.start(50);
        dialog.exec();
    });
    window_->action("BurnNow")->trigger();
    QVERIFY(vxtest::WaitForBatch(*window_));
    const qint64 underDialog = clock.elapsed();
    QCOMPARE(endedUnderDialog, 1);
    QVERIFY2(totals.size() >= 2,
             qPrintable(QStringLiteral("the bars stood still: %1 values").arg(totals.size())));
    QVERIFY2(
        underDialog <= alone * 1.15 + 300,
        qPrintable(
            QStringLiteral("%1 ms under the dialog, %2 ms alone").arg(underDialog).arg(alone)));
    for (int row = 0; row < 4; ++row)
        QCOMPARE(window_->sources().At(row, kStatus), std::string("OK"));
}

// Latin-1 names ("caf\xe9.flv") keep their bytes from the command line, a
// drop, D-Bus and the file dialog to the encoder, and convert. With no logind
// to ask, the end message says the computer stays on, and why.
void BatchWindowTest::namesThatAreNotUtf8ConvertAndARefusedPowerOffIsSaid() {
    std::vector<std::string> paths;
    for (const char* name : {"line\xe9.flv", "drop\xe9.flv", "bus\xe9.flv", "dialog\xe9.flv"}) {
        paths.push_back(app_ + "/" + name);
        QVERIFY(vxtest::MakeFlv(paths.back(), {.seconds = 1}));
    }
    window_->AddCommandLineFiles({NameFromBytes(paths[0])});
    QTRY_COMPARE(window_->sources().Count(), 1);
    QMimeData dropped;
    dropped.setUrls({QUrl::fromEncoded(
        QByteArray("file://") + QByteArray::fromStdString(paths[1]).toPercentEncoding("/"))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_->listView()->viewport(), &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_->listView()->viewport(), &drop);
    OneWindow bus(QStringLiteral("org.vantorix.Test"));
    bus.Serve(*window_);
    bus.Open({QString::fromLatin1(UrlOfName(NameFromBytes(paths[2])).toEncoded())}, {});
    QTRY_COMPARE(window_->sources().Count(), 3);
    desktop_.nextFiles = {QString::fromLocal8Bit(paths[3].c_str())}; // as Qt's dialog reads it
    window_->action("AddFiles")->trigger();
    QCOMPARE(window_->sources().Count(), 4);
    for (int row = 0; row < 4; ++row)
        QCOMPARE(window_->sources().At(row, kFileName), paths[static_cast<std::size_t>(row)]);
    QTRY_COMPARE_WITH_TIMEOUT(window_->probing(), 0, 20000);
    WriteSetting(SettingsPath(app_), "set", "autoshut", "1");
    desktop_.powerOffRefusal = QStringLiteral("there is no system bus to reach logind");
    QVERIFY(Convert(88)); // MP3
    for (int row = 0; row < 4; ++row) {
        const std::string& source = paths[static_cast<std::size_t>(row)];
        QCOMPARE(window_->sources().At(row, kStatus), std::string("OK"));
        const std::string name = source.substr(app_.size(), source.size() - 4 - app_.size());
        QVERIFY(vxtest::ProbeFile(videos_ + name + ".mp3").ok); // in the user's videos folder
    }
    QCOMPARE(desktop_.powerOffs, 1);
    QCOMPARE(desktop_.messages.back().first, MessageIcon::Warning);
    QCOMPARE(desktop_.messages.back().second,
             QStringLiteral("Conversion completed!\nThe computer could not be switched off and "
                            "stays on: there is no system bus to reach logind."));
}

// Two rows joined from the list, a batch in which one row fails: the end
// message names it and offers the log; Convert Failed Again converts that row
// alone; Remove Converted Rows empties the list; the Help menu opens the log.
void BatchWindowTest::joinedPartsAndOnlyTheFailuresAgain() {
    AddFiles({"good.flv", "bad.flv", "clip_part1.flv", "clip_part2.flv"});
    const std::string bad = app_ + "/bad.flv";
    std::ofstream(bad, std::ios::binary | std::ios::trunc) << std::string(4096, '\x5a');
    auto* view = window_->listView();
    auto* model = view->model();
    view->selectionModel()->select(QItemSelection(model->index(2, 0), model->index(3, 0)),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QVERIFY(window_->action("JoinIntoOneFile1")->isEnabled());
    window_->action("JoinIntoOneFile1")->trigger();
    QCOMPARE(window_->sources().Count(), 3);
    QCOMPARE(model->index(2, 0).data().toString(), QStringLiteral("clip_part1.flv + 1 more"));
    QVERIFY(window_->action("SplitIntoParts")->isEnabled());

    desktop_.nextOffers = {true}; // Show Log
    QVERIFY(Convert(41));         // AVI
    const SourceList& rows = window_->sources();
    QCOMPARE(rows.At(0, kStatus) + rows.At(1, kStatus) + rows.At(2, kStatus),
             std::string("OKFailOK"));
    QCOMPARE(desktop_.messages.size(), std::size_t(1));
    QCOMPARE(desktop_.messages[0].first, MessageIcon::Warning);
    QCOMPARE(desktop_.messages[0].second,
             QString::fromStdString("Conversion completed!\n2 converted, 1 failed.\n\nbad.flv: " +
                                    rows.Row(1).note));
    QCOMPARE(desktop_.offered, QStringList{"Show Log"});
    const QString log = QString::fromStdString(BatchLogPath());
    QVERIFY(desktop_.openedFolders.contains(log));
    QVERIFY(vxtest::DecodedDuration(videos_ + "/clip.avi") > 3.5);

    fs::copy_file(app_ + "/good.flv", bad, fs::copy_options::overwrite_existing);
    emit window_->findChild<QMenu*>("edit")->aboutToShow();
    QVERIFY(window_->action("ConvertFailedAgain")->isEnabled());
    desktop_.messages.clear();
    window_->action("ConvertFailedAgain")->trigger();
    QVERIFY(vxtest::WaitForBatch(*window_));
    QCOMPARE(rows.At(1, kStatus), std::string("OK"));
    QCOMPARE(desktop_.messages.at(0).second, QStringLiteral("Conversion completed!"));
    QVERIFY(fs::exists(videos_ + "/bad.avi"));
    QVERIFY(!fs::exists(videos_ + "/good_New.avi")); // converted before: not again
    QVERIFY(!fs::exists(videos_ + "/clip_New.avi"));
    emit window_->findChild<QMenu*>("edit")->aboutToShow();
    QVERIFY(!window_->action("ConvertFailedAgain")->isEnabled());

    window_->action("RemoveConvertedRows")->trigger();
    QCOMPARE(rows.Count(), 0);
    desktop_.openedFolders.clear();
    window_->action("BatchLog")->trigger();
    QCOMPARE(desktop_.openedFolders, QStringList{log});
}

QTEST_MAIN(BatchWindowTest)
#include "BatchWindowTest.moc"

// The main window keeps its list while it runs and offers, at the next start,
// the list of a program that did not close normally.
#include "FakeDesktop.h"
#include "IniFile.h"
#include "KeptList.h"
#include "ListKeeper.h"
#include "MainWindow.h"
#include "ProfileChooser.h"
#include "TestMedia.h"
#include "WindowKit.h"
#include "WorkingFile.h"

#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <filesystem>
#include <fstream>

using namespace vx;
namespace fs = std::filesystem;

class ListRecoveryTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void yesRestoresTheRowsNotConvertedWithTheirTrimsTheEntryAndTheSheet();
    void noRestoresNothingAndKeepsABackupAndAnUnreadableListIsSetAside();
    void theListFollowsChangesAndGoesWithANormalClose();
    void aListThatCannotBeKeptIsSaidOnce();

  private:
    std::unique_ptr<MainWindow> Open() { return vxtest::OpenWindow(app_, desktop_); }
    static KeptRow Row(std::string path, std::string start, std::string status) {
        KeptRow row;
        row.columns = {std::move(path), std::move(start),  "0:00:09", "1 MB",
                       "FLV",           std::move(status), "0:00:09"};
        return row;
    }
    // A list left by a program that was killed while b.flv was converted.
    void LeaveList() {
        KeptState state;
        state.entry = 4;
        state.sheet = {{sheetValue_.group, sheetValue_.item, "kept value"}};
        state.rows = {Row("/m/a.flv", "0:00:00", "OK"), Row("/m/b.flv", "0:00:00", "Processing"),
                      Row("/m/c.flv", "0:00:02", "Processing")};
        const auto working = CreateWorkingFile(state_ + "/b.mp4");
        QVERIFY(working);
        state.rows[1].output = working->path;
        state.rows[1].outputFolder = state_;
        state.rows[1].outputIdentity = working->identity;
        state.rows[1].audioFormat = "mp3"; // the probe's finding beside the columns
        // An earlier version named the final name: it is never removed.
        state.rows[2].output = state_ + "/c.mp4";
        state.rows[2].outputNew = true;
        std::ofstream(working->path) << "half";
        std::ofstream(state_ + "/c.mp4") << "the user's";
        QVERIFY(WriteFileAtomically(orphan_, EncodeKeptList(state)));
    }
    static std::optional<KeptState> Kept(MainWindow& window) {
        window.keeper()->SaveNow();
        window.keeper()->file().WaitUntilWritten();
        return DecodeKeptList(vxtest::ReadFile(window.keeper()->file().Path()));
    }
    std::unique_ptr<QTemporaryDir> folder_;
    std::string app_, state_, orphan_;
    KeptSheetValue sheetValue_;
    vxtest::FakeDesktop desktop_;
};

void ListRecoveryTest::init() {
    folder_ = std::make_unique<QTemporaryDir>();
    app_ = folder_->path().toStdString();
    state_ = app_ + "/state";
    fs::create_directories(state_);
    orphan_ = state_ + "/list-999999.vxlist";
    desktop_.asked.clear();
    desktop_.nextConfirms = {true};
    auto probe = Open();
    sheetValue_ = SheetValues(probe->sheet()).at(0);
}

void ListRecoveryTest::yesRestoresTheRowsNotConvertedWithTheirTrimsTheEntryAndTheSheet() {
    LeaveList();
    auto window = Open();
    window->KeepList(state_);
    QCOMPARE(desktop_.asked.size(), 1);
    const QString question = desktop_.asked[0];
    QVERIFY2(question.startsWith("Vantorix did not close normally. Restore the list of 3 files? "
                                 "(1 of them were converted before it stopped.)"),
             qPrintable(question));
    QVERIFY(question.contains("/m/a.flv"));
    QVERIFY(question.contains("Half-written output files removed: 1."));
    QVERIFY(question.contains(QString::fromStdString(state_ + "/c.mp4 (recorded by an earlier")));
    QVERIFY(!fs::exists(state_ + "/b.vxpart.mp4") && fs::exists(state_ + "/c.mp4"));
    SourceList& rows = window->sources();
    QCOMPARE(rows.Count(), 2);
    QCOMPARE(rows.At(0, kFileName), std::string("/m/b.flv"));
    QCOMPARE(rows.At(0, kStatus), std::string());
    QCOMPARE(rows.Row(0).audioFormat, std::string("mp3"));
    QCOMPARE(rows.At(1, kStart), std::string("0:00:02"));
    QCOMPARE(rows.At(1, kStatus), std::string());
    QCOMPARE(rows.At(1, kVideoTime), std::string("0:00:09"));
    QCOMPARE(window->chooser()->SelectedPosition(), 4);
    QCOMPARE(window->sheet().Find(sheetValue_.group, sheetValue_.item)->value,
             std::string("kept value"));
    QVERIFY(!fs::exists(orphan_) && !fs::exists(orphan_ + ".bak"));
    // The restored rows are this window's list now.
    const auto kept = Kept(*window);
    QVERIFY(kept && kept->rows.size() == 2 && kept->entry == 4);
}

// An unreadable list does not stop the start: it is set aside unasked.
void ListRecoveryTest::noRestoresNothingAndKeepsABackupAndAnUnreadableListIsSetAside() {
    LeaveList();
    desktop_.nextConfirms = {false};
    auto window = Open();
    window->KeepList(state_);
    QCOMPARE(desktop_.asked.size(), 1);
    QCOMPARE(window->sources().Count(), 0);
    QVERIFY(!fs::exists(orphan_));
    QVERIFY(DecodeKeptList(vxtest::ReadFile(orphan_ + ".bak")));
    // The backup is not offered again.
    auto second = Open();
    second->KeepList(state_);
    QCOMPARE(desktop_.asked.size(), 1);
    second.reset(); // one window of this process keeps the list, as at a start
    window.reset();
    std::ofstream(orphan_) << "vantorix-list 7\nfrom the future\n";
    auto third = Open();
    third->KeepList(state_);
    QCOMPARE(desktop_.asked.size(), 1);
    QVERIFY(fs::exists(orphan_ + ".unreadable"));
    QVERIFY(third->keeper()->file().Locked());
}

void ListRecoveryTest::theListFollowsChangesAndGoesWithANormalClose() {
    auto window = Open();
    window->KeepList(state_);
    const std::string path = window->keeper()->file().Path();
    const std::uint64_t id = window->sources().Append("/m/new.flv");
    window->sources().Set(id, kEnd, "0:00:05");
    // Written within a second of the change, without being asked.
    QTRY_VERIFY_WITH_TIMEOUT(fs::exists(path) && DecodeKeptList(vxtest::ReadFile(path)) &&
                                 DecodeKeptList(vxtest::ReadFile(path))->rows.size() == 1,
                             1000);
    QCOMPARE(DecodeKeptList(vxtest::ReadFile(path))->rows[0].columns[kEnd], std::string("0:00:05"));
    window->keeper()->RowWriting(id, {"/out/new.vxpart.mp4", {1, 2}}, "/out");
    const auto running = Kept(*window);
    QVERIFY(running && running->rows[0].output == "/out/new.vxpart.mp4" &&
            running->rows[0].outputFolder == "/out" &&
            running->rows[0].outputIdentity == FileIdentity({1, 2}));
    window->keeper()->RowEnded(id);
    window->close();
    QVERIFY(!fs::exists(path));
    QVERIFY(fs::is_empty(state_));
}

// A state folder that cannot be written: the window says once that the list
// will not survive a crash, and why.
void ListRecoveryTest::aListThatCannotBeKeptIsSaidOnce() {
    std::ofstream(app_ + "/plain") << "a file, not a folder";
    desktop_.messages.clear();
    auto window = Open();
    window->KeepList(app_ + "/plain/state");
    window->sources().Append("/m/a.flv");
    QTest::qWait(3 * ListKeeper::kDelayMilliseconds);
    QCOMPARE(desktop_.messages.size(), std::size_t(1));
    QCOMPARE(desktop_.messages[0].first, MessageIcon::Warning);
    QVERIFY(desktop_.messages[0].second.startsWith("The list will not survive a crash: it cannot "
                                                   "be kept in " +
                                                   QString::fromStdString(app_) +
                                                   "/plain/state (Not a directory)."));
}

QTEST_MAIN(ListRecoveryTest)
#include "ListRecoveryTest.moc"

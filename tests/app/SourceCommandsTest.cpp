// The source list's commands in the real main window, with the real player tool probing.
#include "FakeDesktop.h"
#include "MainWindow.h"
#include "PropertyGrid.h"
#include "SourceListView.h"
#include "TestMedia.h"
#include "WindowKit.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QStatusBar>
#include <QStyle>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <sys/stat.h>

using namespace vx;
namespace fs = std::filesystem;

class SourceCommandsTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void init();
    void cleanup();
    void addsDialogFilesInTheDialogsOrder();
    void foldersAndMixedDropsAddEveryFlashVideo();
    void everyRowsStatusAndReasonReadWithoutAMouse();
    void removeAndDeleteTakeTheSelectedRowAndUndoBringsAClearBack();
    void aClickMirrorsTheRowIntoTheSheetUntilClearAll();
    void thePopupMenuHoldsItsEntries();
    void closingDuringAProbeClosesAtOnce();
    void longPathsKeepTheirFileNames();

  private:
    QString Make(const char* name);
    QString Value(const char* group, const char* item) {
        return window_->grid()->sheetModel()->ValueIndex(group, item).data().toString();
    }
    void Drop(const QStringList& paths);
    void ClickRow(int row);

    QTemporaryDir media_;
    std::string source_;
    vxtest::FakeDesktop desktop_;
    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<MainWindow> window_;
};

void SourceCommandsTest::initTestCase() {
    source_ = media_.path().toStdString() + "/source.flv";
    QVERIFY(vxtest::MakeFlv(source_, {.seconds = 4}));
}

QString SourceCommandsTest::Make(const char* name) {
    const std::string path = media_.path().toStdString() + "/" + name;
    if (!fs::exists(path)) fs::copy_file(source_, path);
    return QString::fromStdString(path);
}

void SourceCommandsTest::init() {
    desktop_.messages.clear();
    window_ = vxtest::OpenWindow(VX_APP_DIR, desktop_);
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

void SourceCommandsTest::cleanup() {
    window_.reset();
}

void SourceCommandsTest::Drop(const QStringList& paths) {
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    data->setUrls(urls);
    QWidget* target = window_->listView()->viewport();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    delete data;
}

void SourceCommandsTest::ClickRow(int row) {
    SourceListView* view = window_->listView();
    const QRect rect = view->visualRect(view->model()->index(row, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
}

// A cancelled dialog adds nothing.
void SourceCommandsTest::addsDialogFilesInTheDialogsOrder() {
    desktop_.nextFiles = {};
    window_->AddFiles();
    QCOMPARE(window_->sources().Count(), 0);
    QVERIFY(desktop_.messages.empty());
    desktop_.nextFiles = {Make("c.flv"), Make("a.flv"), Make("b.flv")};
    window_->action("AddFiles")->trigger();
    // Every file has its row at once, in the dialog's order; the probes go on
    // in the background and Convert waits for them.
    SourceList& rows = window_->sources();
    QCOMPARE(rows.Count(), 3);
    QCOMPARE(window_->probing(), 3);
    QVERIFY(!window_->action("BurnNow")->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(window_->probing(), 0, 20000);
    QVERIFY(window_->action("BurnNow")->isEnabled());
    QCOMPARE(desktop_.lastDialogTitle, QStringLiteral("Open Video File"));
    QCOMPARE(desktop_.lastDialogFilter, QStringLiteral(" Flash Video Files (*.flv *.f4v)"));
    QVERIFY(rows.At(0, kFileName).ends_with("/c.flv"));
    QVERIFY(rows.At(1, kFileName).ends_with("/a.flv"));
    QVERIFY(rows.At(2, kFileName).ends_with("/b.flv"));
    for (int row = 0; row < 3; ++row) {
        QCOMPARE(rows.At(row, kEnd), std::string("0:00:04"));
        QCOMPARE(rows.At(row, kSize), std::string("320x240"));
    }
    // The model shows the same rows under the designed captions.
    QCOMPARE(window_->listView()->model()->headerData(6, Qt::Horizontal).toString(),
             QStringLiteral("Video Time"));
    QCOMPARE(window_->listView()->model()->index(1, 4).data().toString(), QStringLiteral("FLV1"));
}

// Add Folder scans off the window thread while Convert waits; a drop made
// meanwhile follows it. A dropped folder gives its Flash Video in natural order
// in its place among the files, FLV in any case; the other files are named once;
// dropped text adds nothing.
void SourceCommandsTest::foldersAndMixedDropsAddEveryFlashVideo() {
    QMimeData text;
    text.setText(QStringLiteral("just text"));
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window_->listView()->viewport(), &drop);
    const std::string tree = media_.path().toStdString() + "/tree";
    for (const char* name : {"part10.flv", "part2.flv", ".hidden.flv", "sub/x.f4v", "readme.txt"}) {
        fs::create_directories(fs::path(tree + "/" + name).parent_path());
        fs::copy_file(source_, tree + "/" + name, fs::copy_options::skip_existing);
    }
    QStringList status;
    connect(window_->statusBar(), &QStatusBar::messageChanged, this,
            [&status](const QString& text) { status << text; });
    desktop_.nextFolder = QString::fromStdString(tree);
    window_->action("AddFolder")->trigger();
    QVERIFY(window_->adding() && !window_->action("BurnNow")->isEnabled());
    Drop({Make("a.flv"), Make("upper.FLV"), media_.path() + "/b.avi", QString::fromStdString(tree),
          Make("notes.txt")});
    QTRY_VERIFY_WITH_TIMEOUT(!window_->adding(), 20000);
    const SourceList& rows = window_->sources();
    QStringList names;
    for (int row = 0; row < rows.Count(); ++row)
        names << QString::fromStdString(rows.At(row, kFileName).substr(tree.size() - 4));
    const QStringList inTree = {"tree/part2.flv", "tree/part10.flv", "tree/sub/x.f4v"};
    QCOMPARE(names, inTree + QStringList({"a.flv", "upper.FLV"}) + inTree);
    QCOMPARE(rows.Row(3).root, std::string());
    QCOMPARE(rows.Row(7).root, tree);
    QCOMPARE(desktop_.messages.size(), std::size_t(1));
    QCOMPARE(desktop_.messages[0].second,
             QStringLiteral("Only FLV files are allowed! Not added: b.avi, notes.txt"));
    QVERIFY(status.contains(QStringLiteral("Scanning ... 3 files")));
    QCOMPARE(window_->statusBar()->currentMessage(), QString());
    QTRY_COMPARE_WITH_TIMEOUT(window_->probing(), 0, 30000); // the F4V file too
    QCOMPARE(rows.At(2, kSize), std::string("320x240"));
}

// The line under the list spells out the current row as the arrow keys move it,
// and the menu key opens the row's pop-up menu; Status is never cut.
void SourceCommandsTest::everyRowsStatusAndReasonReadWithoutAMouse() {
    SourceList& rows = window_->sources();
    rows.Append("/v/fine.flv");
    rows.SetUnreadable(rows.Append("/v/broken.flv"), "it is no Flash video");
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    SourceListView* list = window_->listView();
    list->setFocus();
    list->setCurrentIndex(list->model()->index(0, 0));
    auto* details = window_->findChild<QLabel*>("rowDetails");
    QCOMPARE(details->text(), QStringLiteral("/v/fine.flv"));
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(details->text(), QStringLiteral("/v/broken.flv | Unreadable: it is no Flash video"));
    rows.SetAt(0, kStatus, "Fail"); // it follows the current row's changes only
    QVERIFY(details->text().startsWith("/v/broken.flv"));
    QTest::keyClick(list, Qt::Key_Menu);
    QTRY_VERIFY(window_->popupMenu()->isVisible());
    QVERIFY(list->visualRect(list->currentIndex())
                .contains(list->viewport()->mapFromGlobal(window_->popupMenu()->pos())));
    window_->popupMenu()->close();
    const int margins = 2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    QVERIFY(list->header()->sectionSize(kStatus) >=
            list->fontMetrics().horizontalAdvance(QStringLiteral("Unreadable")) + margins);
}

// Remove Selected Item and Delete on the list remove the selected row, the rows
// below moving up with their values; Ctrl+Z undoes one Clear All, the rows
// coming back with their trims and probed values.
void SourceCommandsTest::removeAndDeleteTakeTheSelectedRowAndUndoBringsAClearBack() {
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    desktop_.nextFiles = {Make("u1.flv"), Make("u2.flv"), Make("u3.flv"), Make("u4.flv")};
    window_->AddFiles();
    QTRY_COMPARE_WITH_TIMEOUT(window_->probing(), 0, 20000);
    SourceList& rows = window_->sources();
    rows.SetAt(1, kStart, "0:00:01");
    rows.SetAt(3, kStatus, "OK");
    window_->action("RemoveSelectedFile")->trigger(); // nothing selected: nothing removed
    QTest::keyClick(window_->listView(), Qt::Key_Delete);
    QCOMPARE(rows.Count(), 4);
    ClickRow(2);
    window_->action("RemoveSelectedFile")->trigger();
    QCOMPARE(rows.Count(), 3);
    QVERIFY(rows.At(2, kFileName).ends_with("/u4.flv") && rows.At(2, kStatus) == "OK");
    ClickRow(0);
    QTest::keyClick(window_->listView(), Qt::Key_Delete);
    QCOMPARE(rows.Count(), 2);
    const auto second = rows.Row(0).columns;
    QVERIFY(second[kFileName].ends_with("/u2.flv") && second[kSize] == "320x240");

    QAction* undo = window_->action("UndoClearAll");
    QCOMPARE(window_->findChild<QMenu*>("edit")->actions().value(0)->text(), "Undo Clear All");
    for (const char* keys : {"Ctrl+Z", "Ctrl+C", "Ctrl+Z", "Ctrl+Z"}) {
        QCOMPARE(undo->isEnabled(), rows.Count() == 0);
        QTest::keySequence(window_.get(), QKeySequence(QString::fromLatin1(keys)));
        QCOMPARE(rows.Count(), keys == QLatin1String("Ctrl+C") ? 0 : 2); // undone only once
    }
    QCOMPARE(rows.Row(0).columns, second);
    QCOMPARE(window_->listView()->model()->rowCount(), 2);
}

// A click shows its row in the sheet (later changes at the next click), a click
// on the empty list none; Clear All leaves the sheet as with no row.
void SourceCommandsTest::aClickMirrorsTheRowIntoTheSheetUntilClearAll() {
    QTest::mouseClick(window_->listView()->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    window_->ShowSelectedRow();
    QCOMPARE(Value("General", "Item Name"), QStringLiteral("Auto"));
    QVERIFY(window_->previewFile().empty());
    desktop_.nextFiles = {Make("m1.flv"), Make("m2.flv")};
    window_->AddFiles();
    QTRY_COMPARE_WITH_TIMEOUT(window_->probing(), 0, 20000);
    window_->sources().SetAt(1, kStart, "0:00:01");
    ClickRow(1);
    QCOMPARE(Value("General", "Item Name"), Make("m2.flv"));
    QCOMPARE(Value("Output Duration", "Start Time"), QStringLiteral("0:00:01"));
    QCOMPARE(Value("Output Duration", "Stop Time"), QStringLiteral("0:00:04"));
    QCOMPARE(Value("Output Duration", "All Clip Duration"), QString());
    QCOMPARE(QString::fromStdString(window_->previewFile()), Make("m2.flv"));
    // Later changes of the row show only at the next click.
    window_->sources().SetAt(1, kStart, "0:00:02");
    QCOMPARE(Value("Output Duration", "Start Time"), QStringLiteral("0:00:01"));
    for (int twice = 0; twice < 2; ++twice) {
        window_->action("ClearAllFiles")->trigger();
        QCOMPARE(window_->sources().Count(), 0);
        QCOMPARE(Value("General", "Item Name"), QStringLiteral("Auto"));
        for (const char* time : {"All Clip Duration", "Start Time", "Stop Time"})
            QCOMPARE(Value("Output Duration", time), QStringLiteral("00:00:00"));
    }
}

void SourceCommandsTest::thePopupMenuHoldsItsEntries() {
    QStringList entries;
    for (QAction* entry : window_->popupMenu()->actions())
        entries << (entry->isSeparator() ? QStringLiteral("-") : entry->text());
    QCOMPARE(entries, (QStringList{"Convert Now!", "-", "Play Selected File", "-", "Video Clip",
                                   "-", "Join Into One File", "Split Into Parts", "-", "Add Files",
                                   "Remove Selected Item", "Clear All Items", "-",
                                   "Capture Video From DV"}));
}

// A player that never ends its probe (a FIFO once did that) never keeps the
// window from closing, and is not left behind.
void SourceCommandsTest::closingDuringAProbeClosesAtOnce() {
    QTemporaryDir app;
    fs::create_symlink(VX_CHILD, app.path().toStdString() + "/mp.dll");
    const auto window = vxtest::OpenWindow(app.path().toStdString(), desktop_);
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    const QString fifo = app.path() + QStringLiteral("/f.flv");
    QCOMPARE(mkfifo(fifo.toLocal8Bit().constData(), 0644), 0);
    const QString hangs =
        app.path() + QStringLiteral("/hangs.flv"); // one folder, as a dialog gives
    QVERIFY(QFile::copy(Make("hangs.flv"), hangs));
    desktop_.nextFiles = {fifo, hangs};
    window->AddFiles();
    QTRY_COMPARE(vxtest::ChildProcesses(), 1); // the FIFO is not probed at all
    QTRY_COMPARE(window->sources().At(0, kSize), std::string("0x0")); // its row is filled apart
    QElapsedTimer clock;
    clock.start();
    QVERIFY(window->close());
    QVERIFY(!window->isVisible());
    QVERIFY(clock.elapsed() < 1000);
    QTRY_COMPARE_WITH_TIMEOUT(vxtest::ChildProcesses(), 0, 1000);
}

// In a narrow column the folder gives way, never the file name; the tooltip has
// the whole path and why the row failed.
void SourceCommandsTest::longPathsKeepTheirFileNames() {
    const QFontMetrics metrics(window_->listView()->font());
    const QString deep = QStringLiteral("/home/user/Videos/holidays/2026/summer/beach/day three/");
    const QString shown = ElidePath(deep + QStringLiteral("clip.flv"), metrics, 150);
    QVERIFY2(shown.endsWith(QStringLiteral("/clip.flv")), qPrintable(shown));
    QVERIFY(shown.startsWith(QStringLiteral("/home")));
    QVERIFY(shown.contains(QChar(0x2026)));
    QVERIFY(metrics.horizontalAdvance(shown) <= 150);
    QCOMPARE(ElidePath(QStringLiteral("/a/b.flv"), metrics, 400), QStringLiteral("/a/b.flv"));
    SourceList& rows = window_->sources();
    const auto id = rows.Append((deep + QStringLiteral("clip.flv")).toStdString());
    rows.SetNote(id, "Invalid frame size: abc.");
    const QModelIndex status = window_->listView()->model()->index(0, kStatus);
    QCOMPARE(status.data(Qt::ToolTipRole).toString(),
             deep + QStringLiteral("clip.flv\nInvalid frame size: abc."));
    QCOMPARE(window_->listView()->model()->index(0, kFileName).data().toString(),
             deep + QStringLiteral("clip.flv")); // the row's text stays the full path
}

QTEST_MAIN(SourceCommandsTest)
#include "SourceCommandsTest.moc"

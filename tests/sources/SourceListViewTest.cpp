// The source list's view paints a row's new status in place: what the window
// shows after a batch's changes equals a view painted afresh.
#include "SourceListView.h"
#include "SourceList.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QtTest>

using namespace vx;

class SourceListViewTest : public QObject {
    Q_OBJECT
  private slots:
    void aStatusChangePaintsWhatAFreshViewShows();
};

namespace {

// What the window shows: its backing store, not a new rendering of the widget.
QImage Shown(QWidget& window) {
    return QGuiApplication::primaryScreen()->grabWindow(window.winId()).toImage();
}

} // namespace

void SourceListViewTest::aStatusChangePaintsWhatAFreshViewShows() {
    SourceList rows;
    std::vector<std::uint64_t> ids;
    for (const char* path : {"/home/me/Videos/first clip.flv", "/home/me/Videos/second.flv",
                             "/media/usb/a rather long folder name/third.flv"}) {
        ids.push_back(rows.Append(path));
        rows.Set(ids.back(), kStart, "0:00:00");
        rows.Set(ids.back(), kEnd, "0:00:20");
    }
    auto view = std::make_unique<SourceListView>(rows);
    view->resize(640, 160);
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));

    QSignalSpy changes(view->listModel(), &QAbstractItemModel::dataChanged);
    rows.Set(ids[1], kStatus, "Processing");
    rows.SetNote(ids[1], "");          // no note before, none now: nothing to show again
    rows.Set(ids[0], kEnd, "0:00:20"); // the same text
    QCOMPARE(changes.count(), 1);
    rows.Set(ids[1], kStatus, "OK");
    rows.Set(ids[2], kStatus, "Fail");
    rows.SetNote(ids[2], "Invalid frame size");
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    const QImage painted = Shown(*view);

    view.reset(); // the list tells one view at a time
    SourceListView fresh(rows);
    fresh.resize(640, 160);
    fresh.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fresh));
    QCoreApplication::processEvents();
    QCOMPARE(painted, Shown(fresh));
}

QTEST_MAIN(SourceListViewTest)
#include "SourceListViewTest.moc"

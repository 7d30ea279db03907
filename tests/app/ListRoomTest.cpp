// The source list takes the room of a large window: more rows, columns that fill
// its width, narrow columns never cut; a splitter the user moved is remembered.
#include "FakeDesktop.h"
#include "IniFile.h"
#include "MainWindow.h"
#include "OffscreenScreen.h"
#include "Settings.h"
#include "SourceListView.h"

#include <QHeaderView>
#include <QSplitter>
#include <QStyle>
#include <QTemporaryDir>
#include <QtTest>

using namespace vx;

class ListRoomTest : public QObject {
    Q_OBJECT
  private slots:
    void theListGrowsWithTheWindow_data();
    void theListGrowsWithTheWindow();
    void aMovedSplitterIsRemembered();

  private:
    // A window of that size (the whole screen: maximised), with forty rows whose
    // narrow columns hold their widest texts.
    MainWindow& Open(QSize size) {
        window_ = std::make_unique<MainWindow>(folder_.path().toStdString(), desktop_);
        for (int i = 0; i < 40; ++i) {
            window_->sources().Append("/home/someone/" + std::string(120, 'd') + "/clip " +
                                      std::to_string(i) + " of the summer.flv");
            for (auto [column, text] : {std::pair{kSize, "1920x1080"}, {kStatus, "Processing"}})
                window_->sources().SetAt(i, column, text);
        }
        size == QSize(1920, 1080) ? window_->showMaximized() : window_->resize(size);
        window_->show();
        QCoreApplication::processEvents();
        return *window_;
    }
    double Share() const {
        const QList<int> sizes = window_->findChild<QSplitter*>("listPreviewSplitter")->sizes();
        return double(sizes.value(0)) / (sizes.value(0) + sizes.value(1));
    }
    QTemporaryDir folder_;
    vxtest::FakeDesktop desktop_;
    std::unique_ptr<MainWindow> window_;
};

void ListRoomTest::theListGrowsWithTheWindow_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("fewestRows"); // 16 and 10 rows before the list took the room
    QTest::newRow("1920x1080 maximised") << QSize(1920, 1080) << 2 * 16;
    QTest::newRow("1280x800") << QSize(1280, 800) << 15;
}

void ListRoomTest::theListGrowsWithTheWindow() {
    QFETCH(QSize, size);
    QFETCH(int, fewestRows);
    SourceListView* list = Open(size).listView();
    int rows = 0;
    while (list->visualRect(list->model()->index(rows, 0)).bottom() < list->viewport()->height())
        ++rows;
    qInfo("%dx%d: %d rows", size.width(), size.height(), rows);
    QVERIFY(rows >= fewestRows);
    // The columns fill the list's width; Size and Status show their texts and captions whole.
    QHeaderView* header = list->header();
    QCOMPARE(header->sectionViewportPosition(kVideoTime) + header->sectionSize(kVideoTime),
             list->viewport()->width());
    const int margins = 2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    for (Column column : {kSize, kStatus}) {
        const QString text = list->model()->index(0, column).data().toString();
        QVERIFY(header->sectionSize(column) >=
                list->fontMetrics().horizontalAdvance(text) + margins);
        QVERIFY(header->sectionSize(column) >=
                header->fontMetrics().horizontalAdvance(kColumnCaptions[column]));
    }
    // The file name shows whole, with as much of the folder as fits.
    const int width = header->sectionSize(kFileName) - margins;
    const QString shown =
        ElidePath(list->model()->index(3, kFileName).data().toString(), list->fontMetrics(), width);
    QVERIFY2(shown.startsWith("/home/") && shown.contains("…") &&
                 shown.endsWith("/clip 3 of the summer.flv"),
             qPrintable(shown));
    QVERIFY(list->fontMetrics().horizontalAdvance(shown) > width * 3 / 4);
}

// The share the user gave the list is kept in settings.dat, used at the next start
// (with a window of another size) and held as the window changes.
void ListRoomTest::aMovedSplitterIsRemembered() {
    Open(QSize(1280, 800));
    QSplitterHandle* handle = window_->findChild<QSplitter*>("listPreviewSplitter")->handle(1);
    QTest::mousePress(handle, Qt::LeftButton);
    QTest::mouseMove(handle, QPoint(2, -150));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(2, -150));
    const double share = Share();
    QVERIFY(share < 0.5);
    QTRY_VERIFY(
        !ReadSetting(SettingsPath(folder_.path().toStdString()), "set", "listshare").empty());
    Open(QSize(1920, 1080));
    QVERIFY(std::abs(Share() - share) < 0.02);
    window_->resize(1500, 1000);
    QCoreApplication::processEvents();
    QVERIFY(std::abs(Share() - share) < 0.02);
}

// A full-HD screen, so that "maximised" means 1920x1080.
int main(int argc, char** argv) {
    return vxtest::RunOnOffscreenScreen<ListRoomTest>(argc, argv, QSize(1920, 1080), 1);
}

#include "ListRoomTest.moc"

// The source list takes the room of a large window: more rows, columns that fill
// its width, narrow columns never cut; a splitter the user moved is remembered.
#include "FakeDesktop.h"
#include "IniFile.h"
#include "MainWindow.h"
#include "PreviewPanel.h"
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
    void init();
    void cleanup();
    void theListGrowsWithTheWindow_data();
    void theListGrowsWithTheWindow();
    void aMovedSplitterIsRemembered();

  private:
    MainWindow& Open(QSize size);
    int VisibleRows() const;
    QSplitter* Splitter() const {
        return window_->findChild<QSplitter*>(QStringLiteral("listPreviewSplitter"));
    }
    std::unique_ptr<QTemporaryDir> folder_;
    vxtest::FakeDesktop desktop_;
    std::unique_ptr<MainWindow> window_;
};

void ListRoomTest::init() {
    folder_ = std::make_unique<QTemporaryDir>();
}

void ListRoomTest::cleanup() {
    window_.reset();
}

// A window of that size (the whole screen: maximised), with forty rows whose
// narrow columns hold their widest texts.
MainWindow& ListRoomTest::Open(QSize size) {
    window_ = std::make_unique<MainWindow>(folder_->path().toStdString(), desktop_);
    const std::string deep = "/home/someone/videos/" + std::string(120, 'd') + "/";
    for (int i = 0; i < 40; ++i) {
        SourceList& rows = window_->sources();
        rows.Append(deep + "clip number " + std::to_string(i) + " of the summer holidays.flv");
        for (auto [column, text] : {std::pair{kStart, "10:00:00"},
                                    {kEnd, "10:59:59"},
                                    {kSize, "1920x1080"},
                                    {kFormat, "FLV1"},
                                    {kStatus, "Processing"},
                                    {kVideoTime, "10:59:59"}})
            rows.SetAt(i, column, text);
    }
    if (size == window_->screen()->availableGeometry().size())
        window_->showMaximized();
    else {
        window_->resize(size);
        window_->show();
    }
    [&] { QVERIFY(QTest::qWaitForWindowExposed(window_.get())); }();
    QCoreApplication::processEvents();
    return *window_;
}

int ListRoomTest::VisibleRows() const {
    const SourceListView* list = window_->listView();
    int rows = 0;
    while (rows < list->model()->rowCount() &&
           list->visualRect(list->model()->index(rows, 0)).bottom() < list->viewport()->height())
        ++rows;
    return rows;
}

void ListRoomTest::theListGrowsWithTheWindow_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("fewestRows"); // 16 and 10 rows before the list took the room
    QTest::newRow("1920x1080 maximised") << QSize(1920, 1080) << 2 * 16;
    QTest::newRow("1280x800") << QSize(1280, 800) << 15;
}

void ListRoomTest::theListGrowsWithTheWindow() {
    QFETCH(QSize, size);
    QFETCH(int, fewestRows);
    MainWindow& window = Open(size);
    SourceListView* list = window.listView();
    QHeaderView* header = list->header();
    qInfo("%dx%d: %d rows, preview %dx%d", size.width(), size.height(), VisibleRows(),
          window.preview()->width(), window.preview()->height());
    QVERIFY2(VisibleRows() >= fewestRows, qPrintable(QString::number(VisibleRows())));

    // The columns fill the list's width, no more.
    const int last =
        header->sectionViewportPosition(kColumnCount - 1) + header->sectionSize(kColumnCount - 1);
    QCOMPARE(last, list->viewport()->width());
    // Size and Status show their widest texts and captions whole.
    const QFontMetrics metrics = list->fontMetrics();
    const int margins = 2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    for (Column column : {kSize, kStatus}) {
        const QString text = list->model()->index(0, column).data().toString();
        QVERIFY(header->sectionSize(column) >= metrics.horizontalAdvance(text) + margins);
        QVERIFY(header->sectionSize(column) >= header->fontMetrics().horizontalAdvance(
                                                   QString::fromLatin1(kColumnCaptions[column])));
    }
    // The file name column shows the name whole and elides the folder.
    const QString path = list->model()->index(3, kFileName).data().toString();
    const QString shown = ElidePath(path, metrics, header->sectionSize(kFileName) - margins);
    QVERIFY2(shown.endsWith(QStringLiteral("/clip number 3 of the summer holidays.flv")),
             qPrintable(shown));
    QVERIFY2(shown.startsWith(QStringLiteral("/home/")), qPrintable(shown));
    QVERIFY(shown.contains(QStringLiteral("…")));
    QVERIFY(metrics.horizontalAdvance(shown) > header->sectionSize(kFileName) / 2);
}

// The share the user gave the list is kept in settings.dat and used at the next
// start, also when that window is of another size.
void ListRoomTest::aMovedSplitterIsRemembered() {
    Open(QSize(1280, 800));
    QSplitter* splitter = Splitter();
    const int total = splitter->sizes().value(0) + splitter->sizes().value(1);
    QSplitterHandle* handle = splitter->handle(1);
    QTest::mousePress(handle, Qt::LeftButton);
    QTest::mouseMove(handle, QPoint(2, 2 - total / 4));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(2, 2 - total / 4));
    const double share = double(splitter->sizes().value(0)) / total;
    QVERIFY2(share < 0.45, qPrintable(QString::number(share)));
    QTRY_VERIFY(
        !ReadSetting(SettingsPath(folder_->path().toStdString()), "set", "listshare").empty());

    Open(QSize(1920, 1080));
    const QList<int> sizes = Splitter()->sizes();
    QVERIFY(std::abs(double(sizes.value(0)) / (sizes.value(0) + sizes.value(1)) - share) < 0.02);
    window_->resize(1500, 1000); // the share holds as the window changes
    QCoreApplication::processEvents();
    const QList<int> after = Splitter()->sizes();
    QVERIFY(std::abs(double(after.value(0)) / (after.value(0) + after.value(1)) - share) < 0.02);
}

// The offscreen screen is a full-HD one, so that "maximised" means 1920x1080.
int main(int argc, char** argv) {
    QTemporaryDir config;
    const QString file = config.path() + QStringLiteral("/screen.json");
    QFile json(file);
    if (!json.open(QIODevice::WriteOnly)) return 1;
    json.write(R"({"screens": [{"name": "hd", "x": 0, "y": 0, "width": 1920, "height": 1080,
                   "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    json.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + file.toLocal8Bit());
    QApplication app(argc, argv);
    ListRoomTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ListRoomTest.moc"

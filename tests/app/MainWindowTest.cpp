#include "MainWindow.h"
#include "Catalog.h"
#include "FakeDesktop.h"
#include "ProfileChooser.h"
#include "PropertyGrid.h"
#include "WindowKit.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace vx;

namespace {

QString Value(MainWindow& window, const char* group, const char* item) {
    return window.grid()->sheetModel()->ValueIndex(group, item).data().toString();
}

QStringList Choices(MainWindow& window, const char* group, const char* item) {
    return window.grid()
        ->sheetModel()
        ->ValueIndex(group, item)
        .data(OptionSheetModel::ChoicesRole)
        .toStringList();
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void startsWithTheCatalogAndTheDefaultSheet();
    void pickingByIndexAppliesTheSet();
    void pickingByKeyboardAppliesTheSet();

  private:
    vxtest::FakeDesktop desktop_;
    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<MainWindow> window_;
};

void MainWindowTest::init() {
    folder_ = std::make_unique<QTemporaryDir>();
    window_ = vxtest::OpenWindow(folder_->path().toStdString(), desktop_);
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

void MainWindowTest::cleanup() {
    window_.reset();
    folder_.reset();
}

void MainWindowTest::startsWithTheCatalogAndTheDefaultSheet() {
    QCOMPARE(window_->windowTitle(), QStringLiteral("Vantorix 2.00"));
    QCOMPARE(window_->chooser()->count(), ProfileCatalog::kEntryCount);
    QCOMPARE(window_->chooser()->SelectedPosition(), 0);
    QCOMPARE(Value(*window_, "Video Options", "Video Codec"), QStringLiteral("xvid"));
    QCOMPARE(Value(*window_, "General", "Item Name"), QStringLiteral("Auto"));
}

void MainWindowTest::pickingByIndexAppliesTheSet() {
    ProfileChooser* chooser = window_->chooser();
    chooser->setCurrentIndex(77); // Gigabeat
    emit chooser->activated(77);
    QCOMPARE(Choices(*window_, "Video Options", "Video Bitrate"),
             (QStringList{"768", "512", "384", "256"}));
    chooser->setCurrentIndex(20); // PS3 480p
    emit chooser->activated(20);
    QCOMPARE(Choices(*window_, "Video Options", "Video Bitrate"),
             (QStringList{"768", "512", "384", "256", "2000", "2500", "3000"}));
    QCOMPARE(Value(*window_, "Video Options", "Video Framerate"), QStringLiteral("29.976"));
    QCOMPARE(Value(*window_, "Video Options", "Video Size"), QStringLiteral("720x480"));
}

void MainWindowTest::pickingByKeyboardAppliesTheSet() {
    ProfileChooser* chooser = window_->chooser();
    chooser->setFocus();
    QVERIFY(chooser->SelectPosition(17)); // heading "Sony PSP", selected without applying
    QCOMPARE(Value(*window_, "Video Options", "Video Codec"), QStringLiteral("xvid"));
    QTest::keyClick(chooser, Qt::Key_Down); // "Sony PSP MPEG-4 Movie(*.mp4)"
    QCOMPARE(chooser->SelectedPosition(), 18);
    QCOMPARE(Value(*window_, "Video Options", "Video Codec"), QStringLiteral("mpeg4"));
    QCOMPARE(Value(*window_, "Audio Options", "Sample Rate"), QStringLiteral("24000"));
    QCOMPARE(Choices(*window_, "Video Options", "Video Size"),
             (QStringList{"368x208", "320x240", "160x112"}));
    QTest::keyClick(chooser, Qt::Key_Up); // back to the heading: the same set
    QCOMPARE(chooser->SelectedPosition(), 17);
    QCOMPARE(Value(*window_, "Video Options", "Video Codec"), QStringLiteral("mpeg4"));
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"

#include "Catalog.h"
#include "CategoryArt.h"
#include "ProfileChooser.h"
#include "PropertyGrid.h"
#include "SheetLayout.h"

#include <QComboBox>
#include <QSignalSpy>
#include <QtTest>

using namespace vx;

class ProfileWidgetsTest : public QObject {
    Q_OBJECT
  private slots:
    void chooserListsTheCatalogAtOneLevelWithThePicturesOfItsHeadings();
    void chooserSelectsOnlyExistingPositions();
    void gridShowsGroupsAndItemsInOrderAndRefusesEditsOfReadOnlyItems();
    void gridEditsChoiceItemsFromTheirOwnList();
};

// Every picture renders at the screen's ratio: the laptop-screen test.
void ProfileWidgetsTest::chooserListsTheCatalogAtOneLevelWithThePicturesOfItsHeadings() {
    ProfileChooser chooser;
    chooser.FillCatalog();
    QCOMPARE(chooser.count(), ProfileCatalog::kEntryCount); // the 92, then the later entries
    QCOMPARE(chooser.SelectedPosition(), 0);
    QCOMPARE(chooser.itemText(0), QStringLiteral("Apple iPod"));
    QCOMPARE(chooser.itemText(91), QStringLiteral("WMA Audio(*.wma)"));
    QCOMPARE(chooser.itemText(96), QStringLiteral("Today's formats"));
    for (int p = 1; p <= ProfileCatalog::kEntryCount; ++p)
        QCOMPARE(!chooser.itemIcon(p - 1).isNull(), ProfileCatalog::IsHeading(p));
    QVERIFY(CategoryPicture(0).isNull());
    QVERIFY(CategoryPicture(kCategoryPictureCount + 1).isNull());
}

void ProfileWidgetsTest::chooserSelectsOnlyExistingPositions() {
    ProfileChooser chooser;
    chooser.FillCatalog();
    QSignalSpy picked(&chooser, &ProfileChooser::entryPicked);
    QVERIFY(chooser.SelectPosition(79));
    QCOMPARE(chooser.SelectedText(), QStringLiteral("Common Used Video Formats"));
    QVERIFY(!chooser.SelectPosition(0));
    QCOMPARE(chooser.SelectedPosition(), 0);
    QVERIFY(chooser.SelectedText().isEmpty());
    QVERIFY(!chooser.SelectPosition(ProfileCatalog::kEntryCount + 1));
    QCOMPARE(chooser.SelectedPosition(), 0);
    QCOMPARE(picked.count(), 0); // selecting in code is no pick by the user
}

void ProfileWidgetsTest::gridShowsGroupsAndItemsInOrderAndRefusesEditsOfReadOnlyItems() {
    OptionSheet sheet;
    PropertyGrid grid(sheet);
    FillDefaultLayout(sheet);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    auto* model = grid.sheetModel();
    QCOMPARE(model->rowCount(), 4);
    QCOMPARE(model->index(2, 0).data().toString(), QStringLiteral("Video Options"));
    const QModelIndex video = model->index(2, 0);
    QCOMPARE(model->rowCount(video), 4);
    QCOMPARE(model->index(1, 0, video).data().toString(), QStringLiteral("Video Size"));
    QCOMPARE(model->index(1, 1, video).data().toString(), QStringLiteral("320x240"));
    QVERIFY(grid.isExpanded(video));
    // Changes in the sheet show at once.
    sheet.SetValue(sheet.Find("Video Options", "Video Size"), "640x480");
    QCOMPARE(model->index(1, 1, video).data().toString(), QStringLiteral("640x480"));
    for (const char* item : {"Start Time", "Stop Time", "All Clip Duration"}) {
        const QModelIndex index = model->ValueIndex("Output Duration", item);
        QVERIFY(!(model->flags(index) & Qt::ItemIsEditable));
        QVERIFY(!model->setData(index, "1:00:00"));
        grid.edit(index);
        QVERIFY(!grid.findChild<QComboBox*>("choiceEditor"));
    }
    QVERIFY(!model->setData(model->ValueIndex("General", "Item Name"), "x"));
    QCOMPARE(QString::fromStdString(sheet.Find("General", "Item Name")->value),
             QStringLiteral("Auto"));
}

void ProfileWidgetsTest::gridEditsChoiceItemsFromTheirOwnList() {
    OptionSheet sheet;
    PropertyGrid grid(sheet);
    FillDefaultLayout(sheet);
    OptionItem* sizes = sheet.Find("Video Options", "Video Size");
    sheet.AddChoice(sizes, "320x240"); // duplicates stay in the list
    grid.resize(500, 600);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    const QModelIndex index = grid.sheetModel()->ValueIndex("Video Options", "Video Size");
    grid.setCurrentIndex(index);
    grid.edit(index);
    auto* combo = grid.findChild<QComboBox*>("choiceEditor");
    QVERIFY(combo);
    QCOMPARE(combo->count(), 5);
    QCOMPARE(combo->itemText(4), QStringLiteral("320x240"));
    QCOMPARE(combo->currentText(), QStringLiteral("320x240"));
    combo->setCurrentIndex(3);
    emit combo->activated(3);
    QCOMPARE(QString::fromStdString(sizes->value), QStringLiteral("640x480"));
}

QTEST_MAIN(ProfileWidgetsTest)
#include "ProfileWidgetsTest.moc"

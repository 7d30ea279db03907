// The toolbar's hover border and the dragging of the progress panel.
#include "Toolbar.h"
#include "FakeDesktop.h"
#include "MainWindow.h"
#include "PanelDragger.h"
#include "ProfileChooser.h"
#include "WindowKit.h"

#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>

using namespace vx;

class ToolbarTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void hoverBordersOnlyAsTheBarSays_data();
    void hoverBordersOnlyAsTheBarSays();
    void panelFollowsTheLeftButtonAndStaysInside();

  private:
    void Open(bool skinned);
    QString Bordered() const;
    void MoveTo(QWidget* widget, QPoint at = {}) {
        QTest::mouseMove(widget, at.isNull() ? widget->rect().center() : at);
    }

    QTemporaryDir folder_;
    vxtest::FakeDesktop desktop_;
    std::unique_ptr<MainWindow> window_;
};

void ToolbarTest::init() {
    QVERIFY(folder_.isValid());
}

void ToolbarTest::cleanup() {
    window_.reset();
    std::filesystem::remove_all(folder_.path().toStdString() + "/skins");
}

void ToolbarTest::Open(bool skinned) {
    if (skinned) {
        std::filesystem::create_directory(folder_.path().toStdString() + "/skins");
        std::filesystem::copy_file(std::string(VX_APP_DIR) + "/skins/frmmain.skn",
                                   folder_.path().toStdString() + "/skins/frmmain.skn");
    }
    window_ = vxtest::OpenWindow(folder_.path().toStdString(), desktop_);
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    QCOMPARE(window_->styleSheet().isEmpty(), !skinned);
}

QString ToolbarTest::Bordered() const {
    QStringList names;
    for (ToolbarImage* image : window_->toolbar()->images())
        if (image->bordered()) names << image->objectName();
    return names.join(' ');
}

void ToolbarTest::hoverBordersOnlyAsTheBarSays_data() {
    QTest::addColumn<bool>("skinned");
    QTest::newRow("plain") << false;
    QTest::newRow("skinned") << true;
}

void ToolbarTest::hoverBordersOnlyAsTheBarSays() {
    QFETCH(bool, skinned);
    Open(skinned);
    Toolbar* bar = window_->toolbar();
    ToolbarImage* add = bar->image("Image1");
    ToolbarImage* exit = bar->image("Image7");
    // The bare bar, between the last image and the label.
    const QPoint bare((exit->geometry().right() + bar->profileLabel()->geometry().left()) / 2,
                      exit->geometry().center().y());
    QVERIFY(!bar->childAt(bare));
    MoveTo(bar, bare); // wherever the pointer was left
    QTRY_COMPARE(Bordered(), QString());
    const QImage plain = add->grab().toImage();

    MoveTo(add);
    QTRY_COMPARE(Bordered(), QStringLiteral("Image1"));
    // The border is drawn on the image's edge, whatever the skin says.
    const QImage bordered = add->grab().toImage();
    add->setBordered(false);
    const QImage hovered = add->grab().toImage(); // the pointer is still on it
    add->setBordered(true);
    QVERIFY(bordered.pixel(0, bordered.height() / 2) != hovered.pixel(0, hovered.height() / 2));
    QVERIFY(bordered.pixel(bordered.width() / 2, 0) != hovered.pixel(hovered.width() / 2, 0));

    // Straight on to the next images: every one passed keeps its border. (Each
    // is waited for: the X server may merge two quick moves into one.)
    MoveTo(bar->image("Image2"));
    QTRY_COMPARE(Bordered(), QStringLiteral("Image1 Image2"));
    MoveTo(bar->image("Image11"));
    QTRY_COMPARE(Bordered(), QStringLiteral("Image1 Image2 Image11"));
    // The label and the chooser are not the bare bar; leaving the window is not either.
    MoveTo(bar->profileLabel());
    MoveTo(bar->chooser());
    MoveTo(window_->centralWidget(), QPoint(5, window_->centralWidget()->height() - 5));
    QTest::qWait(100); // on a real X server the pointer's events come late
    QCOMPARE(Bordered(), QStringLiteral("Image1 Image2 Image11"));
    MoveTo(bar, bare);
    QTRY_COMPARE(Bordered(), QString());
    QCOMPARE(add->grab().toImage(), plain);
    MoveTo(exit);
    QTRY_COMPARE(Bordered(), QStringLiteral("Image7"));
}

void ToolbarTest::panelFollowsTheLeftButtonAndStaysInside() {
    Open(true);
    QWidget* panel = window_->progressPanel();
    QWidget* area = panel->parentWidget();
    panel->resize(300, 150);
    panel->move(100, 100);
    panel->show();
    auto* dragger = panel->findChild<PanelDragger*>();
    QVERIFY(dragger);

    // The right button does not take the panel.
    QTest::mousePress(panel, Qt::RightButton, {}, QPoint(10, 10));
    QTest::mouseMove(area, QPoint(300, 300));
    QTest::mouseRelease(panel, Qt::RightButton, {}, QPoint(10, 10));
    QCOMPARE(panel->pos(), QPoint(100, 100));

    // Pressed 20,30 inside the panel: the panel keeps that point under the pointer.
    QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(20, 30));
    QVERIFY(dragger->dragging());
    QTest::mouseMove(area, QPoint(220, 180));
    QCOMPARE(panel->pos(), QPoint(200, 150));
    // Past the left and top edges, and past the right and bottom: it stays inside.
    QTest::mouseMove(area, QPoint(-400, -400));
    QCOMPARE(panel->pos(), QPoint(0, 0));
    QTest::mouseMove(area, QPoint(area->width() + 500, area->height() + 500));
    QCOMPARE(panel->geometry().bottomRight(), area->rect().bottomRight());
    QTest::mouseMove(area, QPoint(60, 70));
    QCOMPARE(panel->pos(), QPoint(40, 40));
    QTest::mouseRelease(area, Qt::LeftButton, {}, QPoint(60, 70));
    QVERIFY(!dragger->dragging());
    QTest::mouseMove(area, QPoint(250, 250));
    QCOMPARE(panel->pos(), QPoint(40, 40));

    // A press on the panel's frame captions drags too; a shrinking window keeps it inside.
    QLabel* clock = panel->findChild<QLabel*>("SkinLabel2");
    QTest::mousePress(clock, Qt::LeftButton, {}, QPoint(2, 2));
    QVERIFY(dragger->dragging());
    QTest::mouseRelease(clock, Qt::LeftButton, {}, QPoint(2, 2));
    panel->move(area->width() - panel->width(), area->height() - panel->height());
    window_->resize(window_->width() - 200, window_->height() - 150);
    QTRY_VERIFY(area->rect().contains(panel->geometry()));
}

QTEST_MAIN(ToolbarTest)
#include "ToolbarTest.moc"

// A laptop's 1280x800 screen at 200 %: the first window fits it, and the
// toolbar's images and the headings' pictures are drawn at twice the pixels,
// not a smaller picture scaled up.
#include "CategoryArt.h"
#include "FakeDesktop.h"
#include "MainWindow.h"
#include "OffscreenScreen.h"
#include "Toolbar.h"

#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QtTest>

using namespace vx;

class LaptopScreenTest : public QObject {
    Q_OBJECT
  private slots:
    void theFirstWindowFitsBesideAPanelAndATitleBar();
    void toolbarAndHeadingPicturesAreDrawnAtTheScreensRatio();
};

void LaptopScreenTest::theFirstWindowFitsBesideAPanelAndATitleBar() {
    QTemporaryDir folder;
    vxtest::FakeDesktop desktop;
    MainWindow window(folder.path().toStdString(), desktop);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.screen()->availableGeometry().size(), QSize(1280, 800));
    // Room is left for a panel and the title bar the window manager adds; the rest is used.
    QVERIFY2(window.width() <= 1280 - 32 && window.height() <= 800 - 80 && window.height() >= 600,
             qPrintable(QStringLiteral("%1x%2").arg(window.width()).arg(window.height())));
}

// Each picture holds twice its size in pixels, drawn from the SVG at that size.
void LaptopScreenTest::toolbarAndHeadingPicturesAreDrawnAtTheScreensRatio() {
    Toolbar toolbar;
    for (ToolbarImage* image : toolbar.images()) {
        QCOMPARE(image->devicePixelRatioF(), 2.0);
        const QPixmap shown = image->icon().pixmap(image->iconSize(), 2.0);
        QCOMPARE(shown.size(), image->iconSize() * 2);
    }
    for (int picture = 1; picture <= kCategoryPictureCount; ++picture) {
        const QPixmap shown = CategoryPicture(picture).pixmap(QSize(24, 24), 2.0);
        QCOMPARE(shown.deviceIndependentSize().toSize(), QSize(24, 24));
        QImage direct(48, 48, QImage::Format_ARGB32_Premultiplied);
        direct.fill(Qt::transparent);
        QPainter painter(&direct);
        QSvgRenderer(CategoryPictureSvg(picture).toUtf8()).render(&painter, QRectF(0, 0, 48, 48));
        painter.end();
        direct.setDevicePixelRatio(2);
        QCOMPARE(shown.toImage().convertToFormat(direct.format()), direct);
    }
}

int main(int argc, char** argv) {
    return vxtest::RunOnOffscreenScreen<LaptopScreenTest>(argc, argv, QSize(1280, 800), 2);
}

#include "LaptopScreenTest.moc"

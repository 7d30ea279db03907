// The twins of the main window behave alike while a batch runs, with the real
// tools converting.
#include "BatchRun.h"
#include "CommandEffects.h"
#include "FakeDesktop.h"
#include "MainWindow.h"
#include "ProfileChooser.h"
#include "TestMedia.h"
#include "Toolbar.h"
#include "WindowKit.h"

#include <QPushButton>
#include <QtTest>
#include <filesystem>

using namespace vx;
namespace fs = std::filesystem;

class CommandsDuringBatchTest : public QObject {
    Q_OBJECT
  private slots:
    void twinsBehaveAlikeWhileConverting();
};

void CommandsDuringBatchTest::twinsBehaveAlikeWhileConverting() {
    const std::string app = vxtest::MakeTempFolder("vx-twins-batch");
    vxtest::LinkTools(app, VX_APP_DIR);
    vxtest::FakeDesktop desktop;
    const auto window = vxtest::OpenWindow(app, desktop);
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QStringList files;
    for (const char* name : {"one.flv", "two.flv", "three.flv"}) {
        QVERIFY(vxtest::MakeFlv(app + "/" + name, {.seconds = 8}));
        files << QString::fromStdString(app + "/" + name);
    }
    desktop.nextFiles = files;
    window->AddFiles();
    QCOMPARE(window->sources().Count(), 3);
    QTRY_COMPARE_WITH_TIMEOUT(window->probing(), 0, 20000);
    vxtest::PickRow(*window, 83); // Customized AVI Movie(*.avi)

    QStringList mismatches;
    int compared = 0;
    QTimer during;
    connect(&during, &QTimer::timeout, this, [&] {
        if (!window->batch().Running() || compared > 0) return;
        const std::pair<const char*, const char*> twins[] = {{"play", "PlaySelectedFile"},
                                                             {"videoclip", "cuttime"},
                                                             {"BurnNow", "convertnow1"},
                                                             {"Capture", "Capture1"}};
        for (auto [menu, popup] : twins) {
            const auto trigger = [&](const char* name) {
                return vxtest::Observe(*window, desktop, [&] { window->action(name)->trigger(); });
            };
            const vxtest::Effects fromMenu = trigger(menu);
            const vxtest::Effects fromPopup = trigger(popup);
            if (!(fromMenu == fromPopup) ||
                window->action(menu)->isEnabled() != window->action(popup)->isEnabled())
                mismatches << QString("%1/%2").arg(menu, popup);
            ++compared;
        }
        // A second batch cannot start from any of the three Convert controls.
        window->toolbar()->image("Image11")->click();
        window->findChild<QPushButton*>("Command1")->click(); // Cancel
    });
    during.start(20);
    window->action("BurnNow")->trigger();
    QVERIFY(vxtest::WaitForBatch(*window));
    during.stop();
    QCOMPARE(compared, 4);
    QVERIFY2(mismatches.isEmpty(), qPrintable(mismatches.join(", ")));
    QVERIFY(desktop.messages.back().second.startsWith(
        QStringLiteral("Conversion Canceled by the user!")));
    // One batch: the rows it was converting are cancelled, none is left running.
    QStringList statuses;
    for (int row = 0; row < 3; ++row)
        statuses << QString::fromStdString(window->sources().At(row, kStatus));
    QVERIFY2(statuses.contains("Cancel") && !statuses.contains("Processing"),
             qPrintable(statuses.join(' ')));
    window->close();
    vxtest::RemoveFolder(app);
}

QTEST_MAIN(CommandsDuringBatchTest)
#include "CommandsDuringBatchTest.moc"

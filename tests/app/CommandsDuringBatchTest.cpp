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
    vxtest::ToolsWindow bench;
    QVERIFY(bench.Open("vx-twins-batch"));
    vxtest::FakeDesktop& desktop = bench.desktop;
    const auto& window = bench.window;
    QVERIFY(bench.Add({"one.flv", "two.flv", "three.flv"}, 8));
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
    bench.Close();
}

QTEST_MAIN(CommandsDuringBatchTest)
#include "CommandsDuringBatchTest.moc"

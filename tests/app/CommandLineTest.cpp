// Files named on the program's command line ("vantorix FILE...", "Open with")
// enter the list as a drop does, with the real player tool probing them.
#include "FakeDesktop.h"
#include "MainWindow.h"
#include "TestMedia.h"
#include "WindowKit.h"

#include <QDir>
#include <QtTest>
#include <filesystem>

using namespace vx;
namespace fs = std::filesystem;

class CommandLineTest : public QObject {
    Q_OBJECT
  private slots:
    void filesAreAddedAsADropOnceTheWindowRuns();
};

// No names add nothing; the names given are read from the starting folder once
// the event loop runs.
void CommandLineTest::filesAreAddedAsADropOnceTheWindowRuns() {
    vxtest::ToolsWindow bench;
    QVERIFY(bench.Open("vx-cmdline"));
    const auto& window = bench.window;
    vxtest::FakeDesktop& desktop = bench.desktop;
    const std::string media = bench.app + "/media";
    fs::create_directories(media + "/parts/inner");
    QVERIFY(vxtest::MakeFlv(media + "/a.flv", {.seconds = 2}));
    for (const char* copy : {"/c.flv", "/parts/inner/p1.flv"})
        fs::copy_file(media + "/a.flv", media + copy);
    window->AddCommandLineFiles({});
    QTest::qWait(200);
    QCOMPARE(window->sources().Count(), 0);
    QVERIFY(desktop.messages.empty());

    // Started in the media folder: "vantorix a.flv b.avi c.flv parts".
    const QString start = QDir::currentPath();
    QVERIFY(QDir::setCurrent(QString::fromStdString(media)));
    window->AddCommandLineFiles({"a.flv", "b.avi", "c.flv", "parts"});
    QCOMPARE(window->sources().Count(), 0); // nothing before the event loop runs
    QDir::setCurrent(start);                // the names were taken from the starting folder
    QTRY_COMPARE_WITH_TIMEOUT(desktop.messages.size(), std::size_t(1), 30000);
    QCOMPARE(desktop.messages[0].first, MessageIcon::Information);
    QCOMPARE(desktop.messages[0].second,
             QStringLiteral("Only FLV files are allowed! Not added: b.avi"));
    // The FLV files are in under their full paths, the folder's too, and get probed.
    QTRY_COMPARE_WITH_TIMEOUT(window->sources().Count(), 3, 30000);
    QCOMPARE(window->sources().At(0, kFileName), media + "/a.flv");
    QCOMPARE(window->sources().At(1, kFileName), media + "/c.flv");
    QCOMPARE(window->sources().At(2, kFileName), media + "/parts/inner/p1.flv");
    QCOMPARE(window->sources().Row(2).root, media + "/parts");
    QTRY_COMPARE_WITH_TIMEOUT(window->sources().At(2, kEnd), std::string("0:00:02"), 30000);
    // A full path is kept as given.
    desktop.messages.clear();
    window->AddCommandLineFiles({QString::fromStdString(media + "/c.flv")});
    QTRY_COMPARE_WITH_TIMEOUT(window->sources().Count(), 4, 30000);
    QCOMPARE(window->sources().At(3, kFileName), media + "/c.flv");
    QVERIFY(desktop.messages.empty());
    bench.Close();
}

QTEST_MAIN(CommandLineTest)
#include "CommandLineTest.moc"

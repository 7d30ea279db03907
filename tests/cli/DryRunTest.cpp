// One core, two front ends: for every entry of the catalog, the command line
// that vantorix-convert --dry-run prints is the argument list the window's
// batch gives the encoder for the same file, entry and settings. The window's
// encoder is a stand-in that records what it is given.
#include "Catalog.h"
#include "ConvertProgram.h"
#include "FakeDesktop.h"
#include "IniFile.h"
#include "Settings.h"
#include "SheetLayout.h"
#include "ShellWords.h"
#include "TestMedia.h"
#include "WindowKit.h"
#include "WorkingFile.h"

#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <fstream>

using namespace vx;
namespace fs = std::filesystem;

namespace {

// What the stand-in encoder recorded last: its arguments, between tabs.
std::vector<std::string> LastRecorded(const std::string& path) {
    const std::string text = vxtest::ReadFile(path);
    const auto end = text.rfind('\n');
    if (end == std::string::npos) return {};
    const auto begin = end == 0 ? 0 : text.rfind('\n', end - 1) + 1;
    std::vector<std::string> arguments(1);
    for (std::size_t i = begin; i < end; ++i) {
        if (text[i] == '\t')
            arguments.emplace_back();
        else
            arguments.back() += text[i];
    }
    return arguments;
}

} // namespace

class DryRunTest : public QObject {
    Q_OBJECT
  private slots:
    void everyEntryGivesTheWindowsCommand();
};

void DryRunTest::everyEntryGivesTheWindowsCommand() {
    QTemporaryDir folder(QDir::tempPath() + "/vx dry run-XXXXXX"); // a blank in every path
    const std::string app = folder.path().toStdString();
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(app + "/config"));
    fs::create_symlink(std::string(VX_APP_DIR) + "/mp.dll", app + "/mp.dll");
    fs::create_symlink(VX_RECORDING_TOOL, app + "/fp.dll");
    const std::string record = app + "/fp.dll.calls";
    const std::string source = app + "/it's a \"clip\".flv";
    QVERIFY(vxtest::MakeFlv(source, {.seconds = 2}));
    WriteSetting(SettingsPath(app), "set", "outputfolder", app + "/out");
    WriteSetting(SettingsPath(app), "set", "thread", "2");

    fs::create_directories(app + "/config/vantorix/profiles");
    std::ofstream(app + "/config/vantorix/profiles/Big screen.vxprofile")
        << "[Profile]\nbase=86\nname=Big screen\n[Options]\nVideo Size=1280x720\n";
    vxtest::FakeDesktop desktop;
    const auto window = vxtest::OpenWindow(app, desktop);
    window->AddCommandLineFiles({QString::fromStdString(source)});
    QTRY_COMPARE(window->sources().Count(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(window->probing(), 0, 20000);
    // The same conversion through the window and through the command line.
    auto compare = [&](int chooserRow, const std::string& entry) -> std::string {
        // An entry's options are applied over what the sheet holds: each from the
        // sheet of a fresh start, as the command line has it.
        FillDefaultLayout(window->sheet());
        vxtest::PickRow(*window, chooserRow);
        window->ConvertNow();
        if (!vxtest::WaitForBatch(*window, 20000)) return entry + ": the batch did not end";
        // The tool ended well, so its output took the final name: the dry run must
        // not find it taken.
        for (const auto& output : fs::directory_iterator(app + "/out"))
            fs::remove(output.path());
        std::vector<std::string> expected = {"ffmpeg", "-y"};
        // The window's encoder writes the working name of what the dry run names.
        for (std::string argument : LastRecorded(record)) {
            if (IsWorkingName(argument)) argument.erase(argument.rfind(".vxpart"), 7);
            expected.push_back(argument);
        }

        const auto dry = vxtest::Capture([&](std::FILE* out, std::FILE* err) {
            return RunConvert({"-p", entry, "--dry-run", source}, app, {out, err, false, -1});
        });
        if (dry.status != 0) return entry + ": the dry run failed: " + dry.err;
        const std::string text = dry.out.substr(0, dry.out.find('\n'));
        std::string given;
        for (const std::string& argument : expected)
            given += " [" + argument + "]";
        return vxtest::ShellWords(text) == expected ? std::string()
                                                    : entry + ": " + text + "\nwindow:" + given;
    };
    int compared = 0;
    for (int position = 1; const CatalogEntry* entry = ProfileCatalog::At(position); ++position) {
        if (entry->kind == EntryKind::Heading) continue;
        const std::string mismatch = compare(position - 1, std::to_string(position));
        QVERIFY2(mismatch.empty(), mismatch.c_str());
        ++compared;
    }
    QVERIFY(compared >= 70);
    // One of the user's own profiles, by its name.
    const int row = window->chooser()->UserProfileRow(QStringLiteral("Big screen"));
    QVERIFY(row > 0);
    const std::string mismatch = compare(row, "Big screen");
    QVERIFY2(mismatch.empty(), mismatch.c_str());
}

QTEST_MAIN(DryRunTest)
#include "DryRunTest.moc"

// The user's own profiles through the real main window: the encoder is a
// stand-in that records the command lines a batch gives it.
#include "FakeDesktop.h"
#include "MainWindow.h"
#include "ProfileChooser.h"
#include "PropertyGrid.h"
#include "TestMedia.h"
#include "UserProfiles.h"
#include "WindowKit.h"

#include <QAction>
#include <QtTest>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace vx;
namespace fs = std::filesystem;

class UserProfilesWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void aSavedProfileConvertsAlikeAfterARestart();
    void handWrittenFilesAreListedAndBadOnesSkipped();
    void renameDeleteExportAndImportRoundTripAndBadFilesAreRefused();

  private:
    std::unique_ptr<MainWindow> Open() {
        auto window = vxtest::OpenWindow(app_, desktop_);
        const auto row = window->sources().Append(app_ + "/clip.flv");
        window->sources().Set(row, kStart, "0:00:00");
        window->sources().Set(row, kEnd, "0:00:02");
        return window;
    }
    void Set(MainWindow& window, const char* group, const char* item, const char* value) {
        auto* model = window.grid()->sheetModel();
        QVERIFY(model->setData(model->ValueIndex(group, item), QString::fromLatin1(value)));
    }
    // The encoder's arguments for the window's one row, as the stand-in recorded them.
    std::string Convert(MainWindow& window) {
        fs::remove(app_ + "/fp.dll.calls");
        window.ConvertNow();
        vxtest::WaitForBatch(window);
        // The output's name comes last and differs from batch to batch (an earlier
        // batch's output takes the name): the arguments before it are compared.
        const std::string call = vxtest::ReadFile(app_ + "/fp.dll.calls");
        return call.substr(0, call.rfind('\t'));
    }
    QStringList Listed(MainWindow& window) {
        QStringList names;
        const int first = window.chooser()->findText(QStringLiteral("My profiles"));
        for (int row = first + 1; first >= 0 && row < window.chooser()->count(); ++row)
            names << window.chooser()->itemText(row);
        return names;
    }
    std::string app_, profiles_;
    vxtest::FakeDesktop desktop_;
};

void UserProfilesWindowTest::init() {
    app_ = vxtest::MakeTempFolder("vx-user-profiles");
    profiles_ = app_ + "/config/vantorix/profiles";
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(app_ + "/config"));
    fs::create_symlink(VX_RECORDING_TOOL, app_ + "/fp.dll");
    std::ofstream(app_ + "/clip.flv") << "FLV";
    desktop_ = vxtest::FakeDesktop();
}

void UserProfilesWindowTest::cleanup() {
    vxtest::RemoveFolder(app_);
}

void UserProfilesWindowTest::aSavedProfileConvertsAlikeAfterARestart() {
    std::string saved;
    {
        auto window = Open();
        vxtest::PickRow(*window, 59 - 1); // Xbox MPEG-4
        Set(*window, "Video Options", "Video Size", "720x480");
        Set(*window, "Audio Options", "Audio Channel", "1");
        desktop_.nextTexts = {QStringLiteral("Couch")};
        window->action("SaveMyProfile")->trigger();
        QCOMPARE(Listed(*window), QStringList{"Couch"});
        QCOMPARE(window->chooser()->SelectedUserProfile(), QStringLiteral("Couch"));
        QCOMPARE(window->chooser()->SelectedPosition(), 59);
        saved = Convert(*window);
        QVERIFY(saved.find("720x480") != std::string::npos);
        // Later changes stay out of the profile until it is saved again.
        Set(*window, "Video Options", "Video Size", "640x480");
        desktop_.nextTexts = {QStringLiteral("Couch")};
        desktop_.nextConfirms = {false}; // not replaced
        window->action("SaveMyProfile")->trigger();
        QCOMPARE(desktop_.asked.last(),
                 QStringLiteral("A profile named \"Couch\" exists already. Replace it?"));
        window->close();
    }
    auto again = Open();
    QCOMPARE(again->chooser()->SelectedUserProfile(), QStringLiteral("Couch"));
    QCOMPARE(Convert(*again), saved);
    vxtest::PickRow(*again, 2 - 1);
    QVERIFY(Convert(*again) != saved);
    vxtest::PickRow(*again, again->chooser()->UserProfileRow(QStringLiteral("Couch")));
    QCOMPARE(Convert(*again), saved);
}

void UserProfilesWindowTest::handWrittenFilesAreListedAndBadOnesSkipped() {
    fs::create_directories(profiles_);
    std::ofstream(profiles_ + "/Phone.vxprofile")
        << "[Profile]\nbase=86\nname=Phone\n[Options]\nVideo Size=640x480\nAudio Bitrate=96\n";
    std::ofstream(profiles_ + "/Foreign.vxprofile") << "[Profile]\nbase=500\nname=Foreign\n";
    std::ofstream(profiles_ + "/Broken.vxprofile") << "[Profile\nbase=86\n";
    // Start-up names each skipped file on standard error.
    const std::string errors = app_ + "/stderr";
    std::fflush(stderr);
    const int saved = dup(2);
    std::freopen(errors.c_str(), "w", stderr);
    auto window = Open();
    std::fflush(stderr);
    dup2(saved, 2);
    close(saved);
    const std::string written = vxtest::ReadFile(errors);
    QCOMPARE(std::count(written.begin(), written.end(), '\n'), 2L);
    QVERIFY(written.find("Foreign.vxprofile is skipped: it names no output profile") !=
            std::string::npos);
    QVERIFY(written.find("Broken.vxprofile is skipped: it is damaged: line 1") !=
            std::string::npos);
    QCOMPARE(Listed(*window), QStringList{"Phone"});

    vxtest::PickRow(*window, window->chooser()->UserProfileRow(QStringLiteral("Phone")));
    const std::string fromFile = Convert(*window);
    QVERIFY(fromFile.find("640x480") != std::string::npos);
    vxtest::PickRow(*window, 86 - 1);
    Set(*window, "Video Options", "Video Size", "640x480");
    Set(*window, "Audio Options", "Audio Bitrate", "96");
    QCOMPARE(fromFile, Convert(*window));
}

// Bad files are refused with their reason, from the import dialog, the command
// line or a drop, and the window goes on: a profile of a heading, a named pipe
// called x.vxprofile (it would hold a reader for ever), a folder of that name, a
// shared profile giving one of the first 92 a later entry's value.
void UserProfilesWindowTest::renameDeleteExportAndImportRoundTripAndBadFilesAreRefused() {
    auto window = Open();
    vxtest::PickRow(*window, 41 - 1); // Creative Zen X-Fi
    Set(*window, "Audio Options", "Sample Rate", "22050");
    desktop_.nextTexts = {QStringLiteral("Zen"), QStringLiteral("a/b"), QStringLiteral("Zen 2")};
    window->action("SaveMyProfile")->trigger();
    const std::string command = Convert(*window);
    QVERIFY(command.find("22050") != std::string::npos);
    window->action("RenameMyProfile")->trigger(); // "a/b" is refused
    QCOMPARE(desktop_.messages.back().second,
             QStringLiteral("A profile name cannot hold a \"/\"."));
    window->action("RenameMyProfile")->trigger();
    QCOMPARE(Listed(*window), QStringList{"Zen 2"});
    QVERIFY(!fs::exists(profiles_ + "/Zen.vxprofile") &&
            fs::exists(profiles_ + "/Zen 2.vxprofile"));

    desktop_.nextSaveFile = QString::fromStdString(app_ + "/shared");
    window->action("ExportProfile")->trigger();
    desktop_.nextConfirms = {false, true}; // delete asks
    window->action("DeleteMyProfile")->trigger();
    QCOMPARE(Listed(*window), QStringList{"Zen 2"});
    window->action("DeleteMyProfile")->trigger();
    QCOMPARE(Listed(*window), QStringList{});
    QCOMPARE(window->chooser()->SelectedPosition(), 41);

    std::ofstream(app_ + "/bad.vxprofile") << "[Profile]\nbase=7\n"; // a heading
    const QString pipe = QString::fromStdString(app_ + "/x.vxprofile");
    QCOMPARE(mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
    fs::create_directories(app_ + "/folder.vxprofile");
    std::ofstream(app_ + "/hostile.vxprofile")
        << "[Profile]\nbase=84\nname=Hostile\n[Options]\nVideo Bitrate=Kept as it is\n";
    const auto messages = desktop_.messages.size();
    for (const QString& bad : {QString::fromStdString(app_ + "/bad.vxprofile"), pipe}) {
        desktop_.nextFiles = {bad};
        window->action("ImportProfile")->trigger();
    }
    QCOMPARE(desktop_.messages.size(), messages + 2);
    QVERIFY(desktop_.messages.back().second.contains(QStringLiteral("it is a named pipe")));
    QCOMPARE(Listed(*window), QStringList{});
    // A profile file among the files of the command line (or a drop) is imported.
    window->AddCommandLineFiles({pipe, QString::fromStdString(app_ + "/folder.vxprofile"),
                                 QString::fromStdString(app_ + "/hostile.vxprofile"),
                                 QString::fromStdString(app_ + "/shared.vxprofile")});
    QTRY_COMPARE(Listed(*window), QStringList{"Zen 2"});
    const QString reasons[] = {
        QStringLiteral("it is a named pipe"), QStringLiteral("it is a folder"),
        QStringLiteral("\"Kept as it is\" is no value of \"Video Bitrate\" for \"Customized AVI")};
    QCOMPARE(desktop_.messages.size(), messages + 2 + std::size(reasons));
    for (std::size_t i = 0; i < std::size(reasons); ++i)
        QVERIFY2(desktop_.messages[messages + 2 + i].second.contains(reasons[i]),
                 qPrintable(desktop_.messages[messages + 2 + i].second));
    QCOMPARE(window->sources().Count(), 1); // none of them became a row
    vxtest::PickRow(*window, window->chooser()->UserProfileRow(QStringLiteral("Zen 2")));
    QCOMPARE(Convert(*window), command);
}

QTEST_MAIN(UserProfilesWindowTest)
#include "UserProfilesWindowTest.moc"

// The About window with the real tools: its texts, the versions the tools
// report, a missing tool, and Exit.
#include "AboutWindow.h"
#include "TestMedia.h"
#include "ToolVersion.h"

#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>
#include <filesystem>

using namespace vx;
namespace fs = std::filesystem;

class AboutWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void showsTheTextsAndTheToolsVersions();
    void aMissingToolIsSaidPlainly();
    void theVersionIsTheNameAndItsNextWord();

  private:
    std::string app_;
};

void AboutWindowTest::init() {
    app_ = vxtest::MakeTempFolder("vx-about");
}

void AboutWindowTest::cleanup() {
    vxtest::RemoveFolder(app_);
}

// On a first run the player makes a config folder in its home and says so
// before its banner: About shows the version line only, and the user's home
// (here a fresh one) and the temporary folder stay empty (the player's launcher
// gives it a home in the cache folder).
void AboutWindowTest::showsTheTextsAndTheToolsVersions() {
    vxtest::LinkTools(app_, VX_APP_DIR);
    const std::string home = app_ + "/home", temporary = app_ + "/tmp";
    fs::create_directory(home);
    fs::create_directory(temporary);
    const vxtest::ScopedEnvironment fresh({{"HOME", home}, {"TMPDIR", temporary}});
    AboutWindow about(app_);
    // Opening does not wait for the tools: their answers come by the event loop.
    QVERIFY2(!about.encoderVersion()->text().startsWith("ffmpeg version "),
             "opening waited for the tools");
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QCOMPARE(about.objectName(), QStringLiteral("Form6"));
    QCOMPARE(about.windowTitle(), QStringLiteral("About"));
    QStringList texts;
    for (int i = 1; i <= 5; ++i)
        texts << about.findChild<QLabel*>(QStringLiteral("SkinLabel%1").arg(i))->text();
    QCOMPARE(texts, (QStringList{
                        "Thank you for using Vantorix",
                        "This product includes software developed by the MPlayer Project.",
                        "This product includes software developed by the FFMpeg Project.",
                        "MPlayer is licensed under the GNU General Public License Version 2.",
                        "FFmpeg is licensed under the GNU General Public License.",
                    }));
    // The versions come while the window is open and served.
    QTRY_VERIFY_WITH_TIMEOUT(about.encoderVersion()->text().startsWith("ffmpeg version "), 10000);
    const QRegularExpression player("^MPlayer [^ ]+$");
    QTRY_VERIFY_WITH_TIMEOUT(player.match(about.playerVersion()->text()).hasMatch(), 10000);
    QVERIFY(!about.encoderVersion()->text().contains("Copyright"));
    QCOMPARE(vxtest::ChildProcesses(), 0);
    QVERIFY(fs::is_empty(home));
    QTRY_VERIFY(fs::is_empty(temporary));

    about.findChild<QPushButton*>("Command3")->click();
    QVERIFY(!about.isVisible());
    QCOMPARE(about.result(), int(QDialog::Accepted));
}

void AboutWindowTest::aMissingToolIsSaidPlainly() {
    // The player is there; the encoder is not.
    fs::create_symlink(std::string(VX_APP_DIR) + "/mp.dll", app_ + "/mp.dll");
    AboutWindow about(app_);
    about.show();
    QTRY_VERIFY(about.encoderVersion()->text().startsWith("not found"));
    QVERIFY(about.encoderVersion()->text().contains("fp.dll"));
    QTRY_VERIFY_WITH_TIMEOUT(about.playerVersion()->text().startsWith("MPlayer "), 10000);
    // A tool that exists but cannot run what it launches says so too.
    ToolVersion broken(QString::fromStdString(std::string(VX_APP_DIR) + "/fp.dll"), {"-version"});
    QSignalSpy answered(&broken, &ToolVersion::answered);
    qputenv("PATH", app_.c_str()); // the launcher finds no ffmpeg
    broken.Ask();
    QVERIFY(answered.wait(10000));
    qunsetenv("PATH");
    QVERIFY2(broken.answer().startsWith("not found"), qPrintable(broken.answer()));
}

// The banners of the players and encoders Debian ships: what follows the
// version on its line (a notice, a build note, another text run on without a
// line break) is never part of it.
void AboutWindowTest::theVersionIsTheNameAndItsNextWord() {
    const std::pair<const char*, const char*> banners[] = {
        {"Creating config file: /h/.mplayer/config\n"
         "MPlayer UNKNOWN-12 (C) 2000-2023 MPlayer Team\nUsage:   mplayer\n",
         "MPlayer UNKNOWN-12"},
        {"MPlayer 1.5+svn38674-2 (Debian)Usage:   mplayer [options] [url|path/]filename\n\n",
         "MPlayer 1.5+svn38674-2"},
        {"MPlayer 1.5 (Debian), built with gcc-12 (C) 2000-2022 MPlayer Team\r\n", "MPlayer 1.5"},
        {"ffmpeg version 7.1.1-1+b1 Copyright (c) 2000-2025 the FFmpeg developers\n"
         "built with gcc 14 (Debian 14.2.0-19)\n",
         "ffmpeg version 7.1.1-1+b1"},
        {"Usage: mplayer\nMPlayer\nffmpeg version\n", ""}};
    for (const auto& [banner, version] : banners)
        QCOMPARE(VersionLine(banner), QString::fromUtf8(version));
}

QTEST_MAIN(AboutWindowTest)
#include "AboutWindowTest.moc"

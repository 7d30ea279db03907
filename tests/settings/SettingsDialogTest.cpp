#include "SettingsDialog.h"
#include "FakeDesktop.h"
#include "IniFile.h"
#include "Settings.h"
#include "TestMedia.h"
#include "UserFolders.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace vx;

class SettingsDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void showsDefaultsWithoutAFileAndTheStoredValuesWithOne();
    void refusesMoreThanEightThreads();
    void storesWhatTheBoxesHold();
    void browseFillsTheBoxAndCancelAndCloseSaveNothing();
    void saysSoAndStaysOpenWhenNothingCanBeSaved();
    void filesConvertedAtOnce();
    void namesWhyTheUsersSettingsFolderCannotBeMade();

  private:
    std::string Get(const char* key) { return ReadSetting(SettingsPath(app_), "set", key); }
    std::unique_ptr<QTemporaryDir> folder_;
    std::string app_;
    vxtest::FakeDesktop desktop_;
};

void SettingsDialogTest::init() {
    folder_ = std::make_unique<QTemporaryDir>();
    app_ = folder_->path().toStdString();
    desktop_.messages.clear();
}

void SettingsDialogTest::showsDefaultsWithoutAFileAndTheStoredValuesWithOne() {
    {
        SettingsDialog dialog(app_, desktop_);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Video Options"));
        QVERIFY(dialog.isModal());
        QCOMPARE(dialog.folderBox()->text(), QString::fromStdString(VideosFolder())); // not ours
        QVERIFY(dialog.addNewOption()->isChecked());
        QCOMPARE(dialog.addNewOption()->text(), QStringLiteral("Add \"New\" after filename"));
        QVERIFY(!dialog.shutdownBox()->isChecked());
        QCOMPARE(dialog.threadBox()->text(), QString());
    }
    const std::string path = SettingsPath(app_);
    WriteSetting(path, "set", "outputfolder", "/stored");
    WriteSetting(path, "set", "existedfile", "1");
    WriteSetting(path, "set", "autoshut", "1");
    WriteSetting(path, "set", "thread", "2.5");
    SettingsDialog dialog(app_, desktop_);
    QCOMPARE(dialog.folderBox()->text(), QStringLiteral("/stored"));
    QVERIFY(dialog.overwriteOption()->isChecked());
    QVERIFY(dialog.shutdownBox()->isChecked());
    QCOMPARE(dialog.threadBox()->text(), QStringLiteral("2.5"));
}

void SettingsDialogTest::refusesMoreThanEightThreads() {
    SettingsDialog dialog(app_, desktop_);
    dialog.show();
    dialog.threadBox()->setText(QStringLiteral("9"));
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    QCOMPARE(desktop_.messages.size(), std::size_t(1));
    QCOMPARE(desktop_.messages[0].first, MessageIcon::Critical);
    QCOMPARE(desktop_.messages[0].second, QStringLiteral("Thread error!"));
    QVERIFY(dialog.isVisible());
    QVERIFY(!QFile::exists(QString::fromStdString(SettingsPath(app_))));
    dialog.threadBox()->setText(QStringLiteral("8"));
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(Get("thread"), std::string("8"));
}

void SettingsDialogTest::storesWhatTheBoxesHold() {
    for (auto [typed, stored] : {std::pair{"", "0"}, {"-1", "-1"}, {" 4 ", "4"}}) {
        SettingsDialog dialog(app_, desktop_);
        dialog.folderBox()->setText(QStringLiteral("   /srv/my videos  "));
        dialog.overwriteOption()->setChecked(true);
        dialog.shutdownBox()->setChecked(true);
        dialog.threadBox()->setText(QString::fromLatin1(typed));
        dialog.okButton()->click();
        QCOMPARE(Get("thread"), std::string(stored));
        QCOMPARE(Get("outputfolder"), std::string("/srv/my videos"));
        QCOMPARE(Get("existedfile"), std::string("1"));
        QCOMPARE(Get("autoshut"), std::string("1"));
    }
    SettingsDialog dialog(app_, desktop_); // the kept folders: off at first, then as stored
    QVERIFY(!dialog.keepFoldersBox()->isChecked());
    dialog.keepFoldersBox()->setChecked(true);
    dialog.okButton()->click();
    QVERIFY(SettingsDialog(app_, desktop_).keepFoldersBox()->isChecked());
}

// Browse puts the chosen folder in the box, and a cancelled browse leaves it.
void SettingsDialogTest::browseFillsTheBoxAndCancelAndCloseSaveNothing() {
    {
        SettingsDialog dialog(app_, desktop_);
        desktop_.nextFolder = QStringLiteral("/elsewhere");
        dialog.browseButton()->click();
        QCOMPARE(dialog.folderBox()->text(), QStringLiteral("/elsewhere"));
        desktop_.nextFolder.clear();
        dialog.browseButton()->click();
        QCOMPARE(dialog.folderBox()->text(), QStringLiteral("/elsewhere"));
        dialog.threadBox()->setText(QStringLiteral("3"));
        dialog.cancelButton()->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }
    {
        SettingsDialog dialog(app_, desktop_);
        dialog.show();
        dialog.threadBox()->setText(QStringLiteral("3"));
        dialog.close();
    }
    QVERIFY(!QFile::exists(QString::fromStdString(SettingsPath(app_))));
}

// A settings file made read-only, and a folder name holding a line break (one
// the folder browser can return): each is refused with a message, the dialog
// stays open and the file keeps what it held.
void SettingsDialogTest::saysSoAndStaysOpenWhenNothingCanBeSaved() {
    const QString path = QString::fromStdString(SettingsPath(app_));
    WriteSetting(SettingsPath(app_), "set", "thread", "2");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    {
        SettingsDialog dialog(app_, desktop_);
        dialog.show();
        dialog.threadBox()->setText(QStringLiteral("4"));
        dialog.okButton()->click();
        QVERIFY(dialog.isVisible());
        QCOMPARE(desktop_.messages.size(), std::size_t(1));
        QCOMPARE(desktop_.messages[0].first, MessageIcon::Critical);
        QVERIFY2(desktop_.messages[0].second.contains(path),
                 qPrintable(desktop_.messages[0].second));
        QVERIFY(desktop_.messages[0].second.contains(QStringLiteral("read-only")));
        QCOMPARE(Get("thread"), std::string("2"));
        QCOMPARE(QFile::permissions(path) &
                     (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther),
                 QFile::Permissions());
    }
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    desktop_.messages.clear();
    SettingsDialog dialog(app_, desktop_);
    dialog.show();
    desktop_.nextFolder = QStringLiteral("/srv/two\nlines");
    dialog.browseButton()->click();
    dialog.okButton()->click();
    QVERIFY(dialog.isVisible());
    QCOMPARE(desktop_.messages.size(), std::size_t(1));
    QVERIFY(desktop_.messages[0].second.contains(QStringLiteral("line break")));
    QCOMPARE(Get("outputfolder"), std::string());
}

// "parallel": 0 (automatic) by default and for files without it, 1 to 16 kept,
// anything else refused with a message.
void SettingsDialogTest::filesConvertedAtOnce() {
    {
        SettingsDialog dialog(app_, desktop_);
        QCOMPARE(dialog.parallelBox()->text(), QStringLiteral("0"));
        dialog.parallelBox()->setText(QStringLiteral("3"));
        dialog.okButton()->click();
        QCOMPARE(Get("parallel"), std::string("3"));
    }
    QCOMPARE(LoadBatchSettings(app_).parallel, 3);
    for (const char* refused : {"17", "-1", "two"}) {
        SettingsDialog dialog(app_, desktop_);
        dialog.show();
        desktop_.messages.clear();
        dialog.parallelBox()->setText(QString::fromLatin1(refused));
        dialog.okButton()->click();
        QVERIFY(dialog.isVisible());
        QCOMPARE(desktop_.messages.size(), std::size_t(1));
        QCOMPARE(Get("parallel"), std::string("3"));
    }
    WriteSetting(SettingsPath(app_), "set", "parallel", "99"); // by hand: taken as automatic
    QCOMPARE(LoadBatchSettings(app_).parallel, 0);
    SettingsDialog dialog(app_, desktop_);
    QCOMPARE(dialog.parallelBox()->text(), QStringLiteral("0"));
}

// An installed program keeps its settings in the user's config folder; when
// that cannot be made, the message says why. The home lies below a regular
// file, so that not even root can make it.
void SettingsDialogTest::namesWhyTheUsersSettingsFolderCannotBeMade() {
    const QString blocker = folder_->filePath(QStringLiteral("file"));
    QFile(blocker).open(QIODevice::WriteOnly);
    {
        const vxtest::ScopedEnvironment blocked(
            {{"HOME", (blocker + QStringLiteral("/home")).toStdString()},
             {"XDG_CONFIG_HOME", std::nullopt}});
        SettingsDialog dialog((blocker + QStringLiteral("/lib/vantorix")).toStdString(), desktop_);
        dialog.show();
        dialog.okButton()->click();
        QVERIFY(dialog.isVisible());
    }
    QCOMPARE(desktop_.messages.size(), std::size_t(1));
    const QString message = desktop_.messages[0].second;
    QVERIFY2(message.contains(blocker + QStringLiteral("/home/.config/vantorix (Not a directory)")),
             qPrintable(message));
}

QTEST_MAIN(SettingsDialogTest)
#include "SettingsDialogTest.moc"

// Where the settings file and the default output folder are, for a writable
// (build, portable) and a read-only (installed) application folder. Runs as an
// ordinary user: root may write any folder.
#include "IniFile.h"
#include "Settings.h"
#include "TestMedia.h"
#include "UserFolders.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/prctl.h>
#include <unistd.h>

using namespace vx;
namespace fs = std::filesystem;

namespace {

class Location : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("vx-location-" + std::to_string(getpid()));
        fs::remove_all(root_);
        app_ = (root_ / "lib" / "vantorix").string();
        home_ = (root_ / "home").string();
        fs::create_directories(app_);
        fs::create_directories(home_);
        environment_.emplace(
            vxtest::ScopedEnvironment::Values{{"HOME", home_}, {"XDG_CONFIG_HOME", std::nullopt}});
    }
    void TearDown() override {
        for (const auto& entry : fs::recursive_directory_iterator(root_))
            if (entry.is_directory()) fs::permissions(entry.path(), fs::perms::owner_all);
        fs::remove_all(root_);
    }
    // An installed application folder: this user may read it but not write it.
    void MakeReadOnly(const std::string& folder) {
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
        ASSERT_FALSE(FolderWritable(folder));
    }
    static void Write(const fs::path& path, const std::string& text) {
        fs::create_directories(path.parent_path());
        std::ofstream(path) << text;
    }
    static std::string Content(const fs::path& path) {
        std::ifstream in(path);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::string UserFile() const { return home_ + "/.config/vantorix/settings.dat"; }

    fs::path root_;
    std::string app_, home_;
    std::optional<vxtest::ScopedEnvironment> environment_; // as it was once the case ends
};

} // namespace

// A build or a portable copy keeps its settings, but the outputs are the user's
// (the user's videos folder: below).
TEST_F(Location, AWritableFolderKeepsItsOwnSettingsAndSendsOutputsToTheUser) {
    setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
    EXPECT_EQ(SettingsPath(app_), app_ + "/settings.dat");
    SaveProfilePosition(app_, 4);
    EXPECT_EQ(ReadSetting(app_ + "/settings.dat", "set", "profile"), "4");
    EXPECT_FALSE(fs::exists(root_ / "config")); // nothing of the user's is touched
    EXPECT_EQ(LoadSettingsView(app_).outputFolder, home_);
    EXPECT_EQ(LoadBatchSettings(app_).outputFolder, home_);
}

TEST_F(Location, AReadOnlyFolderSendsTheSettingsToTheUsersConfigFolder) {
    MakeReadOnly(app_);
    // No XDG_CONFIG_HOME: ~/.config.
    EXPECT_EQ(SettingsPath(app_), UserFile());
    SaveProfilePosition(app_, 7);
    EXPECT_EQ(LoadProfilePosition(app_), 7);
    EXPECT_EQ(ReadSetting(UserFile(), "set", "profile"), "7");
    EXPECT_FALSE(fs::exists(app_ + "/settings.dat"));
    // A relative XDG_CONFIG_HOME is ignored, as the base-directory rules say.
    setenv("XDG_CONFIG_HOME", "relative/config", 1);
    EXPECT_EQ(SettingsPath(app_), UserFile());
    // An absolute one is used.
    const std::string config = (root_ / "xdg").string();
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    EXPECT_EQ(SettingsPath(app_), config + "/vantorix/settings.dat");
    EXPECT_EQ(SaveSettingsView(app_, SettingsView{"/v", true, false, "2"}), SaveResult::Saved);
    EXPECT_EQ(ReadSetting(config + "/vantorix/settings.dat", "set", "outputfolder"), "/v");
    EXPECT_EQ(LoadProfilePosition(app_), 0); // this file has no profile yet
}

TEST_F(Location, TheFoldersSettingsAreEachUsersDefaultsOnce) {
    Write(app_ + "/settings.dat", "[set]\nprofile=3\nthread=2\n");
    MakeReadOnly(app_);
    EXPECT_EQ(LoadProfilePosition(app_), 3);
    EXPECT_EQ(Content(UserFile()), "[set]\nprofile=3\nthread=2\n");
    SaveProfilePosition(app_, 5);
    EXPECT_EQ(LoadProfilePosition(app_), 5);
    EXPECT_EQ(ReadSetting(app_ + "/settings.dat", "set", "profile"), "3");
    // Once the user has a file, a changed folder file is no longer copied.
    fs::permissions(app_, fs::perms::owner_all);
    WriteSetting(app_ + "/settings.dat", "set", "thread", "6");
    MakeReadOnly(app_);
    EXPECT_EQ(LoadBatchSettings(app_).threads, 2);
    // Another user (another home) starts from the folder's file, not from the first user's.
    const std::string other = (root_ / "other").string();
    fs::create_directories(other);
    setenv("HOME", other.c_str(), 1);
    EXPECT_EQ(LoadProfilePosition(app_), 3);
    EXPECT_EQ(LoadBatchSettings(app_).threads, 6);
    EXPECT_EQ(ReadSetting(other + "/.config/vantorix/settings.dat", "set", "profile"), "3");
    for (const auto& entry : fs::directory_iterator(other + "/.config/vantorix"))
        EXPECT_EQ(entry.path().filename(), "settings.dat"); // no partial copy left behind
}

TEST_F(Location, AConfigFolderThatCannotBeMadeStillReadsTheFoldersDefaults) {
    Write(app_ + "/settings.dat", "[set]\nprofile=3\n");
    fs::permissions(app_ + "/settings.dat", fs::perms::owner_read); // as installed: not ours
    MakeReadOnly(app_);
    MakeReadOnly(home_);
    EXPECT_EQ(LoadProfilePosition(app_), 3);
    std::string reason;
    EXPECT_FALSE(SaveProfilePosition(app_, 9, &reason)); // neither folder is writable
    EXPECT_EQ(reason, "cannot make the folder " + home_ + "/.config/vantorix (Permission denied)");
    EXPECT_EQ(LoadProfilePosition(app_), 3);
    EXPECT_FALSE(fs::exists(home_ + "/.config"));
}

TEST_F(Location, OutputsGoIntoTheUsersVideosFolder) {
    MakeReadOnly(app_);
    // No user-dirs.dirs: the home folder.
    EXPECT_EQ(DefaultOutputFolder(), home_);
    // "$HOME/..." as xdg-user-dirs writes it, among other lines.
    fs::create_directories(home_ + "/Filme");
    Write(home_ + "/.config/user-dirs.dirs",
          "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
          "XDG_VIDEOS_DIR=\"$HOME/Filme\"\nXDG_MUSIC_DIR=\"$HOME/Musik\"\n");
    EXPECT_EQ(DefaultOutputFolder(), home_ + "/Filme");
    EXPECT_EQ(LoadSettingsView(app_).outputFolder, home_ + "/Filme"); // the dialog shows it
    EXPECT_EQ(LoadBatchSettings(app_).outputFolder, home_ + "/Filme");
    // A stored folder still wins; a stored 0 counts as none.
    SaveSettingsView(app_, SettingsView{"/stored", false, false, ""});
    EXPECT_EQ(LoadBatchSettings(app_).outputFolder, "/stored");
    WriteSetting(SettingsPath(app_), "set", "outputfolder", "0");
    EXPECT_EQ(LoadBatchSettings(app_).outputFolder, home_ + "/Filme");
    // user-dirs.dirs is read from XDG_CONFIG_HOME when that is set.
    const fs::path config = root_ / "xdg";
    const std::string absolute = (root_ / "media videos").string();
    fs::create_directories(absolute);
    Write(config / "user-dirs.dirs", "XDG_VIDEOS_DIR=\"" + absolute + "/\"\n");
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    EXPECT_EQ(DefaultOutputFolder(), absolute);
    // A folder that does not exist, a form that is neither, or "$HOME/" (how a user
    // switches the folder off): home.
    for (const std::string form : {"$HOME/Gone", "Filme", "$HOMEFilme", "$HOME/"}) {
        Write(config / "user-dirs.dirs", "XDG_VIDEOS_DIR=\"" + form + "\"\n");
        EXPECT_EQ(DefaultOutputFolder(), home_) << form;
    }
    // The writer's backslash escapes are undone.
    fs::create_directories(home_ + "/My \"Clips\"");
    Write(config / "user-dirs.dirs", "XDG_VIDEOS_DIR=\"$HOME/My \\\"Clips\\\"\"\n");
    EXPECT_EQ(DefaultOutputFolder(), home_ + "/My \"Clips\"");
}

TEST_F(Location, WithoutHomeTheUsersEntryNamesTheHomeFolder) {
    unsetenv("HOME");
    const passwd* entry = getpwuid(getuid());
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(UserHomeFolder(), entry->pw_dir);
    EXPECT_EQ(ConfigHome(), std::string(entry->pw_dir) + "/.config");
}

int main(int argc, char** argv) {
    // Root may write any folder: drop to an ordinary user so that a read-only folder is one.
    if (geteuid() == 0) {
        const passwd* nobody = getpwnam("nobody");
        if (!nobody || setgroups(0, nullptr) != 0 || setgid(nobody->pw_gid) != 0 ||
            setuid(nobody->pw_uid) != 0) {
            std::perror("cannot run as the user nobody");
            return 1;
        }
        prctl(PR_SET_DUMPABLE, 1); // keep the leak checker able to inspect this process
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

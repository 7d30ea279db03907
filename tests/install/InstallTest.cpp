// The program installed into a prefix as a desktop program: the installed tree,
// the menu entry and metadata, and the installed program run by an ordinary user
// who cannot write its folder; a copy of the build's folder stays portable.
#include "TestMedia.h"
#include "XSession.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iostream>
#include <pwd.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const std::string kAppId = VX_APP_ID;

bool Installed(const char* program) {
    return access((std::string("/usr/bin/") + program).c_str(), X_OK) == 0;
}

// Everything below root is handed to the user the program runs as.
void GiveTo(const fs::path& root, uid_t user, gid_t group) {
    if (chown(root.c_str(), user, group) != 0) return;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (lchown(entry.path().c_str(), user, group) != 0) return;
}

std::string Line(const std::string& text, const std::string& key) {
    const auto at = text.find("\n" + key + "=");
    if (at == std::string::npos) return {};
    const auto start = at + key.size() + 2;
    return text.substr(start, text.find('\n', start) - start);
}

class Installation : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        root_ = vxtest::MakeTempFolder("vx-install");
        fs::permissions(root_, fs::perms::owner_all | fs::perms::group_read |
                                   fs::perms::group_exec | fs::perms::others_read |
                                   fs::perms::others_exec);
        prefix_ = root_ + "/prefix";
        installLog_ = vxtest::Run({VX_CMAKE, "--install", VX_BUILD_DIR, "--prefix", prefix_});
    }
    static void TearDownTestSuite() { vxtest::RemoveFolder(root_); }
    void SetUp() override { ASSERT_EQ(installLog_.exitCode, 0) << installLog_.output; }

    static std::string root_, prefix_;
    static vxtest::RunResult installLog_;
};

std::string Installation::root_, Installation::prefix_;
vxtest::RunResult Installation::installLog_;

} // namespace

TEST_F(Installation, PutsTheApplicationFolderUnderLibWithALinkInBin) {
    const fs::path app = prefix_ + "/lib/vantorix";
    for (const char* program : {"vantorix", "vantorix-convert", "fp.dll", "mp.dll"})
        EXPECT_EQ(access((app / program).c_str(), X_OK), 0) << program;
    EXPECT_TRUE(fs::is_regular_file(app / "skins/frmmain.skn"));
    if (fs::exists(std::string(VX_APP_DIR) + "/help")) {
        EXPECT_TRUE(fs::is_directory(app / "help"));
    }
    // Nothing else of the build's folder: no benchmarks, no settings of a test run.
    for (const auto& entry : fs::directory_iterator(app)) {
        const std::string name = entry.path().filename();
        EXPECT_TRUE(name == "vantorix" || name == "vantorix-convert" || name == "fp.dll" ||
                    name == "mp.dll" || name == "skins" || name == "help")
            << name;
    }
    // A relative link, so the tree can move; it resolves to the program in its folder.
    for (const std::string program : {"vantorix", "vantorix-convert"}) {
        const fs::path link = prefix_ + "/bin/" + program;
        ASSERT_TRUE(fs::is_symlink(link));
        EXPECT_EQ(fs::read_symlink(link), "../lib/vantorix/" + program);
        EXPECT_EQ(fs::canonical(link), fs::canonical(app / program));
    }
}

TEST_F(Installation, TheMenuEntryIconAndMetadataAreValid) {
    const std::string share = prefix_ + "/share";
    const std::string desktop = vxtest::ReadFile(share + "/applications/" + kAppId + ".desktop");
    EXPECT_EQ(Line(desktop, "Exec"), "vantorix %F");
    EXPECT_EQ(Line(desktop, "MimeType"), "video/x-flv;");
    EXPECT_EQ(Line(desktop, "Icon"), kAppId);
    EXPECT_NE(Line(desktop, "Categories").find("Video;"), std::string::npos);
    const std::string icon = share + "/icons/hicolor/scalable/apps/" + kAppId + ".svg";
    EXPECT_NE(vxtest::ReadFile(icon).find("<svg"), std::string::npos);
    const std::string metainfo = share + "/metainfo/" + kAppId + ".metainfo.xml";
    EXPECT_NE(vxtest::ReadFile(metainfo).find("<screenshot type=\"default\">"), std::string::npos);
    if (!Installed("desktop-file-validate") || !Installed("appstreamcli"))
        GTEST_SKIP() << "desktop-file-utils and appstream are not installed (scripts/deps.sh)";
    auto entry =
        vxtest::Run({"desktop-file-validate", share + "/applications/" + kAppId + ".desktop"});
    EXPECT_EQ(entry.exitCode, 0) << entry.output;
    EXPECT_EQ(entry.output, "");
    auto meta = vxtest::Run({"appstreamcli", "validate", "--no-net", "--no-color", metainfo});
    EXPECT_EQ(meta.exitCode, 0) << meta.output;
    // The whole tree: the metadata's launchable names a desktop entry that is there.
    auto tree = vxtest::Run({"appstreamcli", "validate-tree", "--no-net", "--no-color", prefix_});
    EXPECT_EQ(tree.exitCode, 0) << tree.output;
}

namespace {

// One run of the program as a user would: started with files on its command line,
// a profile picked in the chooser by keyboard, Convert Now!, then Exit.
class UserRun : public Installation {
  protected:
    void SetUp() override {
        Installation::SetUp();
        run_ = vxtest::MakeTempFolder("vx-user");
        fs::permissions(run_,
                        fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
        home_ = run_ + "/home";
        media_ = run_ + "/media"; // the starting folder: not the user's to write
        fs::create_directories(home_ + "/.config");
        fs::create_directories(home_ + "/Videos");
        fs::create_directories(run_ + "/runtime");
        fs::create_directories(media_);
        std::ofstream(home_ + "/.config/user-dirs.dirs") << "XDG_VIDEOS_DIR=\"$HOME/Videos\"\n";
        ASSERT_TRUE(vxtest::MakeFlv(media_ + "/in.flv", {.seconds = 2}));
        fs::permissions(media_ + "/in.flv",
                        fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
        if (geteuid() == 0) { // root may write anywhere: run as nobody
            const passwd* nobody = getpwnam("nobody");
            ASSERT_NE(nobody, nullptr);
            GiveTo(home_, nobody->pw_uid, nobody->pw_gid);
            GiveTo(run_ + "/runtime", nobody->pw_uid, nobody->pw_gid);
            asUser_ = {"/usr/bin/setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"};
        }
        fs::permissions(run_ + "/runtime", fs::perms::owner_all);
        fs::permissions(media_, fs::perms::owner_write, fs::perm_options::remove);
        ASSERT_TRUE(x_.Start(run_ + "/xvfb.log")) << vxtest::ReadFile(run_ + "/xvfb.log");
        // The server may take its first connections a moment after its socket is
        // there: wait until the user the program runs as gets one.
        std::vector<std::string> probe = asUser_;
        probe.insert(probe.end(), {"/usr/bin/env", "-i", "DISPLAY=" + x_.Display(),
                                   "/usr/bin/xdotool", "getdisplaygeometry"});
        ASSERT_TRUE(vxtest::WaitUntil([&] { return vxtest::Run(probe).exitCode == 0; },
                                      std::chrono::seconds(15), std::chrono::milliseconds(100)))
            << "the X server takes no connection from the user";
    }
    void TearDown() override {
        program_.reset();
        if (HasFailure()) std::cerr << vxtest::ReadFile(run_ + "/program.log");
        fs::permissions(media_, fs::perms::owner_write, fs::perm_options::add);
        vxtest::RemoveFolder(run_);
    }

    // Starts the program with "in.flv b.avi" (relative to the starting folder), picks
    // the profile `downs` keys below the restored one, converts, and exits; fails
    // unless the batch ended with its message and the program with exit code 0.
    void ConvertWith(const std::string& program, int downs) {
        std::vector<std::string> command = asUser_;
        command.insert(command.end(),
                       {"/usr/bin/env", "-i", "HOME=" + home_,
                        "XDG_CONFIG_HOME=" + home_ + "/.config",
                        "XDG_RUNTIME_DIR=" + run_ + "/runtime", "DISPLAY=" + x_.Display(),
                        "QT_QPA_PLATFORM=xcb", "PATH=/usr/local/bin:/usr/bin:/bin", "LANG=C.UTF-8",
                        program, "in.flv", "b.avi"});
        program_ = std::make_unique<vxtest::SessionProcess>();
        ASSERT_TRUE(program_->Start(command, media_, run_ + "/program.log"));
        const std::string main = x_.WaitForWindow("Vantorix 2.00", 60);
        ASSERT_FALSE(main.empty()) << "no main window";
        // in.flv is probed and added, then b.avi stops the files with a message.
        const std::string refused = x_.WaitForWindow("Vantorix", 60);
        ASSERT_FALSE(refused.empty()) << "no \"Only FLV files are allowed!\" message";
        ASSERT_TRUE(x_.Answer(refused, "Vantorix"));
        // Into the chooser through the "Profile:" label's mnemonic.
        std::vector<std::string> keys{"alt+p"};
        keys.insert(keys.end(), static_cast<std::size_t>(downs), "Down");
        x_.Keys(main, keys);
        // Convert Now! waits for the probe of in.flv; pressed again until the batch
        // has ended with its message (meanwhile the window takes no second batch).
        const std::string completed = x_.KeysUntilWindow(main, {"ctrl+n"}, "Vantorix", 12, 15);
        ASSERT_FALSE(completed.empty()) << "the batch did not end with a message";
        ASSERT_TRUE(x_.Answer(completed, "Vantorix"));
        x_.Keys(main, {"ctrl+x"});
        ASSERT_EQ(program_->WaitForExit(30), 0);
    }

    static void ExpectConverted(const std::string& output) {
        const vxtest::ProbeInfo info = vxtest::ProbeFile(output);
        EXPECT_TRUE(info.ok) << output;
        EXPECT_NE(info.formatName.find("mp4"), std::string::npos) << info.formatName;
        EXPECT_NEAR(info.duration, 2, 0.5);
    }

    std::string run_, home_, media_;
    std::vector<std::string> asUser_;
    vxtest::PrivateXServer x_;
    std::unique_ptr<vxtest::SessionProcess> program_;
};

} // namespace

TEST_F(UserRun, TheInstalledProgramKeepsSettingsAndOutputsWithTheUser) {
    const std::string app = prefix_ + "/lib/vantorix";
    // The folder's own settings are every user's defaults: the third entry.
    std::ofstream(app + "/settings.dat") << "[set]\nprofile=3\n";
    if (geteuid() != 0) fs::permissions(app, fs::perms::owner_write, fs::perm_options::remove);
    // One below: "Apple iPod Movie for 480p TV Out(*.mp4)". Had the defaults not been
    // read, nothing would be selected and one key would only reach a heading.
    ConvertWith(prefix_ + "/bin/vantorix", 1);
    if (geteuid() != 0) fs::permissions(app, fs::perms::owner_write, fs::perm_options::add);
    ExpectConverted(home_ + "/Videos/in.mp4");
    EXPECT_EQ(vxtest::ReadFile(home_ + "/.config/vantorix/settings.dat"), "[set]\nprofile=4\n");
    EXPECT_EQ(vxtest::ReadFile(app + "/settings.dat"), "[set]\nprofile=3\n");
    EXPECT_FALSE(fs::exists(app + "/in.mp4"));
    fs::remove(app + "/settings.dat");
}

TEST_F(UserRun, ACopyOfTheBuildsFolderStaysPortable) {
    const std::string app = run_ + "/portable";
    fs::create_directories(app);
    for (const char* name : {"vantorix", "fp.dll", "mp.dll", "skins"})
        fs::copy(std::string(VX_APP_DIR) + "/" + name, app + "/" + name,
                 fs::copy_options::recursive);
    if (geteuid() == 0) {
        const passwd* nobody = getpwnam("nobody");
        GiveTo(app, nobody->pw_uid, nobody->pw_gid);
    }
    ConvertWith(app + "/vantorix", 2); // nothing restored: the heading, then the profile
    // The settings stay with the copy; the outputs are the user's, not among the program's files.
    ExpectConverted(home_ + "/Videos/in.mp4");
    EXPECT_FALSE(fs::exists(app + "/in.mp4"));
    EXPECT_EQ(vxtest::ReadFile(app + "/settings.dat"), "[Set]\nprofile=2\n");
    EXPECT_FALSE(fs::exists(home_ + "/.config/vantorix"));
}

// The Debian package that cpack makes from the build: its control data, its
// files, and whether a fresh Debian system could install it.
#include "TestMedia.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

bool Installed(const char* program) {
    return access((std::string("/usr/bin/") + program).c_str(), X_OK) == 0;
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);) {
        const auto first = part.find_first_not_of(" \n");
        if (first != std::string::npos) parts.push_back(part.substr(first));
    }
    return parts;
}

// The package names of a Depends field, without their versions.
std::vector<std::string> PackageNames(const std::string& depends) {
    std::vector<std::string> names;
    for (const std::string& entry : Split(depends, ','))
        names.push_back(entry.substr(0, entry.find_first_of(" (\n")));
    return names;
}

// Whether `names` holds `library`, also under its 64-bit time name ("libqt6core6t64"),
// which Debian 13 gave the libraries whose interface holds a time.
bool HoldsLibrary(const std::vector<std::string>& names, const std::string& library) {
    return std::find(names.begin(), names.end(), library) != names.end() ||
           std::find(names.begin(), names.end(), library + "t64") != names.end();
}

bool AptListsPresent() {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/var/lib/apt/lists", error))
        if (entry.path().filename().string().find("_Packages") != std::string::npos) return true;
    return false;
}

class Package : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (!Installed("dpkg-deb")) return;
        folder_ = vxtest::MakeTempFolder("vx-package");
        cpack_ = vxtest::Run({VX_CPACK, "-G", "DEB", "-B", folder_}, VX_BUILD_DIR);
        for (const auto& entry : fs::directory_iterator(folder_))
            if (entry.path().extension() == ".deb") deb_ = entry.path();
    }
    static void TearDownTestSuite() { vxtest::RemoveFolder(folder_); }
    void SetUp() override {
        if (!Installed("dpkg-deb")) GTEST_SKIP() << "dpkg-deb is not installed";
        ASSERT_EQ(cpack_.exitCode, 0) << cpack_.output;
        ASSERT_FALSE(deb_.empty()) << cpack_.output;
    }
    static std::string Field(const char* name) {
        const auto run = vxtest::Run({"dpkg-deb", "-f", deb_, name});
        return run.output.substr(0, run.output.find_last_not_of('\n') + 1);
    }

    static std::string folder_, deb_;
    static vxtest::RunResult cpack_;
};

std::string Package::folder_, Package::deb_;
vxtest::RunResult Package::cpack_;

} // namespace

TEST_F(Package, NamesTheLibrariesAndToolsItNeeds) {
    EXPECT_EQ(Field("Package"), "vantorix");
    EXPECT_EQ(Field("Version"), VX_VERSION);
    EXPECT_EQ(Field("Section"), "video");
    const std::vector<std::string> depends = PackageNames(Field("Depends"));
    for (const char* needed : {"ffmpeg", "mplayer", "libqt6core6", "libqt6gui6", "libqt6widgets6",
                               "libqt6svg6", "libqt6dbus6", "libc6", "libstdc++6"})
        EXPECT_TRUE(HoldsLibrary(depends, needed))
            << needed << " missing from " << Field("Depends");
}

TEST_F(Package, HoldsTheApplicationFolderAndTheDesktopFiles) {
    const std::string listing = vxtest::Run({"dpkg-deb", "-c", deb_}).output;
    for (const std::string& line : Split(listing, '\n')) {
        const std::string path = line.substr(line.find(" ./") + 1);
        EXPECT_TRUE(path.starts_with("./usr/lib/vantorix/") || path.starts_with("./usr/share/") ||
                    path.starts_with("./usr/bin/") || path == "./usr/" || path == "./usr/lib/")
            << path;
    }
    const std::string id = VX_APP_ID;
    for (const std::string& path :
         {std::string("./usr/bin/vantorix -> ../lib/vantorix/vantorix"),
          std::string("./usr/lib/vantorix/vantorix\n"), std::string("./usr/lib/vantorix/fp.dll\n"),
          std::string("./usr/lib/vantorix/mp.dll\n"),
          std::string("./usr/lib/vantorix/skins/frmmain.skn\n"),
          "./usr/share/applications/" + id + ".desktop\n",
          "./usr/share/icons/hicolor/scalable/apps/" + id + ".svg\n",
          "./usr/share/metainfo/" + id + ".metainfo.xml\n"})
        EXPECT_NE(listing.find(path), std::string::npos) << path << " missing from\n" << listing;
    EXPECT_EQ(listing.find("settings.dat"), std::string::npos);
    EXPECT_EQ(listing.find("bench_"), std::string::npos);
}

TEST_F(Package, AFreshDebianSystemCanInstallIt) {
    if (!Installed("apt-get") || !AptListsPresent())
        GTEST_SKIP() << "no package lists to resolve against (apt-get update)";
    // Against an empty package database: every dependency must come from the archive.
    const std::string empty = folder_ + "/status";
    std::ofstream{empty};
    const auto run = vxtest::Run({"apt-get", "-o", "Dir::State::status=" + empty, "install",
                                  "--simulate", "--no-install-recommends", deb_});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    std::vector<std::string> installed;
    for (const std::string& line : Split(run.output, '\n'))
        if (line.starts_with("Inst ")) installed.push_back(Split(line, ' ').at(1));
    for (const char* package : {"vantorix", "ffmpeg", "mplayer", "libqt6widgets6", "libqt6svg6"})
        EXPECT_TRUE(HoldsLibrary(installed, package)) << package << "\n" << run.output;
}

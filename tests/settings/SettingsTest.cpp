#include "Settings.h"
#include "IniFile.h"
#include "UserFolders.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace vx;
namespace fs = std::filesystem;

namespace {

class Store : public ::testing::Test {
  protected:
    void SetUp() override {
        app_ = (fs::temp_directory_path() / ("vx-settings-" + std::to_string(getpid()))).string();
        fs::create_directories(app_);
    }
    void TearDown() override { fs::remove_all(app_); }
    void Set(const char* key, const char* value) {
        WriteSetting(SettingsPath(app_), "set", key, value);
    }
    std::string Get(const char* key) { return ReadSetting(SettingsPath(app_), "set", key); }
    std::string app_;
};

} // namespace

TEST_F(Store, DefaultsWithoutAFile) {
    const SettingsView view = LoadSettingsView(app_);
    EXPECT_EQ(view.outputFolder, VideosFolder());
    EXPECT_FALSE(view.overwrite);
    EXPECT_FALSE(view.autoShutdown);
    EXPECT_EQ(view.threads, "");
    const BatchSettings batch = LoadBatchSettings(app_);
    EXPECT_EQ(batch.outputFolder, VideosFolder());
    EXPECT_TRUE(batch.addNew);
    EXPECT_EQ(batch.threads, 0);
    EXPECT_FALSE(AutoShutdownRequested(app_));
    EXPECT_EQ(LoadProfilePosition(app_), 0);
}

TEST_F(Store, StoredValuesAreReadAsTheReadersDemand) {
    Set("outputfolder", "0");
    Set("existedfile", "abc");
    Set("thread", "4 cores");
    Set("autoshut", "1");
    EXPECT_EQ(LoadBatchSettings(app_).outputFolder, VideosFolder()); // 0 counts as none
    EXPECT_TRUE(LoadBatchSettings(app_).addNew); // not a number: keep both files
    EXPECT_FALSE(LoadSettingsView(app_).overwrite);
    EXPECT_EQ(LoadBatchSettings(app_).threads, 4);
    EXPECT_TRUE(AutoShutdownRequested(app_));
    Set("existedfile", "1");
    EXPECT_FALSE(LoadBatchSettings(app_).addNew);
    EXPECT_TRUE(LoadSettingsView(app_).overwrite);
    Set("existedfile", "0");
    EXPECT_TRUE(LoadBatchSettings(app_).addNew);
    Set("autoshut", "2");
    EXPECT_FALSE(AutoShutdownRequested(app_));
    EXPECT_FALSE(LoadBatchSettings(app_).keepFolders); // off until asked for
    Set("keepfolders", "1");
    EXPECT_TRUE(LoadBatchSettings(app_).keepFolders);
}

TEST_F(Store, SavingChecksTheThreadCountFirst) {
    SettingsView view{" /out/videos  ", true, true, "9"};
    EXPECT_EQ(SaveSettingsView(app_, view), SaveResult::ThreadError);
    EXPECT_FALSE(fs::exists(SettingsPath(app_)));
    for (auto [typed, stored] :
         {std::pair{"8", "8"}, {"", "0"}, {"-1", "-1"}, {"2.5", "2.5"}, {"4 cores", "4"}}) {
        view.threads = typed;
        EXPECT_EQ(SaveSettingsView(app_, view), SaveResult::Saved);
        EXPECT_EQ(Get("thread"), stored);
    }
    EXPECT_EQ(Get("outputfolder"), "/out/videos");
    EXPECT_EQ(Get("existedfile"), "1");
    EXPECT_EQ(Get("autoshut"), "1");
}

TEST_F(Store, TheProfileGoesToTheSameSectionAsTheDialogsKeys) {
    SaveProfilePosition(app_, 5);
    EXPECT_EQ(LoadProfilePosition(app_), 5);
    SaveSettingsView(app_, SettingsView{"/o", false, false, "0"});
    std::ifstream in(SettingsPath(app_));
    const std::string content(std::istreambuf_iterator<char>(in), {});
    EXPECT_EQ(content,
              "[Set]\nprofile=5\noutputfolder=/o\nexistedfile=0\nautoshut=0\nthread=0\nparallel=0\n"
              "keepfolders=0\n");
}

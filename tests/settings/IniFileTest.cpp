#include "IniFile.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vx;
namespace fs = std::filesystem;

namespace {

class Ini : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("vx-ini-" + std::to_string(getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder_);
        path_ = (folder_ / "settings.dat").string();
    }
    void TearDown() override {
        InjectSettingsWriteFault(-1);
        fs::permissions(folder_, fs::perms::owner_all);
        fs::remove_all(folder_);
    }
    void Write(const std::string& content) { std::ofstream(path_, std::ios::binary) << content; }
    std::string Content() {
        std::ifstream in(path_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::string Read(const char* section, const char* key) {
        return ReadSetting(path_, section, key);
    }
    fs::path folder_;
    std::string path_;
};

} // namespace

TEST_F(Ini, ReadsHandWrittenFilesAsTheFormatDemands) {
    Write("; settings\r\n"
          "stray=outside\r\n"
          "[Other]\r\n"
          "thread=7\r\n"
          "[SET]\r\n"
          "  OutputFolder  =  /home/u/My Videos  \r\n"
          ";thread=9\r\n"
          "thread=2\r\n"
          "THREAD=3\r\n"
          "quoted=\"  padded  \"\r\n"
          "empty=\r\n");
    EXPECT_EQ(Read("set", "outputfolder"), "/home/u/My Videos");
    EXPECT_EQ(Read("Set", "thread"), "2"); // the first of two wins; comments do not count
    EXPECT_EQ(Read("set", "quoted"), "  padded  ");
    EXPECT_EQ(Read("set", "empty"), "");
    EXPECT_EQ(Read("set", "stray"), "");
    EXPECT_EQ(Read("other", "thread"), "7");
    EXPECT_EQ(Read("missing", "thread"), "");
}

TEST_F(Ini, AMissingFileReadsEmptyAndAWriteCreatesIt) {
    EXPECT_EQ(Read("set", "profile"), "");
    EXPECT_FALSE(fs::exists(path_));
    EXPECT_TRUE(WriteSetting(path_, "Set", "profile", "5"));
    EXPECT_EQ(Content(), "[Set]\nprofile=5\n");
    EXPECT_EQ(Read("set", "PROFILE"), "5");
    EXPECT_EQ(fs::status(path_).permissions() & fs::perms::others_read, fs::perms::others_read);
}

TEST_F(Ini, AWriteChangesOneLineAndKeepsEveryOtherByte) {
    const std::string before = "; mine\r\n[set]\r\noutputfolder = /a\r\nthread=2\r\n\r\n[x]\r\ny=1";
    Write(before);
    EXPECT_TRUE(WriteSetting(path_, "SET", "Thread", "4"));
    EXPECT_EQ(Content(), "; mine\r\n[set]\r\noutputfolder = /a\r\nthread=4\r\n\r\n[x]\r\ny=1");
}

TEST_F(Ini, NewKeysJoinTheExistingSectionWhateverItsCase) {
    Write("[Set]\nprofile=5\n\n[other]\nk=v\n");
    EXPECT_TRUE(WriteSetting(path_, "set", "autoshut", "0"));
    EXPECT_EQ(Content(), "[Set]\nprofile=5\nautoshut=0\n\n[other]\nk=v\n");
    Write("a=b"); // no section, no line end
    EXPECT_TRUE(WriteSetting(path_, "set", "k", "v"));
    EXPECT_EQ(Content(), "a=b\n[set]\nk=v\n");
}

TEST_F(Ini, LongValuesComeBackWhole) {
    const std::string folder = "/" + std::string(299, 'd');
    EXPECT_TRUE(WriteSetting(path_, "set", "outputfolder", folder));
    EXPECT_EQ(Read("set", "outputfolder"), folder);
}

TEST_F(Ini, AFailedWriteLeavesTheOldFileIntact) {
    Write("[set]\nthread=2\nprofile=9\n");
    InjectSettingsWriteFault(10);
    EXPECT_FALSE(WriteSetting(path_, "set", "thread", "4"));
    EXPECT_EQ(Content(), "[set]\nthread=2\nprofile=9\n");
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder_))
        ++files;
    EXPECT_EQ(files, 1); // no temporary file left behind
}

TEST_F(Ini, AReadOnlyFolderMakesTheWriteFailQuietly) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(WriteSetting(path_, "set", "thread", "4"));
    EXPECT_EQ(Read("set", "thread"), "");
}

TEST_F(Ini, AnUnwritableFolderMakesTheWriteFailQuietly) {
    EXPECT_FALSE(
        WriteSetting((folder_ / "no such folder" / "settings.dat").string(), "set", "k", "v"));
}

TEST_F(Ini, AFileTheUserMadeReadOnlyIsNeverRewritten) {
    Write("[set]\nthread=2\n");
    fs::permissions(path_, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const WriteOutcome written = WriteSetting(path_, "set", "thread", "4");
    EXPECT_FALSE(written);
    EXPECT_NE(written.reason.find("read-only"), std::string::npos) << written.reason;
    EXPECT_EQ(Content(), "[set]\nthread=2\n");
    EXPECT_EQ(fs::status(path_).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
}

TEST_F(Ini, AReplacementKeepsTheFilesMode) {
    Write("[set]\nthread=2\n");
    fs::permissions(path_, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_TRUE(WriteSetting(path_, "set", "thread", "4"));
    EXPECT_EQ(Read("set", "thread"), "4");
    EXPECT_EQ(fs::status(path_).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(Ini, WhereNoTemporaryFileCanBeMadeTheFileIsWrittenInPlace) {
    // A name so long that no temporary name can be built beside it: the case of a
    // shared folder the user may not write, whose settings file alone is writable.
    path_ = (folder_ / std::string(250, 's')).string();
    Write("[set]\nthread=2\nprofile=9\n");
    EXPECT_TRUE(WriteSetting(path_, "set", "thread", "16"));
    EXPECT_EQ(Content(), "[set]\nthread=16\nprofile=9\n");
    EXPECT_TRUE(WriteSetting(path_, "set", "thread", "1")); // shorter: no stale tail
    EXPECT_EQ(Content(), "[set]\nthread=1\nprofile=9\n");
    InjectSettingsWriteFault(3);
    const WriteOutcome failed = WriteSetting(path_, "set", "thread", "4");
    EXPECT_FALSE(failed);
    EXPECT_FALSE(failed.reason.empty());
}

TEST_F(Ini, ALineBreakNeverReachesTheFile) {
    Write("[set]\noutputfolder=/a\n");
    for (const char* value : {"/new\nline", "/carriage\rreturn", "/both\r\n"}) {
        const WriteOutcome written = WriteSetting(path_, "set", "outputfolder", value);
        EXPECT_FALSE(written) << value;
        EXPECT_FALSE(written.reason.empty());
    }
    EXPECT_FALSE(WriteSetting(path_, "set", "out\nfolder", "/x"));
    EXPECT_EQ(Content(), "[set]\noutputfolder=/a\n");
}

// The probe with the real player tool on generated files.
#include "Probe.h"
#include "TestMedia.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace vx;
namespace fs = std::filesystem;

namespace {

const std::string kAppFolder = std::string(VX_APP_DIR) + "/";

class Probe : public ::testing::Test {
  protected:
    void SetUp() override { folder_ = vxtest::MakeTempFolder("vx-probe"); }
    void TearDown() override { vxtest::RemoveFolder(folder_); }
    SourceItem Add(const std::string& path, const std::string& appFolder = kAppFolder) {
        AddSourceFile(list_, appFolder, path, [this] { ++pumps_; });
        return list_.Row(list_.Count() - 1);
    }
    std::string folder_;
    SourceList list_;
    int pumps_ = 0;
};

} // namespace

TEST_F(Probe, FillsTheRowFromTheReport) {
    const std::string file = folder_ + "/clip one.flv";
    ASSERT_TRUE(vxtest::MakeFlv(file, {.seconds = 7.4}));
    const SourceItem row = Add(file);
    EXPECT_EQ(row.columns[kFileName], file);
    EXPECT_EQ(row.columns[kStart], "0:00:00");
    EXPECT_EQ(row.columns[kEnd], "0:00:07");
    EXPECT_EQ(row.columns[kVideoTime], "0:00:07");
    EXPECT_EQ(row.columns[kSize], "320x240");
    EXPECT_EQ(row.columns[kFormat], "FLV1");
    EXPECT_EQ(row.columns[kStatus], "");
    EXPECT_GT(pumps_, 0);
}

TEST_F(Probe, BrokenFilesEachGiveARowAndNoCrash) {
    const std::string good = folder_ + "/good.flv";
    ASSERT_TRUE(vxtest::MakeFlv(good, {.seconds = 3}));
    std::ofstream(folder_ + "/empty.flv").close();
    {
        const std::string bytes = vxtest::ReadFile(good);
        std::ofstream(folder_ + "/truncated.flv", std::ios::binary)
            << bytes.substr(0, bytes.size() / 20);
        std::string noise(50000, '\0');
        unsigned state = 12345;
        for (char& c : noise)
            c = static_cast<char>((state = state * 1103515245 + 12345) >> 16);
        std::ofstream(folder_ + "/random.flv", std::ios::binary) << noise;
    }
    for (const char* name : {"empty.flv", "truncated.flv", "random.flv", "missing.flv"}) {
        SCOPED_TRACE(name);
        const SourceItem row = Add(folder_ + "/" + name);
        EXPECT_EQ(row.columns[kFileName], folder_ + "/" + name);
        EXPECT_EQ(row.columns[kStart], "0:00:00");
    }
    EXPECT_EQ(list_.Count(), 4);
    EXPECT_EQ(list_.Row(0).columns[kSize], "0x0");
    EXPECT_EQ(list_.Row(3).columns[kEnd], "");
}

TEST_F(Probe, AMissingPlayerToolLeavesPathStartAndNoSize) {
    const std::string file = folder_ + "/a.flv";
    ASSERT_TRUE(vxtest::MakeFlv(file, {.seconds = 1}));
    const SourceItem row = Add(file, folder_ + "/nowhere/");
    EXPECT_EQ(row.columns[kFileName], file);
    EXPECT_EQ(row.columns[kStart], "0:00:00");
    EXPECT_EQ(row.columns[kSize], "0x0");
    EXPECT_EQ(row.columns[kEnd], "");
    EXPECT_EQ(row.columns[kVideoTime], "");
    EXPECT_EQ(row.columns[kFormat], "");
}

TEST_F(Probe, ARowRemovedDuringItsProbeIsNotWrittenElsewhere) {
    const std::string file = folder_ + "/a.flv";
    ASSERT_TRUE(vxtest::MakeFlv(file, {.seconds = 2}));
    list_.Append("/other.flv");
    bool removed = false;
    AddSourceFile(list_, kAppFolder, file, [&] {
        if (!removed && list_.Count() == 2) removed = list_.Remove(1);
    });
    EXPECT_TRUE(removed);
    ASSERT_EQ(list_.Count(), 1);
    EXPECT_EQ(list_.Row(0).columns[kFileName], "/other.flv");
    EXPECT_EQ(list_.Row(0).columns[kStart], "");
}

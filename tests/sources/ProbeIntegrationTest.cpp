// The probe with the real player tool on generated files.
#include "Probe.h"
#include "ProbePool.h"
#include "TestMedia.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <mutex>
#include <sys/stat.h>
#include <thread>

using namespace vx;
namespace fs = std::filesystem;

namespace {

const std::string kAppFolder = std::string(VX_APP_DIR) + "/";

class Probe : public ::testing::Test {
  protected:
    SourceItem Add(const std::string& path, const std::string& appFolder = kAppFolder) {
        AddSourceFile(list_, appFolder, path, [this] { ++pumps_; });
        return list_.Row(list_.Count() - 1);
    }
    const vxtest::TempFolder temp_{"vx-probe"};
    const std::string& folder_ = temp_.path;
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

// Quotes, a line break and a trailing backslash are all legal in a name.
TEST_F(Probe, AnyLegalNameIsProbed) {
    for (const std::string name : {"say \"\nhi\".flv", "back\\slash\\.flv", "it's $(x).flv"}) {
        SCOPED_TRACE(name);
        const std::string file = folder_ + "/" + name;
        ASSERT_TRUE(vxtest::MakeFlv(file, {.seconds = 2}));
        const SourceItem row = Add(file);
        EXPECT_EQ(row.columns[kSize], "320x240");
        EXPECT_EQ(row.columns[kEnd], "0:00:02");
    }
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

// A FIFO would keep the player reading for ever: only regular files are probed,
// and anything else gets the row of an unreadable file at once.
TEST_F(Probe, OnlyRegularFilesAreProbed) {
    const std::string fifo = folder_ + "/f.flv";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    fs::create_directories(folder_ + "/folder.flv");
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& path : {fifo, folder_ + "/folder.flv", std::string("/dev/null")}) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(IsProbeable(path));
        const SourceItem row = Add(path);
        EXPECT_EQ(row.columns[kStart], "0:00:00");
        EXPECT_EQ(row.columns[kSize], "0x0");
        EXPECT_EQ(row.columns[kEnd], "");
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    EXPECT_EQ(vxtest::ChildProcesses(), 0);
}

// A player that never ends (a file on a hung network mount) is given up at the
// time limit, and one given up from another thread ends at once.
TEST_F(Probe, AProbeThatHangsIsGivenUp) {
    const std::string app = folder_ + "/app/";
    fs::create_directories(app);
    fs::create_symlink(VX_CHILD, app + "mp.dll");
    const std::string file = folder_ + "/a.flv";
    std::ofstream(file) << "not a movie";
    ProbeControl control;
    control.timeLimit = std::chrono::milliseconds(300);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(RunIdentify(app, file, control), "");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));

    std::atomic<bool> cancelled{false};
    control.timeLimit = std::chrono::seconds(60);
    control.cancelled = &cancelled;
    start = std::chrono::steady_clock::now();
    std::thread giver([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        cancelled = true;
    });
    EXPECT_EQ(RunIdentify(app, file, control), "");
    giver.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(vxtest::ChildProcesses(), 0);
}

// Several probes at once fill their own rows with what one after the other would.
TEST_F(Probe, APoolFillsEveryRowAsASequentialProbeWould) {
    std::vector<std::string> files;
    for (int i = 0; i < 5; ++i) {
        files.push_back(folder_ + "/p" + std::to_string(i) + ".flv");
        ASSERT_TRUE(vxtest::MakeFlv(files.back(), {.seconds = 2.0 + i, .width = 160 + 16 * i}));
    }
    SourceList sequential;
    for (const std::string& file : files)
        AddSourceFile(sequential, kAppFolder, file, {});
    std::mutex mutex;
    std::vector<std::pair<std::uint64_t, std::string>> reports;
    {
        ProbePool pool(kAppFolder, 3, [&](std::uint64_t id, std::string output) {
            std::lock_guard lock(mutex);
            reports.emplace_back(id, std::move(output));
        });
        for (const std::string& file : files)
            pool.Submit(list_.Append(file), file);
        for (int wait = 0; wait < 200; ++wait) {
            {
                std::lock_guard lock(mutex);
                if (reports.size() == files.size()) break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    ASSERT_EQ(reports.size(), files.size());
    for (const auto& [id, output] : reports)
        FillRow(list_, id, output);
    for (int row = 0; row < 5; ++row)
        EXPECT_EQ(list_.Row(row).columns, sequential.Row(row).columns) << row;
}

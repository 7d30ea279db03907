#include "MachineLoad.h"
#include "TestMedia.h"

#include <cmath>
#include <fstream>
#include <gtest/gtest.h>

using namespace vx;
using namespace std::chrono_literals;

namespace {

// A /proc of our own: two cores whose idle time the test moves on.
class Load : public ::testing::Test {
  protected:
    void SetUp() override { Memory(8 * 1024 * 1024); }
    void TearDown() override { vxtest::RemoveFolder(proc_); }

    void Memory(std::uint64_t kb) {
        std::ofstream(proc_ + "/meminfo")
            << "MemTotal:       24683296 kB\nMemFree:  1 kB\nMemAvailable:   " << kb << " kB\n";
    }
    // `busy` cores were busy during the last `step`: 100 ticks a second per core.
    void Advance(double busy, std::chrono::milliseconds step = 500ms) {
        const double ticks = 2 * 100.0 * step.count() / 1000;
        idle_ += static_cast<std::uint64_t>(std::llround(ticks * (2 - busy) / 2));
        total_ += static_cast<std::uint64_t>(ticks);
        now_ += step;
        std::ofstream(proc_ + "/stat")
            << "cpu  " << total_ - idle_ << " 0 0 " << idle_ << " 0 0 0 0 0 0\ncpu0 1 2 3 4\n";
        load_.Sample(now_);
    }

    std::string proc_ = vxtest::MakeTempFolder("vx-proc");
    MachineLoad load_{proc_, 2};
    std::uint64_t idle_ = 1000, total_ = 2000;
    MachineLoad::Clock::time_point now_{};
};

} // namespace

TEST(MachineFiles, ReadTheFirstCpuLineAndAvailableMemory) {
    const auto times = ParseCpuTimes("cpu  10 1 5 80 4 0 0 0 7 0\ncpu0 1 1 1 1\n");
    ASSERT_TRUE(times);
    EXPECT_EQ(times->idle, 84u);
    EXPECT_EQ(times->total, 100u);
    EXPECT_FALSE(ParseCpuTimes("intr 5\n"));
    EXPECT_EQ(ParseMemAvailableKb("MemTotal: 9 kB\nMemAvailable:   2048 kB\n"), 2048u);
    EXPECT_FALSE(ParseMemAvailableKb("MemTotal: 9 kB\n"));
}

// One encoder a core start at once; a third beside two that leave a tenth of
// the cores idle gets no company, beside two that leave 0.44 of them it does,
// after a settled second.
TEST_F(Load, AnotherRowStartsOnlyAfterASecondWithIdleRoom) {
    EXPECT_TRUE(load_.MayStart(false, 0, 0)); // the first always
    EXPECT_TRUE(load_.MayStart(false, 1, 0)); // and one a core, unmeasured
    load_.RowStarted(now_);
    for (int i = 0; i < 6; ++i)
        Advance(1.9);
    EXPECT_NEAR(*load_.IdleCores(), 0.1, 0.02);
    EXPECT_FALSE(load_.MayStart(false, 2, 0));
    load_.RowStarted(now_);
    Advance(1.0);
    Advance(1.0);
    EXPECT_FALSE(load_.IdleCores()); // not yet a settled second
    EXPECT_FALSE(load_.MayStart(false, 2, 0));
    Advance(1.56);
    Advance(1.56);
    EXPECT_NEAR(*load_.IdleCores(), 0.44, 0.02);
    EXPECT_TRUE(load_.MayStart(false, 2, 0));
}

TEST_F(Load, NeverMoreThanCoresPlusOneAndNotWhileMemoryIsShort) {
    for (int i = 0; i < 4; ++i)
        Advance(0.0);
    EXPECT_TRUE(load_.MayStart(false, 2, 0));
    EXPECT_FALSE(load_.MayStart(false, 3, 0));
    // Copies are counted apart: they start beside busy encoders, up to their own limit.
    EXPECT_TRUE(load_.MayStart(true, 3, 2));
    EXPECT_FALSE(load_.MayStart(true, 3, 3));
    EXPECT_TRUE(load_.MayStart(false, 0, 2));
    Memory(100 * 1024);
    EXPECT_FALSE(load_.MayStart(false, 1, 0));
    EXPECT_FALSE(load_.MayStart(true, 0, 1));
    EXPECT_TRUE(load_.MayStart(false, 0, 0));
}

#include "Process.h"
#include "TestMedia.h"

#include <gtest/gtest.h>

using namespace vx;

namespace {

const std::string kChild = VX_CHILD;

struct Runner {
    Process process;
    int finished = 0;
    int pumps = 0;
    std::string chunks;
    explicit Runner(const std::string& parameters) {
        process.CmdLine = "\"" + kChild + "\"";
        process.Parameters = parameters;
        process.Finished = [this] { ++finished; };
        process.PumpMessages = [this] { ++pumps; };
        process.StdOutChanged = [this](std::string& chunk) { chunks += chunk; };
    }
};

} // namespace

TEST(Process, CollectsStandardOutputAndErrorAndTheExitCode) {
    Runner r("out first-  err second-  out third  exit 3");
    r.process.Launch();
    EXPECT_EQ(r.process.StdOut(), "first-second-third");
    EXPECT_EQ(r.chunks, r.process.StdOut());
    EXPECT_EQ(r.process.RC(), 3);
    EXPECT_EQ(r.finished, 1);
    EXPECT_GT(r.pumps, 0); // the window was served while waiting
    EXPECT_FALSE(r.process.IsActive());
}

TEST(Process, KeepsLinesWrittenJustBeforeTheEnd) {
    Runner r("lines 2000");
    r.process.Launch();
    EXPECT_EQ(r.process.StdOut().size(), 2000 * 6 + 10 * 1 + 90 * 2 + 900 * 3 + 1000 * 4);
    EXPECT_EQ(r.process.StdOut().substr(r.process.StdOut().size() - 10), "line 1999\n");
}

TEST(Process, TwentyMegabytesNeverBlockTheChild) {
    Runner r("bytes 20000000 exit 0");
    const auto start = std::chrono::steady_clock::now();
    r.process.Launch();
    EXPECT_EQ(r.process.StdOut().size(), 20000000u);
    EXPECT_EQ(r.process.RC(), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

TEST(Process, EmptyParametersLeaveTheTrailingBlank) {
    Runner r("");
    r.process.Launch();
    EXPECT_EQ(r.process.CommandLine(), "\"" + kChild + "\" ");
    Runner s("exit 0");
    s.process.Launch();
    EXPECT_EQ(s.process.CommandLine(), "\"" + kChild + "\" exit 0");
}

TEST(Process, AbortRecordsTheGivenCodeAndASecondAbortOnlyFinishesAgain) {
    Runner r("out started sleep 30000");
    r.process.Async = true;
    r.process.Launch();
    EXPECT_TRUE(r.process.IsActive());
    r.process.Abort(5);
    EXPECT_EQ(r.process.RC(), 5);
    EXPECT_FALSE(r.process.IsActive());
    EXPECT_EQ(r.finished, 1);
    r.process.Abort();
    EXPECT_EQ(r.finished, 2);
    EXPECT_EQ(r.process.RC(), 5);
}

TEST(Process, AbortWithZeroWaitsForTheChildToGo) {
    Runner r("sleep 30000");
    r.process.Async = true;
    r.process.Launch();
    r.process.Abort(0);
    EXPECT_EQ(r.process.RC(), 0); // never a still-running code
    EXPECT_FALSE(r.process.IsActive());
}

TEST(Process, NeverLaunchedIsInactive) {
    Process process;
    EXPECT_FALSE(process.IsActive());
    EXPECT_EQ(process.RC(), 0);
    EXPECT_EQ(process.StdOut(), "");
}

TEST(Process, AsyncLaunchReturnsAtOnceAndReadCollectsEverything) {
    Runner r("sleep 300 lines 500 sleep 100 out end exit 7");
    r.process.Async = true;
    const auto start = std::chrono::steady_clock::now();
    r.process.Launch();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
    while (r.process.IsActive())
        r.process.Read();
    EXPECT_EQ(r.process.StdOut().substr(r.process.StdOut().size() - 3), "end");
    EXPECT_EQ(r.process.RC(), 7);
    EXPECT_EQ(r.finished, 1);
}

TEST(Process, AMissingProgramFailsSilently) {
    Process process;
    int finished = 0;
    process.Finished = [&] { ++finished; };
    process.CmdLine = "/nonexistent/tool -x";
    process.Launch();
    EXPECT_EQ(process.RC(), 0);
    EXPECT_EQ(process.StdOut(), "");
    EXPECT_FALSE(process.IsActive());
    EXPECT_EQ(finished, 0); // the pipe stays until Abort
    process.Abort();
    EXPECT_EQ(finished, 1);
}

TEST(Process, DestructionEndsARunningChildAndReapsIt) {
    const int before = vxtest::ChildProcesses();
    {
        Runner r("sleep 30000");
        r.process.Async = true;
        r.process.Launch();
        ASSERT_TRUE(r.process.IsActive());
        EXPECT_EQ(vxtest::ChildProcesses(), before + 1);
    }
    EXPECT_EQ(vxtest::ChildProcesses(), before); // killed and reaped: no zombie either
}

TEST(Process, ElapsedTimeIsATimeText) {
    Runner r("exit 0");
    r.process.Launch();
    EXPECT_EQ(r.process.ElapsedTime(), "0:00:00");
}

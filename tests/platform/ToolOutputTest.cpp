// What a started tool says: split into status line and tail, read all the time.
#include "ToolOutput.h"
#include "EventCounter.h"
#include "Tools.h"

#include <csignal>
#include <cstdint>
#include <gtest/gtest.h>
#include <poll.h>
#include <thread>

using namespace vx;
using namespace std::chrono_literals;

TEST(ToolOutput, SplitsStatusLinesFromPlainLinesWhereverThePiecesBreak) {
    ToolOutput output;
    const std::string text =
        "Playing a.flv.\nA:   1.2 V:   1.2 A-V:  0.000\x1b[J\rA:   1.3 V:   "
        "1.3 A-V:  0.001\x1b[J\r\n  =====  PAUSE  =====\r\nExiting... (Quit)\n";
    for (char c : text) // one byte at a time: the pipe may break anywhere
        output.Feed(std::string_view(&c, 1));
    EXPECT_EQ(output.StatusLine(), "  =====  PAUSE  =====");
    const std::vector<std::string> tail{"Playing a.flv.", "A:   1.3 V:   1.3 A-V:  0.001",
                                        "  =====  PAUSE  =====", "Exiting... (Quit)"};
    EXPECT_EQ(output.Tail(), tail);

    ToolOutput progress;
    progress.Feed("frame=  10 fps=0.0\rframe=  20 fps=0.0\rError while decoding\n");
    EXPECT_EQ(progress.StatusLine(), "frame=  20 fps=0.0");
    EXPECT_EQ(progress.Tail(), std::vector<std::string>{"Error while decoding"});
}

TEST(ToolOutput, KeepsOnlyTheLastLinesAndCutsEndlessOnes) {
    ToolOutput output;
    for (int i = 0; i < 100; ++i)
        output.Feed("line " + std::to_string(i) + "\n");
    const auto tail = output.Tail();
    ASSERT_EQ(tail.size(), ToolOutput::kTailLines);
    EXPECT_EQ(tail.front(), "line 80");
    EXPECT_EQ(tail.back(), "line 99");
    output.Feed(std::string(100000, 'x') + "\n");
    EXPECT_EQ(output.Tail().back().size(), ToolOutput::kLongestLine);
}

TEST(ToolRegistry, ReadsAToolsOutputAllTheTimeAndReapsIt) {
    auto& tools = ToolRegistry::Instance();
    // 8 MB is far more than a pipe holds: a tool whose output nobody read would stall.
    const pid_t pid = tools.Start("\"" + std::string(VX_CHILD) +
                                      "\" bytes 8000000 out \"\n12%\r50%\r\" err \"last words\n\"",
                                  "/");
    ASSERT_GT(pid, 0);
    const auto code = tools.WaitForExit(pid, 20s);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0);
    EXPECT_FALSE(tools.Running(pid));
    EXPECT_EQ(tools.StatusLine(pid), "50%");
    ASSERT_FALSE(tools.OutputTail(pid).empty());
    EXPECT_EQ(tools.OutputTail(pid).back(), "last words");
    EXPECT_EQ(tools.RunningCount(), 0);
}

namespace {

// Waits for the counter to count; its count, or 0 when the time ran out.
std::uint64_t Counted(const EventCounter& counter, int milliseconds) {
    pollfd ready{counter.Descriptor(), POLLIN, 0};
    return poll(&ready, 1, milliseconds) == 1 ? counter.Take() : 0;
}

} // namespace

// Whoever sleeps on an end signal learns of every end at once, also of a tool
// that ended while another was started; ends stay known for a while.
TEST(ToolRegistry, SignalsEndsAndRemembersRecentOnes) {
    auto& tools = ToolRegistry::Instance();
    const EventCounter ends;
    ASSERT_GE(ends.Descriptor(), 0);
    tools.AddEndSignal(ends.Descriptor());
    const std::string child = "\"" + std::string(VX_CHILD) + "\"";
    const pid_t slow = tools.Start(child + " sleep 5000", "/");
    const pid_t quick = tools.Start(child + " exit 3", "/");
    ASSERT_GT(slow, 0);
    ASSERT_GT(quick, 0);
    EXPECT_GE(Counted(ends, 20000), 1u);
    EXPECT_EQ(tools.WaitForExit(quick, 0ms), 3);
    EXPECT_TRUE(tools.Running(slow));

    std::vector<pid_t> others;
    for (int i = 0; i < 80; ++i)
        others.push_back(tools.Start(child + " exit 0", "/"));
    for (const pid_t other : others)
        tools.WaitForExit(other, 20s);
    tools.Start(child + " exit 0", "/"); // the table is pruned as tools start
    EXPECT_EQ(tools.WaitForExit(quick, 0ms), 3);

    kill(slow, SIGTERM);
    EXPECT_TRUE(tools.WaitForExit(slow, 20s).has_value());
    EXPECT_GE(Counted(ends, 0), 81u); // the others and slow, each once
    tools.RemoveEndSignal(ends.Descriptor());
    const pid_t after = tools.Start(child + " exit 0", "/");
    EXPECT_TRUE(tools.WaitForExit(after, 20s).has_value());
    EXPECT_EQ(Counted(ends, 50), 0u); // no longer told
}

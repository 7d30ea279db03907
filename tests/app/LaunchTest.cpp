// The built program started as a user starts it.
#include "TestMedia.h"

#include <chrono>
#include <csignal>
#include <gtest/gtest.h>

#include "Spawn.h"

namespace {

const std::string kProgram = std::string(VX_APP_DIR) + "/vantorix";

} // namespace

// No X at all, in a Wayland session without Xwayland: one line, no virtual display.
TEST(Launch, WithoutAnXDisplayItSaysWhatItNeedsInOneLine) {
    const auto run = vxtest::Run({"/usr/bin/env", "-u", "DISPLAY", "-u", "QT_QPA_PLATFORM",
                                  "WAYLAND_DISPLAY=vx-wayland-0", kProgram});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.output.find("package xwayland"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find('\n'), run.output.size() - 1) << run.output;
}

TEST(Launch, ShowsItsMainWindowOnTheXServer) {
    if (!std::getenv("DISPLAY")) GTEST_FAIL() << "needs an X server: run the tests under xvfb-run";
    // A window of its own: a window of the same user's session never takes it over.
    // Asked for Wayland in a Wayland session, it runs on X all the same.
    const pid_t pid = vx::Spawn({{"/usr/bin/env", "QT_QPA_PLATFORM=wayland",
                                  "WAYLAND_DISPLAY=vx-wayland-0", kProgram, "--new-window"},
                                 VX_APP_DIR,
                                 -1,
                                 -1});
    ASSERT_GT(pid, 0);
    const bool shown = vxtest::WaitUntil(
        [] {
            return vxtest::Run({"xwininfo", "-root", "-tree"}).output.find("\"Vantorix 2.00\"") !=
                   std::string::npos;
        },
        std::chrono::seconds(15), std::chrono::milliseconds(100));
    kill(pid, SIGTERM);
    vxtest::Reap(pid);
    EXPECT_TRUE(shown);
}

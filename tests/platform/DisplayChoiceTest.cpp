// The platform chosen at start-up, and what is said, for the sessions people run.
#include "DisplayChoice.h"

#include <gtest/gtest.h>
#include <map>

using namespace vx;
using Session = std::map<std::string, std::string>;

static DisplayChoice In(const Session& session) {
    return ChooseDisplay([&session](const char* name) {
        const auto found = session.find(name);
        return found == session.end() ? nullptr : found->second.c_str();
    });
}

TEST(DisplayChoice, XWheneverThereIsOneAndOneLineWhyOrWhatIsMissing) {
    // An X session, or Wayland with Xwayland: X, quietly; Wayland asked for: X and one line why.
    for (const Session& session : {Session{{"DISPLAY", ":0"}},
                                   {{"DISPLAY", ":0"}, {"WAYLAND_DISPLAY", "wayland-0"}},
                                   {{"DISPLAY", ":0"}, {"QT_QPA_PLATFORM", "wayland"}},
                                   {{"DISPLAY", ":0"}, {"QT_QPA_PLATFORM", "wayland-egl;xcb"}}}) {
        const DisplayChoice choice = In(session);
        const bool asked = session.count("QT_QPA_PLATFORM") > 0;
        EXPECT_TRUE(choice.start && choice.platform == "xcb");
        EXPECT_EQ(choice.message.find("the embedded player needs X") != std::string::npos, asked);
    }
    // No X: what is missing, in one line; under Wayland the package; never a virtual display.
    for (const Session& session : {Session{},
                                   {{"WAYLAND_DISPLAY", "wayland-0"}},
                                   {{"XDG_SESSION_TYPE", "wayland"}, {"DISPLAY", ""}},
                                   {{"QT_QPA_PLATFORM", "wayland"}}}) {
        const DisplayChoice choice = In(session);
        EXPECT_FALSE(choice.start);
        EXPECT_EQ(choice.message.find('\n'), std::string::npos);
        EXPECT_NE(choice.message.find("needs X"), std::string::npos) << choice.message;
        EXPECT_EQ(choice.message.find("package xwayland") != std::string::npos, !session.empty());
        EXPECT_EQ(choice.message.find("xvfb"), std::string::npos);
    }
    // A platform chosen on purpose (the tests' offscreen one) is left alone.
    const DisplayChoice offscreen = In({{"QT_QPA_PLATFORM", "offscreen"}});
    EXPECT_TRUE(offscreen.start && !offscreen.platform && offscreen.message.empty());
}

#include "ToolControl.h"
#include "CommandLine.h"
#include "LauncherArgs.h"
#include "PlayerHome.h"

#include <gtest/gtest.h>
#include <map>

using namespace vx;
using Args = std::vector<std::string>;

TEST(SplitCommandLine, FollowsTheRulesTheTextsAreWrittenFor) {
    EXPECT_EQ(SplitCommandLine("a  b   c"), (Args{"a", "b", "c"}));
    EXPECT_EQ(SplitCommandLine("  \"/opt/my app/fp.dll\" -i \"/in/a b.flv\"  "),
              (Args{"/opt/my app/fp.dll", "-i", "/in/a b.flv"}));
    EXPECT_EQ(SplitCommandLine("x\"y z\"w"), (Args{"xy zw"}));
    EXPECT_EQ(SplitCommandLine("a \"\" b"), (Args{"a", "", "b"}));
    EXPECT_EQ(SplitCommandLine("\"$(touch x); `y` 'z'\""), (Args{"$(touch x); `y` 'z'"}));
    EXPECT_EQ(SplitCommandLine(""), Args{});
    EXPECT_EQ(SplitCommandLine("-threads  4"), (Args{"-threads", "4"}));
}

TEST(PlayerLaunchLine, IsAssembledPieceByPiece) {
    EXPECT_EQ(PlayerLaunchLine("/opt/vx", 4194305, "/m/a b.flv", std::nullopt),
              std::string("\"/opt/vx/mp.dll\" -wid  4194305") + kPlayerOptions + "\"/m/a b.flv\"");
    EXPECT_EQ(PlayerLaunchLine("/opt/vx", 7, "/m/a.flv", 83).substr(0, 33),
              "\"/opt/vx/mp.dll\" -ss 83 -wid  7 -");
    EXPECT_NE(PlayerLaunchLine("/", 7, "/m/a.flv", 0).find("\"//mp.dll\" -ss 0 -wid"),
              std::string::npos);
}

TEST(PlayerLaunchLine, SplitsIntoThePlayersArguments) {
    const Args args = SplitCommandLine(PlayerLaunchLine("/opt/vx", 42, "/m/a b.flv", 5));
    EXPECT_EQ(args, (Args{"/opt/vx/mp.dll", "-ss", "5", "-wid", "42", "-priority", "abovenormal",
                          "-framedrop", "-colorkey", "0", "-nokeepaspect", "-framedrop",
                          "-autosync", "100", "-vo", "gl2", "-vf", "screenshot", "/m/a b.flv"}));
}

TEST(Launchers, EncoderGetsOverwriteFirstAndEverythingElseUnchanged) {
    EXPECT_EQ(EncoderArguments({"-i", "a.flv", "out.mp4"}), (Args{"-y", "-i", "a.flv", "out.mp4"}));
}

TEST(Launchers, PlayerPlaybackDropsPriorityAndReplacesGl2) {
    const Args given{"-ss",        "5",   "-wid", "42",  "-priority",  "abovenormal",
                     "-framedrop", "-vo", "gl2",  "-vf", "screenshot", "/m/-vo gl2.flv"};
    EXPECT_EQ(PlayerArguments(given),
              (Args{"-ss", "5", "-wid", "42", "-framedrop", "-vo", kLinuxVideoOutputs, "-zoom",
                    "-vf", "screenshot", "/m/-vo gl2.flv"}));
    const Args identify{"-identify", "-benchmark", "-vo", "null", "-priority", "x", "f.flv"};
    EXPECT_EQ(PlayerArguments(identify), identify);
}

// The player's home moves into the cache folder; the user's own files stay found.
TEST(Launchers, PlayerGetsAHomeOfItsOwnInTheCacheFolder) {
    using Env = std::map<std::string, std::string>;
    const auto changes = [](const Env& env) {
        std::map<std::string, std::optional<std::string>> result;
        for (const auto& [name, value] : PlayerEnvironment(
                 [&env](const char* n) { return env.count(n) ? env.at(n).c_str() : nullptr; }))
            result[name] = value;
        return result;
    };
    auto bare = changes({{"HOME", "/h"}});
    EXPECT_EQ(bare, (decltype(bare){{"HOME", "/h/.cache/vantorix/player"},
                                    {"MPLAYER_HOME", std::nullopt},
                                    {"XAUTHORITY", "/h/.Xauthority"},
                                    {"XDG_CACHE_HOME", "/h/.cache"},
                                    {"XDG_CONFIG_HOME", "/h/.config"},
                                    {"XDG_DATA_HOME", "/h/.local/share"}}));
    auto named = changes({{"HOME", "/h"}, {"XDG_CACHE_HOME", "/c"}, {"XAUTHORITY", "/x"}});
    EXPECT_EQ(named["HOME"], "/c/vantorix/player");
    EXPECT_FALSE(named.count("XAUTHORITY") || named.count("XDG_CACHE_HOME"));
    EXPECT_TRUE(changes({{"HOME", "relative"}}).empty()); // nowhere to put it: no change
}

TEST(Keys, AreWrittenAsATerminalWouldSendThem) {
    EXPECT_EQ(KeyBytes(kKeyLeft), "\x1b[D");
    EXPECT_EQ(KeyBytes(kKeyRight), "\x1b[C");
    EXPECT_EQ(KeyBytes(kKeySpace), " ");
    EXPECT_EQ(KeyBytes(kKeyQ), "q");
    EXPECT_EQ(KeyBytes(0x41), "");
}

TEST(ToolControl, LaunchFailuresKeepThePreviousProcessId) {
    ToolControl control;
    control.PlayerProcessId = 1234;
    EXPECT_FALSE(control.LaunchPlayer("/nonexistent", 1, "/m/a.flv", std::nullopt));
    EXPECT_EQ(control.PlayerProcessId, 1234);
    EXPECT_FALSE(control.LaunchPlayer("/nonexistent", 1, "/m/a\"b.flv", std::nullopt));
    EXPECT_EQ(control.PlayerProcessId, 1234);
    EXPECT_FALSE(control.PostKeyToPlayer(kKeyQ)); // no such tool of ours: nothing is posted
}

// vantorix-convert with the real encoder and player, without a display: the
// program is copied into an application folder of its own, beside links to
// the tools, and run as a user would run it.
#include "CommandLine.h"
#include "ConvertProgram.h"
#include "Spawn.h"
#include "TestMedia.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class Convert : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        media_ = vxtest::MakeTempFolder("vx-cli-media");
        ASSERT_TRUE(vxtest::MakeFlv(media_ + "/short.flv", {.seconds = 2}));
        ASSERT_TRUE(
            vxtest::MakeFlv(media_ + "/long.flv", {.seconds = 60, .width = 640, .height = 480}));
    }
    static void TearDownTestSuite() { vxtest::RemoveFolder(media_); }

    void SetUp() override {
        vxtest::LinkTools(app_, VX_APP_DIR);
        fs::copy_file(std::string(VX_APP_DIR) + "/vantorix-convert", program_);
        unsetenv("DISPLAY"); // no display is needed
    }

    std::string Source(const std::string& name, const std::string& from = "short.flv") {
        const std::string path = app_ + "/" + name;
        fs::copy_file(media_ + "/" + from, path);
        return path;
    }
    // The program in-process, its two streams kept apart.
    int RunHere(const std::vector<std::string>& arguments) {
        last_ = vxtest::Capture([&](std::FILE* out, std::FILE* err) {
            return vx::RunConvert(arguments, app_, {out, err, false, -1});
        });
        return last_.status;
    }

    static inline std::string media_;
    const vxtest::TempFolder folder_{"vx-cli-app"};
    const std::string& app_ = folder_.path;
    std::string program_ = app_ + "/vantorix-convert";
    vxtest::Captured last_;
};

TEST_F(Convert, ABrokenFileFailsAloneAndTheStatusSaysSo) {
    const std::string broken = app_ + "/broken.flv";
    std::ofstream(broken) << "FLV but nothing a player can read";
    const auto result = vxtest::Run({program_, "-p", "86", "-o", app_ + "/out", "-j", "2",
                                     Source("a.flv"), Source("b.flv"), broken});
    EXPECT_EQ(result.exitCode, 1) << result.output;
    EXPECT_TRUE(vxtest::ProbeFile(app_ + "/out/a.mp4").ok);
    EXPECT_TRUE(vxtest::ProbeFile(app_ + "/out/b.mp4").ok);
    EXPECT_FALSE(fs::exists(app_ + "/out/broken.mp4"));
    EXPECT_NE(result.output.find("broken.flv: Fail: "), std::string::npos) << result.output;
    EXPECT_NE(result.output.find("2 of 3 files converted, 1 failed."), std::string::npos);
}

TEST_F(Convert, UsageErrorsStartNothingAndSayWhy) {
    const std::string file = Source("a.flv");
    const std::string out = app_ + "/out";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"-p", "86", "--frobnicate", file}, "unknown option --frobnicate"},
        {{"-p", "1", "-o", out, file}, "is a heading"},
        {{"-p", "No Such Entry(*.xyz)", file}, "no entry"},
        {{"-p", "86", "--set", "Colour=red", file}, "the option \"Colour\" is unknown"},
        {{"-p", "86", "--set", "Video Codec=theora", "-o", out, file}, "is no value of"},
        {{"-p", "86", "-j", "99", file}, "-j needs"},
        {{"-p", "86", "--start", "soon", file}, "--start needs a time"},
        {{"-p", "86", "-o", out, app_ + "/missing.flv"}, "missing.flv: no such file"},
        {{"-p", "86"}, "name the files"},
    };
    for (const auto& [arguments, message] : cases) {
        EXPECT_EQ(RunHere(arguments), vx::kExitUsage) << message;
        EXPECT_NE(last_.err.find(message), std::string::npos) << last_.err;
    }
    EXPECT_FALSE(fs::exists(out)); // nothing was started
    EXPECT_EQ(RunHere({"--list-profiles"}), 0);
    EXPECT_NE(last_.out.find("86\tCommon Used Video Formats\tCustomized MP4 Movie(*.mp4)\n"),
              std::string::npos);
}

// Ctrl+C cancels as the window's Cancel does: the encoder is asked to quit, its
// new output goes, and the program ends at once with 130.
TEST_F(Convert, AnInterruptCancelsWithinASecond) {
    const std::string source = Source("long.flv", "long.flv");
    const std::vector<std::string> arguments = {program_, "-p", "86", "-o", app_ + "/out", source};
    const pid_t pid = vx::Spawn({arguments, {}});
    ASSERT_GT(pid, 0);
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (!fs::exists(app_ + "/out/long.mp4") && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(50ms);
    std::this_thread::sleep_for(500ms);
    kill(pid, SIGINT);
    const auto interrupted = std::chrono::steady_clock::now();
    const int status = vxtest::Reap(pid);
    EXPECT_LT(std::chrono::steady_clock::now() - interrupted, 1s);
    EXPECT_EQ(status, vx::kExitInterrupted);
    EXPECT_FALSE(fs::exists(app_ + "/out/long.mp4")); // no unfinished output left
    const auto encoders = vxtest::Run({"pgrep", "-f", app_ + "/out/long.mp4"});
    EXPECT_NE(encoders.exitCode, 0) << "an encoder is left: " << encoders.output;
}

// The dry run's lines, run by GNU parallel, write what the program itself writes.
TEST_F(Convert, ADryRunRunByParallelGivesTheSameFiles) {
    const std::vector<std::string> files = {Source("a.flv"), Source("b.flv"), Source("c.flv")};
    auto arguments = [&](const std::string& out, bool dry) {
        std::vector<std::string> list = {"-p", "88", "-o", out, "--start", "0:00:01"};
        if (dry) list.push_back("--dry-run");
        list.insert(list.end(), files.begin(), files.end());
        return list;
    };
    ASSERT_EQ(RunHere(arguments(app_ + "/ours", false)), 0) << last_.err;
    fs::create_directories(app_ + "/theirs");
    ASSERT_EQ(RunHere(arguments(app_ + "/theirs", true)), 0) << last_.err;
    std::ofstream(app_ + "/commands") << last_.out;
    const auto parallel =
        vxtest::Run({"parallel", "--will-cite", "-j", "2", "-a", app_ + "/commands"});
    ASSERT_EQ(parallel.exitCode, 0) << parallel.output;
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3"}) {
        const auto ours = vxtest::ProbeFile(app_ + "/ours/" + name);
        const auto theirs = vxtest::ProbeFile(app_ + "/theirs/" + name);
        ASSERT_TRUE(ours.ok && theirs.ok) << name;
        EXPECT_EQ(ours.audioCodec, theirs.audioCodec);
        EXPECT_NEAR(ours.duration, theirs.duration, 0.05);
    }
}

} // namespace

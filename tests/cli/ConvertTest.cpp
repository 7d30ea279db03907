// vantorix-convert with the real encoder and player, without a display: the
// program is copied into an application folder of its own, beside links to
// the tools, and run as a user would run it.
#include "CliFixture.h"
#include "CommandLine.h"
#include "Spawn.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fstream>
#include <thread>

namespace {

using namespace vxtest;
using namespace std::chrono_literals;

class Convert : public Cli {
  protected:
    static void SetUpTestSuite() {
        MakeMedia({{"short.flv", {.seconds = 2}},
                   {"long.flv", {.seconds = 60, .width = 640, .height = 480}}});
    }
    // The program started on `arguments`, and `signal` sent a second after the
    // encoders began to write all of `writing`; its status. It must end soon after.
    int Interrupt(int signal, const std::vector<std::string>& arguments,
                  const std::vector<std::string>& writing) {
        std::vector<std::string> command = {program_};
        command.insert(command.end(), arguments.begin(), arguments.end());
        const pid_t pid = vx::Spawn({command, {}});
        if (pid <= 0) {
            ADD_FAILURE() << "not started";
            return -1;
        }
        EXPECT_TRUE(WaitUntil([&] { return std::ranges::all_of(writing, Exists); }, 30s));
        std::this_thread::sleep_for(1s);
        kill(pid, signal);
        const auto sent = std::chrono::steady_clock::now();
        const int status = Reap(pid);
        EXPECT_LT(std::chrono::steady_clock::now() - sent, 10s) << signal;
        return status;
    }
    static bool Exists(const std::string& path) { return fs::exists(path); }
    // Whether an encoder whose command line holds `text` runs.
    static bool Encoding(const std::string& text) {
        return vxtest::Run({"pgrep", "-f", text}).exitCode == 0;
    }
};

// A download cut at 60 %: its line and the summary say it is short, and the
// status is 0, since the output holds all the file has.
TEST_F(Convert, ACutDownloadIsSaidAndIsNoFailure) {
    const std::string bytes = ReadFile(media_ + "/long.flv");
    const std::string cut = app_ + "/cut.flv";
    std::ofstream(cut, std::ios::binary) << bytes.substr(0, bytes.size() * 6 / 10);
    EXPECT_EQ(RunHere({"-p", "95", "-o", app_ + "/out", cut}), 0) << last_.err;
    EXPECT_NE(last_.err.find("cut.flv: Short: The file ends at 0:3"), std::string::npos)
        << last_.err;
    EXPECT_NE(last_.err.find(" of 1:00: it may be an incomplete download.\n"), std::string::npos);
    EXPECT_NE(last_.err.find("0 of 1 files converted, 1 shorter than expected, 0 failed."),
              std::string::npos)
        << last_.err;
    EXPECT_TRUE(ProbeFile(app_ + "/out/cut.mkv").ok);
}

// --join: the files, in the order given, become one output named without
// their part numbers, copied when their streams match.
TEST_F(Convert, JoinedFilesMakeOneOutput) {
    const std::string second = Source("trip_part2.flv"), first = Source("trip_part1.flv");
    EXPECT_EQ(RunHere({"--join", "-p", "95", "-o", app_ + "/out", first, second}), 0) << last_.err;
    EXPECT_NE(last_.err.find("trip_part1.flv + 1 more: OK"), std::string::npos) << last_.err;
    EXPECT_NE(last_.err.find("1 of 1 files converted, 0 failed."), std::string::npos);
    EXPECT_NEAR(DecodedDuration(app_ + "/out/trip.mkv"), 4, 0.5);
    EXPECT_EQ(RunHere({"--join", "-p", "95", first}), 2);
    EXPECT_NE(last_.err.find("--join needs two files or more"), std::string::npos);
    EXPECT_EQ(RunHere({"--join", "--dry-run", "-p", "95", first, second}), 2);
}

// Nothing starts on a usage error, and the error says why. A value only the
// later entries offer, given to one of the first 92 by --set or by a shared
// profile, is among them: it would reach the encoder as several arguments
// ("-b Kept as it is000"), and the encoder would take "as" for an output file
// and cut it.
TEST_F(Convert, UsageErrorsStartNothingAndSayWhy) {
    const ScopedEnvironment config({{"XDG_CONFIG_HOME", app_ + "/config"}});
    fs::create_directories(app_ + "/config/vantorix/profiles");
    std::ofstream(app_ + "/config/vantorix/profiles/Shared.vxprofile")
        << "[Profile]\nbase=84\nname=Shared\n[Options]\nVideo Bitrate=Kept as it is\n";
    const std::string precious = "a file the user keeps\n";
    std::ofstream(app_ + "/as") << precious;
    const std::string file = Source("a.flv");
    const std::string out = app_ + "/out";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"-p", "86", "--frobnicate", file}, "unknown option --frobnicate"},
        {{"-p", "1", "-o", out, file}, "is a heading"},
        {{"-p", "No Such Entry(*.xyz)", file}, "no entry"},
        {{"-p", "86", "--set", "Colour=red", file}, "the option \"Colour\" is unknown"},
        {{"-p", "86", "--set", "Video Codec=theora", "-o", out, file}, "is no value of"},
        {{"-p", "86", "--set", "Quality=Small", file}, "is no value of \"Quality\""},
        {{"-p", "84", "-o", out, "--set", "Video Bitrate=Kept as it is", file},
         "\"Kept as it is\" is no value of \"Video Bitrate\""},
        {{"-p", "84", "-o", out, "--set", "Video Size=Kept as it is", file},
         "\"Kept as it is\" is no value of \"Video Size\""},
        {{"-p", "84", "-o", out, "--set", "Sample Rate=Same as source", file},
         "\"Same as source\" is no value"},
        {{"-p", "84", "-o", out, "--set", "Video Codec=AV1 (SVT-AV1)", file},
         "\"AV1 (SVT-AV1)\" is no value"},
        {{"-p", "Shared", "-o", out, file},
         "Shared.vxprofile is not used: \"Kept as it is\" is no value of \"Video Bitrate\" for "
         "\"Customized AVI Movie(*.avi)\""},
        {{"-p", "86", "-j", "99", file}, "-j needs"},
        {{"-p", "86", "--start", "soon", file}, "--start needs a time"},
        {{"-p", "86", "--start", "100000", file}, "--start needs a time under 24 hours"},
        {{"-p", "86", "--end=24:00:00", file}, "--end needs a time under 24 hours"},
        {{"-p", "86", "--start", "86400", file}, "under 24 hours"},
        {{"-p", "86", "--start", "5", "--end", "3", file}, "--end must come after the start"},
        {{"-p", "86", "--end", "0", file}, "--end must come after the start"},
        {{"-p", "86", "-o", out, app_ + "/missing.flv"}, "missing.flv: no such file"},
        {{"-p", "86"}, "name the files"},
    };
    for (const auto& [arguments, message] : cases) {
        EXPECT_EQ(RunHere(arguments), vx::kExitUsage) << message;
        EXPECT_NE(last_.err.find(message), std::string::npos) << last_.err;
    }
    EXPECT_EQ(ReadFile(app_ + "/as"), precious);
    EXPECT_FALSE(fs::exists(out)); // nothing was started
    // Today's formats take "Quality", and the caption it had before.
    for (const char* quality : {"Quality=Small", "Video Bitrate=Small"}) {
        EXPECT_EQ(RunHere({"-p", "98", "--set", quality, "--dry-run", file}), 0) << last_.err;
        EXPECT_NE(last_.out.find(" -crf 28 "), std::string::npos) << last_.out;
    }
    EXPECT_EQ(RunHere({"--list-profiles"}), 0);
    EXPECT_NE(last_.out.find("86\tCommon Used Video Formats\tCustomized MP4 Movie(*.mp4)\n"),
              std::string::npos);
}

// Ctrl+C, a closed terminal, Ctrl+\\ and a polite kill cancel as the window's
// Cancel does: the encoders are asked to quit (and stopped when they take too
// long), what they wrote goes, an earlier file taken over with --overwrite stays
// byte for byte, and the program ends with 130 well before the encoders would
// (how fast is measured by the benchmarks). A kill that cannot be caught leaves
// the working file at worst, never a file under the final name.
TEST_F(Convert, SignalsCancelAndLeaveNoFileUnderAFinalName) {
    const std::string out = app_ + "/out";
    EXPECT_EQ(Interrupt(SIGINT,
                        {"-p", "86", "-j", "2", "-o", out, Source("one.flv", "long.flv"),
                         Source("two.flv", "long.flv")},
                        {out + "/one.vxpart.mp4", out + "/two.vxpart.mp4"}),
              vx::kExitInterrupted);
    EXPECT_TRUE(fs::is_empty(out)); // no unfinished output left
    EXPECT_FALSE(Encoding(out + "/")) << "an encoder is left";

    const std::string source = Source("long.flv", "long.flv"), final = out + "/long.mp4";
    const std::string working = out + "/long.vxpart.mp4";
    fs::copy_file(media_ + "/short.flv", final);
    const std::string earlier = Sha256(final);
    for (const int signal : {SIGHUP, SIGQUIT, SIGTERM}) {
        EXPECT_EQ(Interrupt(signal, {"-p", "86", "-o", out, "--overwrite", source}, {working}),
                  vx::kExitInterrupted)
            << signal;
        EXPECT_EQ(Sha256(final), earlier) << signal;
        EXPECT_FALSE(fs::exists(working)) << signal;
    }
    fs::remove(final);
    EXPECT_EQ(Interrupt(SIGKILL, {"-p", "86", "-o", out, source}, {working}), 128 + SIGKILL);
    // Its encoder ends with it; what it wrote keeps the working name.
    EXPECT_TRUE(WaitUntil([&] { return !Encoding(out + "/long"); }, 10s, 100ms));
    EXPECT_FALSE(fs::exists(final));
}

// The dry run's lines, run by GNU parallel, write what the program itself
// writes. A name with a line break would run what follows it as a command under
// parallel: its line is left out and said, the other files' lines still run; an
// output folder with a tab in it leaves out every line.
TEST_F(Convert, ADryRunRunByParallelGivesTheSameFilesAndLeavesOutBrokenLines) {
    const std::vector<std::string> files = {Source("a.flv"), Source("b.flv"), Source("c.flv")};
    std::vector<std::string> arguments = {"-p", "88", "--start", "0:00:01", "-o", app_ + "/ours"};
    arguments.insert(arguments.end(), files.begin(), files.end());
    ASSERT_EQ(RunHere(arguments), 0) << last_.err;
    arguments[5] = app_ + "/theirs";
    fs::create_directories(arguments[5]);
    arguments.insert(arguments.begin(), "--dry-run");
    arguments.insert(arguments.end(), {Source("nl\n$(touch INJECTED)x.flv"), Source("bell\a.flv")});
    ASSERT_EQ(RunHere(arguments), 1);
    EXPECT_EQ(std::count(last_.out.begin(), last_.out.end(), '\n'), 3) << last_.out;
    for (const char* said : {"nl\\n$(touch INJECTED)x.flv: left out: its name holds a line break",
                             "bell\\x07.flv: left out"})
        EXPECT_NE(last_.err.find(said), std::string::npos) << last_.err;
    std::ofstream(app_ + "/commands") << last_.out;
    const auto parallel =
        vxtest::Run({"parallel", "--will-cite", "-j", "2", "-a", app_ + "/commands"}, app_);
    ASSERT_EQ(parallel.exitCode, 0) << parallel.output;
    EXPECT_FALSE(fs::exists(app_ + "/INJECTED"));
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3"}) {
        const auto ours = ProbeFile(app_ + "/ours/" + name);
        const auto theirs = ProbeFile(app_ + "/theirs/" + name);
        ASSERT_TRUE(ours.ok && theirs.ok) << name;
        EXPECT_EQ(ours.audioCodec, theirs.audioCodec);
        EXPECT_NEAR(ours.duration, theirs.duration, 0.05);
    }
    ASSERT_EQ(RunHere({"--dry-run", "-p", "88", "-o", app_ + "/tab\tout", files[0]}), 1);
    EXPECT_EQ(last_.out, "");
    EXPECT_NE(last_.err.find("its output name " + app_ + "/tab\\tout/a.mp3"), std::string::npos)
        << last_.err;
}

// Lines nobody receives are no success: a full disk and a closed standard output
// are said, with status 1, for the dry run, the profile list and the help.
TEST_F(Convert, UnwrittenStandardOutputIsAFailure) {
    const std::string file = Source("a.flv");
    const std::vector<std::pair<std::vector<std::string>, std::string>> runs = {
        {{"--dry-run", "-p", "88", "-o", app_ + "/out", file}, "the command lines"},
        {{"--list-profiles"}, "the profile list"},
        {{"--help"}, "the help"},
    };
    for (const char* redirection : {">/dev/full", ">&-"}) {
        for (const auto& [arguments, what] : runs) {
            std::vector<std::string> command = {
                "sh", "-c", std::string("exec \"$0\" \"$@\" ") + redirection, program_};
            command.insert(command.end(), arguments.begin(), arguments.end());
            const auto result = vxtest::Run(command);
            EXPECT_EQ(result.exitCode, 1) << redirection << " " << what << ": " << result.output;
            EXPECT_NE(result.output.find(what + " could not be written to standard output: "),
                      std::string::npos)
                << result.output;
        }
    }
}

// A file that fails fails alone, the status says so, and its line names the
// real cause: a file no player can read, a missing tool and the package that
// brings it. A state folder that cannot be written and an output folder that
// cannot be made are said before anything starts.
TEST_F(Convert, FailuresFailAloneAndNameTheRealCause) {
    const std::string file = Source("a.flv"), broken = app_ + "/broken.flv";
    std::ofstream(broken) << "FLV but nothing a player can read";
    const auto result = vxtest::Run(
        {program_, "-p", "86", "-o", app_ + "/out", "-j", "2", file, Source("b.flv"), broken});
    EXPECT_EQ(result.exitCode, 1) << result.output;
    EXPECT_TRUE(ProbeFile(app_ + "/out/a.mp4").ok);
    EXPECT_TRUE(ProbeFile(app_ + "/out/b.mp4").ok);
    EXPECT_FALSE(fs::exists(app_ + "/out/broken.mp4"));
    EXPECT_NE(result.output.find("broken.flv: Fail: "), std::string::npos) << result.output;
    EXPECT_NE(result.output.find("2 of 3 files converted, 1 failed."), std::string::npos);
    fs::create_directories(app_ + "/tools");
    fs::create_symlink("/usr/bin/mplayer", app_ + "/tools/mplayer");
    for (const auto& [path, says] : {std::pair{app_ + "/tools", "The encoder ffmpeg is not "
                                                                "installed (it is not found on "
                                                                "PATH): install the Debian "
                                                                "package ffmpeg"},
                                     std::pair{app_ + "/none", "The player mplayer is not "
                                                               "installed"}}) {
        ScopedEnvironment only({{"PATH", path}});
        const auto run = vxtest::Run({program_, "-p", "86", "-o", app_ + "/out", file});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.output.find(std::string("a.flv: Fail: ") + says), std::string::npos)
            << run.output;
    }
    std::ofstream(app_ + "/a-file") << "not a folder";
    ScopedEnvironment state({{"XDG_STATE_HOME", app_ + "/a-file"}});
    EXPECT_EQ(RunHere({"-p", "86", "-o", app_ + "/a-file/out", file}), 1);
    for (const std::string& says :
         {"the state folder " + app_ + "/a-file/vantorix cannot be written (Not a directory)",
          "The output folder " + app_ + "/a-file/out cannot be created: Not a directory"})
        EXPECT_NE(last_.err.find(says), std::string::npos) << last_.err;
    EXPECT_EQ(last_.err.find("files converted"), std::string::npos) << last_.err;
}

} // namespace

// vantorix-convert --watch with the real encoder: files that arrive below the
// folder, one of them written slowly, are each converted once and whole, also
// across runs; the record of what was done reads back whatever the names hold.
#include "CliFixture.h"
#include "Spawn.h"
#include "WatchRecord.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <thread>
#include <unistd.h>

namespace {

using namespace vxtest;
using namespace std::chrono_literals;

TEST(WatchRecordText, NamesWithAnyByteReadBackAndDamagedLinesArePassedOver) {
    const std::map<std::string, vx::WatchedFile> files = {
        {"/in/tab\there.flv", {12, 1700000000123456789, "OK"}},
        {"/in/line\nbreak \\ back.flv", {0, 1, "Fail"}},
        {"/in/caf\xe9.flv", {99, 2, "Short"}},
    };
    const std::string text = vx::EncodeWatchRecord(files);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3); // a line per file
    EXPECT_EQ(vx::DecodeWatchRecord(text), files);
    const std::string damaged = "12\tx\tOK\t/a.flv\n5\t6\tOK\n7\t8\tOK\t/b\\q.flv\n\n";
    EXPECT_EQ(vx::DecodeWatchRecord(damaged + text), files); // the damaged lines passed over
}

class Watch : public Cli {
  protected:
    static void SetUpTestSuite() {
        MakeMedia({{"short.flv", {.seconds = 2}}, {"long.flv", {.seconds = 8}}});
    }
    void SetUp() override {
        Cli::SetUp();
        fs::create_directories(in_);
    }

    pid_t Start() {
        const int log = open((app_ + "/log").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        const pid_t pid =
            vx::Spawn({{program_, "-p", "95", "-o", out_, "--watch", in_}, {}, -1, log});
        close(log);
        return pid;
    }
    // Writes the file in pieces with pauses shorter than the quiet time between them.
    static void WriteSlowly(const std::string& from, const std::string& to) {
        const std::string bytes = ReadFile(from);
        std::ofstream file(to, std::ios::binary);
        const std::size_t piece = bytes.size() / 5 + 1;
        for (std::size_t at = 0; at < bytes.size(); at += piece) {
            file.write(bytes.data() + at, std::min(piece, bytes.size() - at));
            file.flush();
            std::this_thread::sleep_for(800ms);
        }
    }
    bool WaitFor(const std::vector<std::string>& names) {
        const auto made = [&](const std::string& name) { return fs::exists(out_ + "/" + name); };
        return WaitUntil([&] { return std::ranges::all_of(names, made); }, 60s, 100ms);
    }
    long Outputs() const {
        return std::ranges::count_if(fs::directory_iterator(out_),
                                     [](const auto& entry) { return entry.is_regular_file(); });
    }

    const std::string in_ = app_ + "/in", out_ = app_ + "/out";
};

TEST_F(Watch, ArrivalsAreConvertedOnceAndWholeAcrossRuns) {
    fs::copy_file(media_ + "/short.flv", in_ + "/early.flv"); // there before the watch
    const pid_t pid = Start();
    ASSERT_GT(pid, 0);
    std::this_thread::sleep_for(500ms);
    fs::create_directories(in_ + "/sub/deeper"); // a folder made while watching
    fs::copy_file(media_ + "/short.flv", in_ + "/sub/deeper/nested.flv");
    std::ofstream(in_ + "/notes.txt") << "not a video";
    WriteSlowly(media_ + "/long.flv", in_ + "/slow.flv");
    ASSERT_TRUE(WaitFor({"early.mkv", "nested.mkv", "slow.mkv"})) << ReadFile(app_ + "/log");
    std::this_thread::sleep_for(3s); // nothing more comes of them
    kill(pid, SIGTERM);
    EXPECT_EQ(Reap(pid), vx::kExitInterrupted);
    EXPECT_EQ(Outputs(), 3) << ReadFile(app_ + "/log");
    EXPECT_NEAR(ProbeFile(out_ + "/slow.mkv").duration, 8.0, 0.3); // whole, not a piece
    const std::string log = ReadFile(app_ + "/log");
    EXPECT_NE(log.find("slow.flv: OK"), std::string::npos) << log;

    // A second run finds every file done; a file that arrives then is converted.
    const pid_t again = Start();
    ASSERT_GT(again, 0);
    fs::copy_file(media_ + "/short.flv", in_ + "/later.flv");
    ASSERT_TRUE(WaitFor({"later.mkv"})) << ReadFile(app_ + "/log");
    std::this_thread::sleep_for(3s);
    kill(again, SIGINT);
    EXPECT_EQ(Reap(again), vx::kExitInterrupted);
    EXPECT_EQ(Outputs(), 4) << ReadFile(app_ + "/log");
}

} // namespace

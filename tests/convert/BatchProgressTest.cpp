// What the batch tells while it runs and after, and rows converted side by
// side, with the real encoder.
#include "BatchFixture.h"

#include <csignal>
#include <fstream>
#include <set>

using namespace vxtest;

namespace {

class Progress : public Batch {};
class SideBySide : public Batch {};

std::vector<int> Distinct(const std::vector<int>& values, int above, int below) {
    std::vector<int> kept;
    for (int v : values)
        if (v > above && v < below && (kept.empty() || kept.back() != v)) kept.push_back(v);
    return kept;
}

} // namespace

// The bars follow what the encoder reports, not a guess: the current-file bar
// rises through many values before 100, and the total bar with it.
TEST_F(Progress, TheBarsFollowTheEncoder) {
    Pick(86); // x264
    sheet_.SetValue(sheet_.Find("Video Options", "Video Size"), "1280x720");
    AddCopies({.seconds = 20, .width = 640, .height = 480}, {"one", "two"});
    Run();
    EXPECT_EQ(Status(0), "OK");
    EXPECT_EQ(Status(1), "OK");
    ASSERT_FALSE(view_.tracks.empty());
    // Each row: from 10 up through at least five values below 95, then 100.
    std::vector<std::vector<int>> perRow(1); // a row's values end where the next starts
    for (int t : view_.tracks) {
        if (!perRow.back().empty() && t < perRow.back().back()) perRow.emplace_back();
        perRow.back().push_back(t);
    }
    for (std::size_t row = 0; row < 2; ++row) {
        SCOPED_TRACE(row);
        const std::vector<int>& values = perRow[row];
        EXPECT_EQ(values.front(), 10);
        EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
        EXPECT_GE(Distinct(values, 10, 95).size(), 5u);
        EXPECT_EQ(values.back(), 100);
    }
    EXPECT_GE(Distinct(view_.totals, 0, 50).size(), 5u); // the first row moves the total too
    EXPECT_TRUE(view_.TotalsPassThrough({50, 100}));
}

// An encoder killed half-way fails its row: what it wrote goes, a file that
// was there stays, and with nothing converted no folder opens and no power-off comes.
TEST_F(Progress, AKilledEncoderLeavesNoHalfWrittenFile) {
    Pick(86);
    sheet_.SetValue(sheet_.Find("Video Options", "Video Size"), "1280x720");
    AddCopies({.seconds = 60, .width = 640, .height = 480}, {"long"});
    Setting("autoshut", "1");
    view_.onPump = [&] {
        const std::string working = out_ + "/long.vxpart.mp4";
        if (fs::exists(working) && fs::file_size(working) > 1000)
            kill(tools_.EncoderProcessId, SIGKILL);
    };
    Run();
    EXPECT_EQ(Status(0), "Fail");
    EXPECT_FALSE(fs::exists(out_ + "/long.mp4") || fs::exists(out_ + "/long.vxpart.mp4"));
    EXPECT_TRUE(view_.folders.empty()); // nothing converted: no folder, no power-off
    EXPECT_EQ(view_.powerOffs, 0);
    Setting("existedfile", "1");
    std::ofstream(out_ + "/long.mp4") << "kept";
    Run();
    EXPECT_EQ(Status(0), "Fail");
    EXPECT_EQ(vxtest::ReadFile(out_ + "/long.mp4"), "kept");
}

// A download cut at 60 %: the index still promises a minute. What the file holds
// is converted and kept, the row ends "Short" and says where the file ends, and
// the end message counts it apart.
TEST_F(Progress, ACutDownloadEndsShort) {
    ASSERT_TRUE(vxtest::MakeFlv(app_ + "/whole.flv", {.seconds = 60, .width = 160, .height = 120}));
    const std::string bytes = vxtest::ReadFile(app_ + "/whole.flv");
    std::ofstream(app_ + "/cut.flv", std::ios::binary) << bytes.substr(0, bytes.size() * 6 / 10);
    Pick(2);
    for (const char* name : {"cut.flv", "whole.flv"})
        rows_.Set(AddFile(app_ + "/" + name, "0:01:00"), kVideoTime, "0:01:00");
    Run();
    EXPECT_EQ(Status(0), "Short");
    const std::string& note = rows_.Row(0).note;
    EXPECT_TRUE(note.starts_with("The file ends at 0:3") &&
                note.ends_with(" of 1:00: it may be an incomplete download."))
        << note;
    EXPECT_NEAR(vxtest::ProbeFile(out_ + "/cut.mp4").duration, 36, 2);
    EXPECT_EQ(Status(1), "OK");
    ASSERT_EQ(view_.messages.size(), 1u);
    EXPECT_EQ(
        view_.messages[0],
        std::pair(BatchMessage::CompletedWithFailures,
                  std::string("Conversion completed!\n1 converted, 1 shorter than expected.")));
    EXPECT_EQ(view_.folders, std::vector<std::string>{out_});
    EXPECT_NE(vxtest::ReadFile(BatchLogPath()).find("Short: " + note), std::string::npos);
}

// Any legal name converts: quotes and a line break in the source's name and
// quotes in the output folder's.
TEST_F(Progress, NamesWithQuotesConvert) {
    Pick(2);
    const std::string folder = app_ + "/my \"best\" videos";
    Setting("outputfolder", folder);
    const std::string source = AddRow("say \"\nhi\".flv");
    Run();
    EXPECT_EQ(Status(0), "OK") << rows_.Row(0).note;
    const auto info = vxtest::ProbeFile(folder + "/say \"\nhi\".mp4");
    EXPECT_TRUE(info.ok);
    EXPECT_NEAR(info.duration, 3.0, 0.5);
}

TEST(BatchCapacity, AutomaticIsAtMostTheCoresPlusOneAndASettingIsKept) {
    EXPECT_EQ(BatchRun::Capacity(0, 8), 9);
    EXPECT_EQ(BatchRun::Capacity(0, 0), 2);
    EXPECT_EQ(BatchRun::Capacity(3, 8), 3);
    EXPECT_EQ(BatchRun::Capacity(1, 16), 1);
    EXPECT_EQ(BatchRun::Capacity(40, 2), 16);
}

// With three at once: never more, and three do run together; every row ends
// OK; two sources of one name get two outputs.
TEST_F(SideBySide, ThreeAtOnce) {
    Setting("parallel", "3");
    Pick(2);
    fs::create_directories(app_ + "/other");
    AddCopies({.seconds = 10, .width = 640, .height = 480}, {"a", "b", "c", "d", "e", "other/a"});
    int most = 0, wakes = 0;
    view_.onPump = [&] {
        ++wakes;
        most = std::max(most, vxtest::ChildProcesses());
    };
    const auto started = std::chrono::steady_clock::now();
    Run();
    // The run sleeps until an encoder ends or the bars are due; it never spins.
    const auto lasted = std::chrono::steady_clock::now() - started;
    EXPECT_LE(wakes,
              lasted / std::chrono::milliseconds(BatchRun::kRefreshMilliseconds) + 2 * 6 + 2);
    EXPECT_EQ(most, 3);
    EXPECT_EQ(batch_.MostAtOnce(), 3);
    for (int row = 0; row < 6; ++row)
        EXPECT_EQ(Status(row), "OK") << row;
    for (const char* name : {"a", "b", "c", "d", "e", "a_New"})
        EXPECT_NEAR(vxtest::ProbeFile(out_ + "/" + name + ".mp4").duration, 10, 0.5) << name;
    ASSERT_EQ(view_.messages.size(), 1u);
    EXPECT_EQ(view_.messages[0].first, BatchMessage::Completed);
}

// Cancel stops every running encoder; a failing row among running ones fails
// alone; one at a time is the plain run.
TEST_F(SideBySide, CancelFailureAndOneAtATime) {
    Setting("parallel", "3");
    Pick(2); // MPEG-4 keeps no frames in hand: it ends at once on Q
    AddCopies({.seconds = 60, .width = 640, .height = 480}, {"a", "b", "c", "d"});
    std::chrono::steady_clock::time_point cancelled{};
    view_.onPump = [&] {
        if (vxtest::ChildProcesses() == 3 && cancelled == decltype(cancelled){}) {
            cancelled = std::chrono::steady_clock::now();
            batch_.RequestCancel();
        }
    };
    Run();
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(Status(row), "Cancel") << row;
    EXPECT_EQ(Status(3), "");
    while (vxtest::ChildProcesses() > 0 && std::chrono::steady_clock::now() - cancelled < 1s)
        std::this_thread::sleep_for(10ms);
    EXPECT_EQ(vxtest::ChildProcesses(), 0) << "encoders still running a second after the cancel";

    rows_.Clear();
    view_.onPump = {};
    Pick(2);
    sheet_.SetValue(sheet_.Find("Video Options", "Video Size"), "320x240");
    AddRow("x.flv");
    AddBrokenRow("y.flv");
    AddRow("z.flv");
    Run();
    EXPECT_EQ(Status(0), "OK");
    EXPECT_EQ(Status(1), "Fail");
    EXPECT_EQ(Status(2), "OK");

    Setting("parallel", "1");
    Setting("existedfile", "1");
    std::vector<std::string> commands{batch_.LastCommandLine()}; // the last run's, dropped below
    view_.onPump = [&] {
        if (commands.empty() || commands.back() != batch_.LastCommandLine())
            commands.push_back(batch_.LastCommandLine());
    };
    Run();
    commands.erase(commands.begin());
    EXPECT_EQ(batch_.MostAtOnce(), 1);
    ASSERT_EQ(commands.size(), 3u);
    EXPECT_NE(commands[0].find("\"" + out_ + "/x.vxpart.mp4\""), std::string::npos);
    EXPECT_NE(commands[2].find("\"" + out_ + "/z.vxpart.mp4\""), std::string::npos);
}

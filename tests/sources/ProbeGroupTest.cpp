// Several files probed by one player run, with the real player: each file gets
// what a run of its own gives, whatever its neighbours are.
#include "ProbeGroup.h"
#include "Probe.h"
#include "TestMedia.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>

using namespace vx;
namespace fs = std::filesystem;

namespace {

const std::string kAppFolder = std::string(VX_APP_DIR) + "/";

// The row a report gives, every field that the probe writes.
std::string RowOf(const std::string& path, const std::string& report) {
    SourceList list;
    const std::uint64_t id = list.Append(path);
    FillRow(list, id, report);
    const SourceItem& row = list.Row(0);
    std::string text;
    for (const std::string& column : row.columns)
        text += column + "|";
    return text + row.unreadable + "|" + row.audioFormat;
}

// Each file's row from one group run, checking that every file is told once.
std::map<std::string, std::string> GroupRows(const std::string& appFolder,
                                             const std::vector<std::string>& files,
                                             const ProbeControl& control = {}) {
    std::map<std::string, std::string> rows;
    std::vector<int> told(files.size(), 0);
    RunIdentifyGroup(appFolder, files, control, [&](std::size_t file, std::string output) {
        ++told.at(file);
        rows[files[file]] = RowOf(files[file], output);
    });
    EXPECT_EQ(told, std::vector<int>(files.size(), 1));
    return rows;
}

class ProbeGroup : public ::testing::Test {
  protected:
    std::string Flv(const std::string& name, const vxtest::FlvSpec& spec) {
        const std::string path = folder_ + "/" + name;
        EXPECT_TRUE(vxtest::MakeFlv(path, spec)) << name;
        return path;
    }
    const vxtest::TempFolder temp_{"vx-probe-group"};
    const std::string& folder_ = temp_.path;
};

} // namespace

TEST_F(ProbeGroup, EachFileOfAGroupGetsWhatARunOfItsOwnGives) {
    const std::string good = Flv("good.flv", {.seconds = 3});
    std::vector<std::string> files = {
        good,
        Flv("small.flv", {.seconds = 5.6, .width = 176, .height = 144}),
        Flv("sound only.flv", {.seconds = 4, .video = false}),
        Flv("boxed.flv", {.seconds = 2,
                          .picture = "color=black:size=320x240:rate=25,"
                                     "drawbox=x=0:y=40:w=320:h=160:c=white:t=fill"}),
        Flv("h264.flv", {.seconds = 2, .videoCodec = "libx264", .audioCodec = "aac"}),
        Flv("Playing good.flv.", {.seconds = 2, .width = 160, .height = 120}),
        Flv("-dash.flv", {.seconds = 2}),
        Flv("odd \xff\xfe bytes \xc3\xa9.flv", {.seconds = 2}),
        Flv("two\nlines.flv", {.seconds = 2}),
        Flv("noext", {.seconds = 2}),
    };
    const std::string bytes = vxtest::ReadFile(good);
    std::ofstream(folder_ + "/damaged.flv", std::ios::binary) << bytes.substr(0, bytes.size() / 3);
    std::ofstream(folder_ + "/empty.flv").close();
    ASSERT_EQ(mkfifo((folder_ + "/fifo.flv").c_str(), 0644), 0);
    fs::create_directories(folder_ + "/folder.flv");
    for (const char* other : {"damaged.flv", "empty.flv", "fifo.flv", "folder.flv", "gone.flv"})
        files.insert(files.begin() + 3, folder_ + "/" + other);
    files.push_back(good); // the same file twice
    ASSERT_EQ(files.size(), kProbeGroupSize);

    const auto rows = GroupRows(kAppFolder, files);
    for (const std::string& file : files)
        EXPECT_EQ(rows.at(file), RowOf(file, RunIdentify(kAppFolder, file, {}))) << file;
    // The values are real ones, not two empty rows alike.
    EXPECT_NE(rows.at(good).find("|0:00:03|320x240|FLV1|"), std::string::npos) << rows.at(good);
    EXPECT_NE(rows.at(files[2]).find("|0:00:04|"), std::string::npos) << rows.at(files[2]);
    EXPECT_EQ(vxtest::ChildProcesses(), 0);
    EXPECT_TRUE(fs::is_fifo(folder_ + "/fifo.flv")); // nothing of the user's is touched
}

// A player that stops printing in the middle of a group, or dies there: the
// file it was on is given up (a stall) or asked again alone (a crash), and the
// files after it are probed one at a time with their own values.
TEST_F(ProbeGroup, ARunThatStallsOrDiesFallsBackToSingleRuns) {
    std::vector<std::string> files;
    for (int i = 0; i < 4; ++i)
        files.push_back(Flv("f" + std::to_string(i) + ".flv",
                            {.seconds = 2.0 + i, .width = 160 + 16 * i, .height = 120}));
    for (const std::string ending : {"exec sleep 30", "kill -SEGV $$"}) {
        SCOPED_TRACE(ending);
        const vxtest::TempFolder app("vx-probe-fake");
        // Real for one file at a time; over several, the first file's line and then the ending.
        std::ofstream(app.path + "/mp.dll")
            << "#!/bin/sh\nif [ $# -gt 10 ]; then printf 'Playing %s.\\n' \"${10}\"; " << ending
            << "; fi\nexec '" << kAppFolder << "mp.dll' \"$@\"\n";
        fs::permissions(app.path + "/mp.dll", fs::perms::owner_all);
        ProbeControl control;
        control.stallLimit = std::chrono::milliseconds(700);
        const auto rows = GroupRows(app.path + "/", files, control);
        const bool stalled = ending.starts_with("exec"); // the first file given up
        for (const std::string& f : files)
            EXPECT_EQ(rows.at(f),
                      RowOf(f, stalled && f == files[0] ? "" : RunIdentify(kAppFolder, f, {})));
        EXPECT_EQ(vxtest::ChildProcesses(), 0);
    }
}

// The report is cut at the line of each file in turn: a name met again later,
// or a line that only begins like one, belongs to the file being read.
TEST(GroupReportSplitter, CutsAtEachFilesOwnLineInOrder) {
    GroupReportSplitter splitter({"/t/0.flv", "/t/1.flv", "/t/0.flv"});
    EXPECT_TRUE(splitter
                    .Feed("banner\n\nPlaying /t/0.flv.\nID_A=1\nPlaying /t/1.flv.x\n"
                          "Playing /t/0.flv.\nPlaying /t/1.fl")
                    .empty());
    EXPECT_EQ(splitter.Reached(), 1u);
    EXPECT_EQ(splitter.Feed("v.\r\nID_B=2\n\nPlaying /t/0.flv.\nID_C=3\n"),
              (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(splitter.Reached(), 3u);
    EXPECT_EQ(splitter.Report(0), "ID_A=1\nPlaying /t/1.flv.x\nPlaying /t/0.flv.\n");
    EXPECT_EQ(splitter.Report(1), "\nID_B=2\n\n");
    EXPECT_EQ(splitter.Report(2), "ID_C=3\n");
}

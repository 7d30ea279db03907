#include "Probe.h"
#include "SourceList.h"
#include "StreamFormats.h"

#include <gtest/gtest.h>

using namespace vx;

namespace {

// A report as mplayer writes it on Linux: line feeds, status lines ended by ESC [ J and CR.
const char* kReport =
    "MPlayer 1.5 (Debian), built with gcc-12 (C) 2000-2022 MPlayer Team\n"
    "ID_VIDEO_ID=0\n"
    "ID_FILENAME=/tmp/a=b.flv\n"
    "ID_VIDEO_FORMAT=FLV1\n"
    "ID_VIDEO_WIDTH=320\n"
    "ID_VIDEO_HEIGHT=240\n"
    "ID_LENGTH=7.40\n"
    "V:   0.0   1/  1 ??% ??% ??,?% 0 0 \x1b[J\rV:   0.1   3/  3 ??% ??% ??,?% 0 0 \x1b[J\r"
    "ID_EXIT=EOF\n";

} // namespace

TEST(IdentifyReport, ReadsTheFourKeys) {
    const IdentifyReport report = ParseIdentifyReport(kReport);
    EXPECT_EQ(report.width, 320);
    EXPECT_EQ(report.height, 240);
    ASSERT_TRUE(report.length);
    EXPECT_DOUBLE_EQ(*report.length, 7.4);
    EXPECT_EQ(report.format, "FLV1");
    EXPECT_FALSE(report.failed);
}

TEST(IdentifyReport, KeysAreExactTheLastWinsAndExtraEqualsCut) {
    const IdentifyReport report = ParseIdentifyReport(
        "id_length=99\r\nID_LENGTH=125.4\r\nID_VIDEO_FORMAT=avc1=x\r\nID_LENGTH=12\r\n"
        "ID_VIDEO_WIDTHX=5\r\nID_VIDEO_WIDTH=640\r\nID_VIDEO_WIDTH=320\r\n");
    EXPECT_DOUBLE_EQ(*report.length, 12);
    EXPECT_EQ(report.format, "avc1");
    EXPECT_EQ(report.width, 320);
    EXPECT_EQ(report.height, 0);
}

TEST(IdentifyReport, ABadWidthStopsTheReadingThere) {
    const IdentifyReport report =
        ParseIdentifyReport("ID_LENGTH=3\nID_VIDEO_WIDTH=wide\nID_VIDEO_FORMAT=FLV1\n");
    EXPECT_TRUE(report.failed);
    EXPECT_DOUBLE_EQ(*report.length, 3);
    EXPECT_FALSE(report.format);
    EXPECT_TRUE(ParseIdentifyReport("ID_VIDEO_HEIGHT=1e12\n").failed);
    EXPECT_EQ(ParseIdentifyReport("ID_VIDEO_HEIGHT=239.6\n").height, 240);
}

TEST(IdentifyReport, EmptyOutputFindsNothing) {
    const IdentifyReport report = ParseIdentifyReport("");
    EXPECT_EQ(report.width, 0);
    EXPECT_FALSE(report.length);
    EXPECT_FALSE(report.format);
    EXPECT_EQ(ParseIdentifyReport("ID_LENGTH=abc\n").length, 0.0);
}

TEST(SplitLines, SplitsAtLineFeedsAndCarriageReturns) {
    EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_TRUE(SplitLines("\r\n\n").empty());
}

TEST(IdentifyCommand, IsTheDesignedLineWithTheToolQuoted) {
    EXPECT_EQ(IdentifyCommandLine("/opt/my vx/", "/m/a b.flv"),
              "\"/opt/my vx/mp.dll\" -identify -benchmark -nosound -vo null -vf cropdetect "
              "-endpos 1 \"/m/a b.flv\"");
}

TEST(DropRule, LooksAtTheLastThreeCharactersOnly) {
    EXPECT_TRUE(IsFlvName("/m/a.flv"));
    EXPECT_TRUE(IsFlvName("/m/a.FLV"));
    EXPECT_TRUE(IsFlvName("/m/a.Flv"));
    EXPECT_TRUE(IsFlvName("/m/aflv"));
    EXPECT_FALSE(IsFlvName("/m/b.avi"));
    EXPECT_FALSE(IsFlvName("/m/a.flv.mp4"));
    EXPECT_FALSE(IsFlvName("fl"));
}

TEST(DialogSelection, KeepsTheDialogsOrder) {
    const SelectedFiles one = ParseDialogSelection({"/a.flv"});
    EXPECT_EQ(one.Count, 1);
    EXPECT_EQ(one.Folder, "/");
    EXPECT_EQ(one.Names, std::vector<std::string>{"a.flv"});
    const SelectedFiles three = ParseDialogSelection({"/m/c.flv", "/m/a.flv", "/m/b.flv"});
    EXPECT_EQ(three.Count, 3);
    EXPECT_EQ(three.Folder, "/m/");
    EXPECT_EQ(three.Names, (std::vector<std::string>{"c.flv", "a.flv", "b.flv"}));
    EXPECT_EQ(ParseDialogSelection({}).Count, 0);
}

TEST(SourceList, RowsKeepTheirIdsWhileOthersGo) {
    SourceList list;
    const auto a = list.Append("/a.flv");
    const auto b = list.Append("/b.flv");
    const auto c = list.Append("/c.flv");
    list.Set(c, kStatus, "OK");
    EXPECT_TRUE(list.Remove(list.RowOf(b)));
    EXPECT_EQ(list.RowOf(c), 1);
    EXPECT_EQ(list.At(1, kStatus), "OK");
    EXPECT_EQ(list.RowOf(b), -1);
    EXPECT_FALSE(list.Set(b, kEnd, "0:00:01")); // a removed row is left alone
    EXPECT_FALSE(list.Remove(-1));
    EXPECT_FALSE(list.Remove(5));
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.RowOf(a), -1);
}

// One clear can be undone: the rows come back whole, with their ids, before the
// rows added since; clearing an empty list keeps what there is to undo.
TEST(SourceList, AClearIsUndoneOnce) {
    SourceList list;
    const auto a = list.Append("/a.flv");
    list.Set(a, kEnd, "0:00:09");
    list.SetNote(a, "why it failed");
    list.Append("/b.flv");
    const SourceItem kept = list.Row(0);
    int resets = 0;
    SourceList::Listener listener;
    listener.afterReset = [&] { ++resets; };
    list.SetListener(listener);
    EXPECT_FALSE(list.UndoClear());
    list.Clear();
    list.Clear();
    const auto later = list.Append("/later.flv");
    EXPECT_TRUE(list.UndoClear());
    EXPECT_EQ(resets, 2);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Row(0).columns, kept.columns);
    EXPECT_EQ(list.Row(0).note, kept.note);
    EXPECT_EQ(list.At(1, kFileName), "/b.flv");
    EXPECT_EQ(list.RowOf(later), 2);
    EXPECT_TRUE(list.Set(a, kStatus, "OK")); // a probe or batch still finds its row
    EXPECT_FALSE(list.UndoClear());
    EXPECT_EQ(list.Count(), 3);
}

// Without sound output the report names the sound by its decoder only.
TEST(IdentifyReport, KeepsTheSoundFormatAndTellsTheStreamsInWords) {
    IdentifyReport report = ParseIdentifyReport(
        "[lavf] stream 0: video (h264), -vid 0\n[lavf] stream 1: audio (mp3float), -aid 0\n"
        "[lavf] stream 2: audio (aac), -aid 1\nID_VIDEO_FORMAT=H264\n");
    EXPECT_EQ(report.audioFormat, "mp3float");
    report = ParseIdentifyReport("ID_AUDIO_FORMAT=MP4A\n[lavf] stream 1: audio (aac), -aid 0\n");
    EXPECT_EQ(report.audioFormat, "MP4A");
    EXPECT_FALSE(ParseIdentifyReport(kReport).audioFormat);
    SourceList list;
    const auto id = list.Append("/a.flv");
    FillRow(list, id, "ID_VIDEO_FORMAT=H264\n[lavf] stream 1: audio (aac), -aid 0\n");
    EXPECT_EQ(DescribeStreams({list.At(0, kFormat), list.Row(0).audioFormat}),
              "H.264 video, AAC sound");
    EXPECT_EQ(DescribeStreams({"FLV1", "85"}), "Sorenson Spark video, MP3 sound");
    EXPECT_EQ(DescribeStreams({"VP6F", ""}), "VP6 video, no sound");
    EXPECT_EQ(DescribeStreams({}), "");
}

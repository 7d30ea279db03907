// Parts joined into one output with the real encoder: without decoding when an
// entry copies the streams and the parts match, through the entry's own
// encoding otherwise; each part's clip kept.
#include "BatchFixture.h"
#include "JoinCommand.h"
#include "TimeText.h"

#include <algorithm>
#include <numeric>
#include <tuple>

using namespace vxtest;

namespace {

class Join : public Batch {
  protected:
    void AddParts(const std::vector<std::string>& names, const FlvSpec& spec) {
        for (const std::string& name : names) {
            ASSERT_TRUE(MakeFlv(app_ + "/" + name, spec));
            const std::string length = TimeText(static_cast<int>(spec.seconds));
            const auto id = AddFile(app_ + "/" + name, length);
            rows_.Set(id, kVideoTime, length);
            rows_.Set(id, kSize, std::to_string(spec.width) + "x" + std::to_string(spec.height));
            rows_.Set(id, kFormat, spec.videoCodec == "libx264" ? "H264" : "FLV1");
            rows_.SetAudioFormat(id, spec.audioCodec == "aac" ? "MP4A" : "nellymoser");
        }
    }
    void JoinAll() {
        std::vector<int> all(static_cast<std::size_t>(rows_.Count()));
        std::iota(all.begin(), all.end(), 0);
        ASSERT_NE(rows_.Join(all), 0u);
    }
    // Trims the second row's first second and the third row's last.
    void TrimParts() {
        rows_.SetAt(1, kStart, "0:00:01");
        rows_.SetAt(2, kEnd, "0:00:03");
    }
    bool WorkFoldersLeft() const {
        return std::ranges::any_of(fs::directory_iterator(app_ + "/state/vantorix"), [](auto& e) {
            return e.path().filename().string().starts_with("join-");
        });
    }
    // H.264/AAC parts of four seconds, a key frame every second.
    const FlvSpec h264_{.seconds = 4,
                        .width = 160,
                        .height = 120,
                        .videoCodec = "libx264",
                        .audioCodec = "aac",
                        .keyInterval = 25};
};

} // namespace

TEST_F(Join, MatchingPartsJoinWithoutDecoding) {
    AddParts({"concert_part1.flv", "concert_part2.flv", "concert_part3.flv", "concert_part4.flv"},
             h264_);
    TrimParts();
    JoinAll();
    ASSERT_EQ(rows_.Count(), 1);
    EXPECT_EQ(JoinedName(rows_.Row(0)), "concert_part1.flv + 3 more");
    EXPECT_EQ(rows_.At(0, kEnd), "0:00:14");
    Pick(94); // the same streams in MP4
    Run();
    EXPECT_EQ(Status(0), "OK") << rows_.Row(0).note;
    const std::string output = out_ + "/concert.mp4";
    const auto info = ProbeFile(output);
    EXPECT_EQ(info.videoCodec + " " + info.audioCodec + " " + std::to_string(info.width),
              "h264 aac 160");
    EXPECT_NEAR(DecodedDuration(output), 4 + 3 + 3 + 4, 0.6);
    const std::string command = batch_.LastCommandLine();
    EXPECT_NE(command.find("\"-f\" \"concat\" \"-safe\" \"0\""), std::string::npos) << command;
    EXPECT_NE(command.find("\"-c\" \"copy\""), std::string::npos) << command;
    EXPECT_FALSE(WorkFoldersLeft());
    EXPECT_EQ(view_.messages.at(0).second, "Conversion completed!");

    // Names with a quote and a line break reach the encoder's list safely; names
    // that differ by more than a number name the output after the first part.
    rows_.Clear();
    AddParts({"it's one.flv", "line\nbreak.flv"}, h264_);
    JoinAll();
    Run();
    EXPECT_EQ(Status(0), "OK") << rows_.Row(0).note;
    EXPECT_NEAR(DecodedDuration(out_ + "/it's one.mp4"), 8, 0.6);
    EXPECT_FALSE(WorkFoldersLeft());

    // Split Into Parts gives the rows back as they were, trims included.
    AddParts({"a1.flv", "a2.flv"}, h264_);
    rows_.SetAt(1, kStart, "0:00:02");
    ASSERT_NE(rows_.Join({1, 2}), 0u);
    ASSERT_TRUE(rows_.Split(1));
    ASSERT_EQ(rows_.Count(), 3);
    EXPECT_EQ(rows_.At(1, kFileName), app_ + "/a1.flv");
    EXPECT_EQ(rows_.At(1, kStart), "0:00:02");
    EXPECT_EQ(rows_.At(2, kFileName), app_ + "/a2.flv");
}

TEST_F(Join, DifferingPartsGoThroughTheEntry) {
    AddParts({"show_part1.flv", "show_part2.flv"}, h264_);
    AddParts({"show_part3.flv"},
             {.seconds = 4, .width = 320, .height = 180, .audioCodec = "nellymoser"});
    AddParts({"show_part4.flv"}, h264_);
    TrimParts();
    JoinAll();
    Pick(2); // MPEG-4 in a 320x240 frame
    Run();
    EXPECT_EQ(Status(0), "OK") << rows_.Row(0).note;
    const std::string output = out_ + "/show.mp4";
    const auto info = ProbeFile(output);
    EXPECT_EQ(std::tuple(info.width, info.height, info.audioCodec.empty()),
              std::tuple(320, 240, false));
    EXPECT_NEAR(DecodedDuration(output), 4 + 3 + 3 + 4, 0.6);
    EXPECT_NE(batch_.LastCommandLine().find("concat=n=4:v=1:a=1"), std::string::npos);

    // A copying entry whose parts differ encodes them to join them, and says so.
    Pick(94);
    Run();
    EXPECT_EQ(Status(0), "OK") << rows_.Row(0).note;
    EXPECT_NE(rows_.Row(0).note.find("encoded again to be joined"), std::string::npos);
    const std::string again = out_ + "/show_New.mp4";
    EXPECT_EQ(ProbeFile(again).width, 160);
    EXPECT_NEAR(DecodedDuration(again), 4 + 3 + 3 + 4, 0.6);
}

// The list the concat reader takes, and the joined output's name.
TEST(JoinNames, ListQuotingAndPartNumbers) {
    EXPECT_EQ(ConcatListText({{"/a/it's.flv", 0, std::nullopt}, {"/b/c.flv", 2, 5}}),
              "ffconcat version 1.0\nfile '/a/it'\\''s.flv'\nfile '/b/c.flv'\ninpoint 2\n"
              "outpoint 5\n");
    EXPECT_EQ(JoinedSourceName({"/v/concert_part1.flv", "/v/concert_part2.flv"}), "/v/concert.flv");
    EXPECT_EQ(JoinedSourceName({"/v/trip-part9.flv", "/v/trip-part10.flv"}), "/v/trip.flv");
    EXPECT_EQ(JoinedSourceName({"/v/clip 1 (hd).flv", "/v/clip 2 (hd).flv"}), "/v/clip (hd).flv");
    EXPECT_EQ(JoinedSourceName({"/v/part1.flv", "/v/part2.flv"}), "/v/part1.flv");
    EXPECT_EQ(JoinedSourceName({"/v/intro.flv", "/v/main.flv"}), "/v/intro.flv");
}

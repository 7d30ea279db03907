// Files without a picture, files the player cannot read, and trimmed sound,
// from the probe that adds them to the files the batch writes.
#include "BatchFixture.h"
#include "Probe.h"

using namespace vxtest;

class Sources : public Batch {
  protected:
    void SetUp() override {
        Batch::SetUp();
        fs::create_symlink(std::string(VX_APP_DIR) + "/mp.dll", app_ + "/mp.dll");
    }
    void Probe(const std::string& name) { AddSourceFile(rows_, app_ + "/", app_ + "/" + name, {}); }
    void Clip(const char* start, const char* end) {
        rows_.SetAt(0, kStart, start);
        rows_.SetAt(0, kEnd, end);
    }
};

TEST_F(Sources, ASoundOnlyFlvIsConvertedToSoundAndRefusedByVideoEntries) {
    ASSERT_TRUE(MakeFlv(app_ + "/talk.flv", {.seconds = 5, .video = false}));
    Probe("talk.flv");
    EXPECT_EQ(rows_.At(0, kSize), "sound only");
    EXPECT_EQ(rows_.At(0, kEnd), "0:00:05");
    Pick(88);
    Run();
    EXPECT_NEAR(DecodedDuration(out_ + "/talk.mp3"), 5.0, 0.2) << rows_.Row(0).note;
    Clip("0:00:01", "0:00:03");
    Pick(89);
    Run();
    EXPECT_NEAR(DecodedDuration(out_ + "/talk.ogg"), 2.0, 0.2) << rows_.Row(0).note;
    Pick(2);
    Run();
    EXPECT_EQ(rows_.Row(0).note, "This file has no picture: choose an audio profile.");
}

TEST_F(Sources, ADamagedFlvIsMarkedWhenAddedAndSkippedAtConvert) {
    ASSERT_TRUE(MakeFlv(app_ + "/good.flv", {.seconds = 2}));
    std::string bytes = ReadFile(app_ + "/good.flv");
    for (std::size_t i = 13; i < 4000; ++i) // all but the file's header
        bytes[i] = static_cast<char>(bytes[i] * 7 + 13);
    std::ofstream(app_ + "/damaged.flv", std::ios::binary) << bytes;
    Probe("damaged.flv");
    Probe("good.flv");
    EXPECT_EQ(Status(0), "Unreadable");
    const std::string reason = rows_.Row(0).note;
    EXPECT_NE(reason.find("could not read this file"), std::string::npos);
    Pick(2);
    Run();
    EXPECT_EQ(Status(0) + ": " + rows_.Row(0).note, "Fail: " + reason);
    EXPECT_EQ(view_.messages.at(0).second,
              "Conversion completed!\n1 converted, 1 failed.\n\ndamaged.flv: " + reason);
    EXPECT_EQ(ReadFile(BatchLogPath()).find("damaged.flv\" "), std::string::npos); // no encoder
}

// The sound starts at 0:00:02: a clip from there lasts its length and begins
// loud; the whole file keeps the designed command.
TEST_F(Sources, EveryAudioEntryConvertsTheClip) {
    ASSERT_TRUE(MakeFlv(app_ + "/late.flv",
                        {.seconds = 6, .sound = "aevalsrc='if(gte(t,2),sin(2*PI*440*t),0)'"}));
    rows_.Append(app_ + "/late.flv");
    rows_.SetAt(0, kVideoTime, "0:00:06");
    Setting("existedfile", "1");
    for (int position = 88; position <= 92; ++position) {
        Pick(position);
        Clip("0:00:02", "0:00:04");
        Run();
        const std::string output = out_ + "/late" + *OutputExtension(view_.SelectedText());
        EXPECT_NEAR(DecodedDuration(output), 2.0, 0.2) << position << rows_.Row(0).note;
        const std::string opening = vxtest::Run({"ffmpeg", "-i", output, "-t", "0.3", "-af",
                                                 "volumedetect", "-f", "null", "-"})
                                        .output;
        const std::size_t at = opening.find("mean_volume:");
        EXPECT_GT(at == std::string::npos ? -200 : std::atof(opening.c_str() + at + 12), -20.0);
        Clip("0:00:00", "0:00:06");
        Run();
        EXPECT_EQ(batch_.LastCommandLine().find(" -ss "), std::string::npos);
    }
}

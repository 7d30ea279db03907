// Files without a picture, files the player cannot read, and trimmed sound,
// from the probe that adds them to the files the batch writes.
#include "BatchFixture.h"
#include "Probe.h"

namespace {

using namespace vxtest;

// The mean loudness of the first 0.3 s of a file, in dB.
double OpeningLoudness(const std::string& path) {
    const auto run = Run({"ffmpeg", "-nostdin", "-i", path, "-t", "0.3", "-af", "volumedetect",
                          "-f", "null", "-"});
    const auto at = run.output.find("mean_volume:");
    return at == std::string::npos ? -200 : std::atof(run.output.c_str() + at + 12);
}

class Sources : public Batch {
  protected:
    void SetUp() override {
        Batch::SetUp();
        fs::create_symlink(std::string(VX_APP_DIR) + "/mp.dll", app_ + "/mp.dll");
    }
    // Adds the file as the Add Files command does: a row filled by the player's report.
    int Probe(const std::string& path) {
        AddSourceFile(rows_, app_ + "/", path, {});
        return rows_.Count() - 1;
    }
    std::string Output(const char* name) { return out_ + "/" + name; }
};

} // namespace

TEST_F(Sources, ASoundOnlyFlvIsConvertedByEveryAudioEntryAndRefusedByVideoOnes) {
    const std::string path = app_ + "/talk.flv";
    ASSERT_TRUE(MakeFlv(path, {.seconds = 5, .video = false}));
    const int row = Probe(path);
    EXPECT_EQ(rows_.At(row, kSize), "sound only");
    EXPECT_EQ(rows_.At(row, kEnd), "0:00:05");
    EXPECT_EQ(rows_.At(row, kVideoTime), "0:00:05");
    EXPECT_EQ(Status(row), "");

    Pick(88);
    Run();
    ASSERT_EQ(Status(row), "OK") << rows_.Row(row).note;
    EXPECT_NEAR(DecodedDuration(Output("talk.mp3")), 5.0, 0.2);

    rows_.SetAt(row, kStart, "0:00:01");
    rows_.SetAt(row, kEnd, "0:00:03");
    Pick(89);
    Run();
    ASSERT_EQ(Status(row), "OK") << rows_.Row(row).note;
    EXPECT_NEAR(DecodedDuration(Output("talk.ogg")), 2.0, 0.2);

    Pick(2);
    Run();
    EXPECT_EQ(Status(row), "Fail");
    EXPECT_EQ(rows_.Row(row).note, "This file has no picture: choose an audio profile.");
    EXPECT_FALSE(fs::exists(Output("talk.mp4")));
}

TEST_F(Sources, ADamagedFlvIsMarkedWhenAddedAndSkippedAtConvert) {
    const std::string good = app_ + "/good.flv", damaged = app_ + "/damaged.flv";
    ASSERT_TRUE(MakeFlv(good, {.seconds = 2}));
    std::string bytes = ReadFile(good);
    for (std::size_t i = 13; i < 4000 && i < bytes.size(); ++i) // all but the file header
        bytes[i] = static_cast<char>(bytes[i] * 7 + 13);
    std::ofstream(damaged, std::ios::binary) << bytes;
    const int bad = Probe(damaged);
    Probe(good);
    EXPECT_EQ(Status(bad), "Unreadable");
    EXPECT_NE(rows_.Row(bad).note.find("could not read this file"), std::string::npos);
    EXPECT_EQ(Status(1), "");

    Pick(2);
    Run();
    EXPECT_EQ(Status(bad), "Fail");
    EXPECT_NE(rows_.Row(bad).note.find("could not read this file"), std::string::npos);
    EXPECT_EQ(Status(1), "OK");
    ASSERT_EQ(view_.messages.size(), 1u);
    EXPECT_EQ(view_.messages[0].second, "Conversion completed!\n1 of 2 files converted, 1 failed.");
    const std::string log = ReadFile(BatchLogPath());
    EXPECT_EQ(log.find("damaged.flv\" "), std::string::npos); // no encoder was started for it
}

// Sound that starts at 0:00:02: a clip from there begins loud.
TEST_F(Sources, EveryAudioEntryConvertsTheClipAndTheWholeFileAsDesigned) {
    const std::string path = app_ + "/late.flv";
    ASSERT_TRUE(MakeFlv(path, {.seconds = 6,
                               .sound = "aevalsrc=exprs='if(gte(t,2),0.5*sin(2*PI*440*t),0)':"
                                        "s=44100"}));
    rows_.Append(path);
    rows_.SetAt(0, kVideoTime, "0:00:06");
    Setting("existedfile", "1");
    for (int position = 88; position <= 92; ++position) {
        SCOPED_TRACE(position);
        Pick(position);
        rows_.SetAt(0, kStart, "0:00:02");
        rows_.SetAt(0, kEnd, "0:00:04");
        Run();
        ASSERT_EQ(Status(0), "OK") << rows_.Row(0).note;
        const std::string output = Output("late") + *OutputExtension(view_.SelectedText());
        EXPECT_NEAR(DecodedDuration(output), 2.0, 0.2);
        EXPECT_GT(OpeningLoudness(output), -30.0);

        rows_.SetAt(0, kStart, "0:00:00");
        rows_.SetAt(0, kEnd, "0:00:06");
        Run();
        EXPECT_EQ(batch_.LastCommandLine().find(" -ss "), std::string::npos);
        EXPECT_NEAR(DecodedDuration(output), 6.0, 0.3);
    }
}

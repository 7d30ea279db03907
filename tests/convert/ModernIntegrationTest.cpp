// The entries after the first 92 through the batch and the real encoder: copies
// keep every packet, today's formats give what they name.
#include "BatchFixture.h"
#include "ModernChoices.h"
#include "Probe.h"

#include <map>
#include <sstream>

namespace vxtest {
namespace {

struct Packet {
    long long pts = 0; // in the stream's time base
    std::string sizeAndHash;
};

// Every packet of every stream, by media type ("video", "audio"): read without
// decoding, or as the `codec` arguments turn them out.
std::map<std::string, std::vector<Packet>> Packets(const std::string& path,
                                                   const std::vector<std::string>& codec = {
                                                       "-map", "0", "-c", "copy"}) {
    std::vector<std::string> command{"ffmpeg", "-nostdin", "-v", "error", "-i", path};
    command.insert(command.end(), codec.begin(), codec.end());
    command.insert(command.end(), {"-f", "framemd5", "-"});
    const RunResult run = vxtest::Run(command);
    std::map<int, std::string> types;
    std::map<std::string, std::vector<Packet>> packets;
    std::istringstream lines(run.output);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("#media_type ")) {
            const int index = std::atoi(line.c_str() + 12);
            types[index] = line.substr(line.find(": ") + 2);
            continue;
        }
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> fields;
        std::istringstream in(line);
        for (std::string field; std::getline(in, field, ',');)
            fields.push_back(field.substr(field.find_first_not_of(' ')));
        if (fields.size() < 6) continue;
        packets[types[std::stoi(fields[0])]].push_back(
            {std::stoll(fields[2]), fields[4] + " " + fields[5]});
    }
    return packets;
}

std::vector<std::string> Contents(const std::vector<Packet>& packets) {
    std::vector<std::string> contents;
    for (const Packet& p : packets)
        contents.push_back(p.sizeAndHash);
    return contents;
}

// The sound as it plays: its decoded samples, as 32-bit floats.
std::vector<std::string> DecodedSound(const std::string& path) {
    return Contents(Packets(path, {"-map", "0:a:0", "-c:a", "pcm_f32le"})["audio"]);
}

class Modern : public Batch {
  protected:
    static void SetUpTestSuite() {
        Batch::SetUpTestSuite();
        const auto make = [](const char* name, FlvSpec spec) {
            ASSERT_TRUE(MakeFlv(media_ + "/" + name, spec)) << name;
        };
        make("h264aac.flv", {.seconds = 2, .videoCodec = "libx264", .audioCodec = "aac"});
        make("h264mp3.flv", {.seconds = 2, .videoCodec = "libx264"});
        make("sparkmp3.flv", {.seconds = 2, .width = 176, .height = 144});
        make("sparknelly.flv",
             {.seconds = 1, .width = 160, .height = 120, .audioCodec = "nellymoser"});
        make("gop30.flv", {.seconds = 4,
                           .width = 160,
                           .height = 120,
                           .videoCodec = "libx264",
                           .audioCodec = "aac",
                           .keyInterval = 30});
    }
    void SetUp() override {
        Batch::SetUp();
        Setting("parallel", "0"); // automatic: the copies run side by side
    }
    // A row filled by the real probe, as adding the file fills it.
    std::string AddProbedRow(const std::string& from) {
        const std::string path = app_ + "/" + from;
        if (!fs::exists(path)) fs::copy_file(media_ + "/" + from, path);
        const auto id = rows_.Append(path);
        FillRow(rows_, id, RunIdentify(std::string(VX_APP_DIR) + "/", path, {}));
        return path;
    }
    std::string Output(const std::string& name) { return out_ + "/" + name; }
};

TEST_F(Modern, CopiesKeepEveryPacketInTheContainerThatHoldsThem) {
    const struct {
        const char* source;
        int position;
        const char* output;
        bool video;
        bool soundDecoded; // Nellymoser has no place outside Flash Video as it is
    } cases[] = {
        {"h264aac.flv", 94, "h264aac.mp4", true, false},
        {"h264mp3.flv", 94, "h264mp3.mp4", true, false},
        {"sparkmp3.flv", 94, "sparkmp3.mkv", true, false},
        {"sparknelly.flv", 94, "sparknelly.mkv", true, true},
        {"h264aac.flv", 95, "h264aac.mkv", true, false},
        {"h264aac.flv", 96, "h264aac.m4a", false, false},
        {"h264mp3.flv", 96, "h264mp3.mp3", false, false},
        {"sparknelly.flv", 96, "sparknelly.mka", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.source) + " as " + c.output);
        rows_.Clear();
        fs::remove_all(out_);
        fs::create_directories(out_);
        Pick(c.position);
        const std::string source = AddProbedRow(c.source);
        Run();
        ASSERT_EQ(Status(0), "OK") << rows_.Row(0).note;
        ASSERT_TRUE(fs::exists(Output(c.output)));
        auto before = Packets(source), after = Packets(Output(c.output));
        ASSERT_FALSE(before["audio"].empty());
        if (c.soundDecoded) {
            const auto sound = DecodedSound(source);
            EXPECT_FALSE(sound.empty());
            EXPECT_TRUE(DecodedSound(Output(c.output)) == sound);
            EXPECT_NE(rows_.Row(0).note.find("decoded"), std::string::npos);
        } else {
            EXPECT_EQ(Contents(after["audio"]), Contents(before["audio"]));
        }
        if (c.video) {
            EXPECT_EQ(Contents(after["video"]), Contents(before["video"]));
            ASSERT_FALSE(before["video"].empty());
        } else {
            EXPECT_TRUE(after["video"].empty());
        }
    }
}

// Copies hardly use the processor: automatic starts them all at once (up to
// the cores plus one), whatever the encoders beside them do.
TEST_F(Modern, AutomaticStartsCopiesSideBySide) {
    Pick(94);
    for (const char* name : {"a.flv", "b.flv", "c.flv"}) {
        fs::copy_file(media_ + "/h264mp3.flv", app_ + "/" + name);
        AddProbedRow(name);
    }
    Run();
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(Status(row), "OK") << rows_.Row(row).note;
    EXPECT_EQ(batch_.MostAtOnce(), 3);
}

// Cut where the copy can be cut: at the key frame at or before the start.
TEST_F(Modern, TrimmedCopyStartsAtTheKeyFrameBeforeItsStart) {
    Pick(94);
    AddProbedRow("gop30.flv");
    rows_.SetAt(0, kStart, "0:00:02");
    rows_.SetAt(0, kEnd, "0:00:03");
    Run();
    ASSERT_EQ(Status(0), "OK") << rows_.Row(0).note;
    EXPECT_NE(rows_.Row(0).note.find("key frame at or before 0:00:02"), std::string::npos);
    const auto before = Packets(media_ + "/gop30.flv")["video"];
    const auto after = Packets(Output("gop30.mp4"))["video"];
    ASSERT_FALSE(after.empty());
    const auto first = std::find_if(before.begin(), before.end(), [&](const Packet& p) {
        return p.sizeAndHash == after.front().sizeAndHash;
    });
    ASSERT_NE(first, before.end());
    const double startsAt = first->pts / 1000.0; // FLV counts milliseconds
    EXPECT_LE(startsAt, 2.0);
    EXPECT_GE(startsAt, 2.0 - 30 / 25.0);
    EXPECT_LT(after.size(), before.size() / 2);
}

class TodaysFormat : public Modern, public ::testing::WithParamInterface<int> {};

TEST_P(TodaysFormat, GivesItsContainerAndCodecsAndPlaysToItsEnd) {
    const int position = GetParam();
    const std::map<int, std::array<const char*, 4>> expected = {
        {98, {"mp4", "h264", "aac", ".mp4"}},
        {99, {"mp4", "hevc", "aac", ".mp4"}},
        {100, {"webm", "vp9", "opus", ".webm"}},
        {101, {"webm", "av1", "opus", ".webm"}},
    };
    const auto& [format, video, audio, extension] = expected.at(position);
    Pick(position);
    sheet_.SetValue(sheet_.Find("Video Options", "Quality"), modern::kSmall);
    sheet_.SetValue(sheet_.Find("Video Options", "Video Size"), "360p"); // never enlarged
    AddProbedRow("sparkmp3.flv");
    Run();
    ASSERT_EQ(Status(0), "OK") << rows_.Row(0).note;
    const std::string output = Output(std::string("sparkmp3") + extension);
    const ProbeInfo info = ProbeFile(output);
    ASSERT_TRUE(info.ok);
    EXPECT_NE(info.formatName.find(format), std::string::npos) << info.formatName;
    EXPECT_EQ(info.videoCodec, video);
    EXPECT_EQ(info.audioCodec, audio);
    EXPECT_LE(info.width, 176);
    EXPECT_LE(info.height, 144);
    const RunResult play =
        vxtest::Run({"ffmpeg", "-nostdin", "-v", "error", "-i", output, "-f", "null", "-"});
    EXPECT_EQ(play.exitCode, 0);
    EXPECT_EQ(play.output, "");
    EXPECT_NEAR(info.duration, 2.0, 0.3);
}

INSTANTIATE_TEST_SUITE_P(Entries, TodaysFormat, ::testing::Values(98, 99, 100, 101));

} // namespace
} // namespace vxtest

// The encoder command lines run through the real fp.dll on generated FLV files.
#include "Catalog.h"
#include "CodecMaps.h"
#include "CommandLine.h"
#include "CommandShapes.h"
#include "EncoderCommand.h"
#include "OptionSets.h"
#include "TestMedia.h"
#include "ToolControl.h"
#include "Tools.h"

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <thread>

using namespace vx;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

const std::string kAppFolder = VX_APP_DIR;

class Encoder : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder_ = vxtest::MakeTempFolder("vx-encode");
        source_ = folder_ + "/source.flv";
        ASSERT_TRUE(vxtest::MakeFlv(source_, {.seconds = 5}));
    }
    static void TearDownTestSuite() { vxtest::RemoveFolder(folder_); }

    static JobRequest Request(int position) {
        OptionSheet sheet;
        FillDefaultLayout(sheet);
        EXPECT_TRUE(ApplyOptionSet(sheet, position));
        JobRequest r;
        r.position = position;
        r.displayText = ProfileCatalog::At(position)->text;
        r.options = *ReadConversionOptions(sheet);
        r.options.ClipStart = "0:00:00";
        r.options.ClipEnd = "0:00:05";
        r.sourcePath = source_;
        r.appFolder = kAppFolder;
        r.outputFolder = folder_;
        return r;
    }

    // Starts the command as the batch does and waits for its exit code.
    static int RunEncoder(const std::string& command, std::chrono::seconds limit = 120s) {
        const pid_t pid = ToolRegistry::Instance().Start(command, kAppFolder);
        if (pid <= 0) return -1;
        const auto code = ToolRegistry::Instance().WaitForExit(pid, limit);
        return code ? *code : -2;
    }

    static inline std::string folder_;
    static inline std::string source_;
};

// What ffprobe calls the codec and the container that a profile asks for.
std::string ProbedVideoCodec(const std::string& encoderCodec, int position) {
    const Shape shape = ShapeFor(position)->shape;
    if (shape == Shape::D) return "flv1";
    if (shape == Shape::E) return "mpeg2video";
    const std::string name = encoderCodec.substr(0, encoderCodec.find(' '));
    static const std::map<std::string, std::string> names = {{"libxvid", "mpeg4"},
                                                             {"libx264", "h264"}};
    const auto it = names.find(name);
    return it == names.end() ? name : it->second;
}

std::string ExpectedFormat(const std::string& extension) {
    static const std::map<std::string, std::string> formats = {
        {".mp4", "mp4"}, {".3gp", "3gp"}, {".3g2", "3g2"}, {".avi", "avi"},  {".wmv", "asf"},
        {".wma", "asf"}, {".flv", "flv"}, {".swf", "swf"}, {".mpg", "mpeg"}, {".mp3", "mp3"},
        {".ogg", "ogg"}, {".wav", "wav"}, {".aac", "aac"}};
    return formats.at(extension);
}

class EveryProfile : public Encoder, public ::testing::WithParamInterface<int> {};

std::vector<int> ProfilePositions() {
    std::vector<int> positions;
    for (int p = 1; p <= ProfileCatalog::kCount; ++p)
        if (!ProfileCatalog::IsHeading(p)) positions.push_back(p);
    return positions;
}

} // namespace

TEST_P(EveryProfile, ConvertsToWhatItsOptionsAskFor) {
    const int position = GetParam();
    const JobRequest request = Request(position);
    const auto job = PrepareConversion(request);
    ASSERT_TRUE(job.ok()) << Describe(job.error);
    SCOPED_TRACE(job.value->commandLine);
    ASSERT_EQ(RunEncoder(job.value->commandLine), 0);

    const vxtest::ProbeInfo info = vxtest::ProbeFile(job.value->outputPath);
    ASSERT_TRUE(info.ok);
    const std::string extension = *OutputExtension(request.displayText);
    EXPECT_NE(info.formatName.find(ExpectedFormat(extension)), std::string::npos)
        << info.formatName;
    EXPECT_NEAR(info.duration, 5.0, 0.5);
    EXPECT_FALSE(info.audioCodec.empty());
    const Shape shape = ShapeFor(position)->shape;
    if (shape == Shape::F || shape == Shape::G) {
        EXPECT_TRUE(info.videoCodec.empty()) << info.videoCodec;
        return;
    }
    const ConversionOptions& o = request.options;
    EXPECT_EQ(info.videoCodec, ProbedVideoCodec(EncoderVideoCodec(o.VideoCodec), position));
    EXPECT_EQ(std::to_string(info.width) + "x" + std::to_string(info.height), o.VideoSize);
    const double fps = std::atof((o.VideoFramerate == "Auto" ? "25" : o.VideoFramerate).c_str());
    EXPECT_NEAR(info.frameRate, fps, 0.01 * fps) << o.VideoFramerate;
}

INSTANTIATE_TEST_SUITE_P(Profiles, EveryProfile, ::testing::ValuesIn(ProfilePositions()),
                         [](const auto& info) { return "Position" + std::to_string(info.param); });

TEST_F(Encoder, DisabledAudioLeavesTheSoundOut) {
    JobRequest request = Request(2);
    request.options.DisableAudio = "Yes";
    const auto job = PrepareConversion(request);
    ASSERT_TRUE(job.ok());
    ASSERT_EQ(RunEncoder(job.value->commandLine), 0);
    const auto info = vxtest::ProbeFile(job.value->outputPath);
    EXPECT_TRUE(info.audioCodec.empty());
    EXPECT_EQ(info.videoCodec, "mpeg4");
}

TEST_F(Encoder, ATrimmedClipLastsFromStartToEnd) {
    JobRequest request = Request(30);
    request.options.ClipStart = "0:00:02";
    request.options.ClipEnd = "0:00:04";
    const auto job = PrepareConversion(request);
    ASSERT_TRUE(job.ok());
    ASSERT_EQ(RunEncoder(job.value->commandLine), 0);
    EXPECT_NEAR(vxtest::ProbeFile(job.value->outputPath).duration, 2.0, 0.5);
}

TEST_F(Encoder, AnExistingOutputIsReplacedWithoutAPrompt) {
    JobRequest request = Request(41);
    request.addNew = false;
    const std::string existing = folder_ + "/source.avi";
    { std::ofstream(existing) << "old"; }
    const auto job = PrepareConversion(request);
    ASSERT_TRUE(job.ok());
    ASSERT_EQ(job.value->outputPath, existing);
    ASSERT_EQ(RunEncoder(job.value->commandLine, 60s), 0); // a prompt would hang here
    EXPECT_GT(fs::file_size(existing), 1000u);
    EXPECT_TRUE(vxtest::ProbeFile(existing).ok);
}

TEST_F(Encoder, FileNamesReachTheToolAsDataNeverThroughAShell) {
    const std::string tricky = folder_ + "/a $(touch PWNED) ; b'c `touch PWNED2`.flv";
    fs::copy_file(source_, tricky);
    JobRequest request = Request(88);
    request.sourcePath = tricky;
    const auto job = PrepareConversion(request);
    ASSERT_TRUE(job.ok());
    ASSERT_EQ(RunEncoder(job.value->commandLine), 0);
    EXPECT_TRUE(fs::exists(folder_ + "/a $(touch PWNED) ; b'c `touch PWNED2`.mp3"));
    for (const std::string& place : {folder_, kAppFolder, fs::current_path().string()}) {
        EXPECT_FALSE(fs::exists(place + "/PWNED"));
        EXPECT_FALSE(fs::exists(place + "/PWNED2"));
    }
}

TEST_F(Encoder, StopsOnQAndLeavesAValidShorterFile) {
    const std::string longSource = folder_ + "/long.flv";
    ASSERT_TRUE(vxtest::MakeFlv(longSource, {.seconds = 60, .width = 640, .height = 480}));
    JobRequest request = Request(86); // x264: slow enough to be caught running
    request.sourcePath = longSource;
    request.options.ClipEnd = "0:01:00";
    request.options.VideoSize = "1280x720";
    const auto job = PrepareConversion(request);
    ASSERT_TRUE(job.ok());
    ToolControl control;
    control.EncoderProcessId = ToolRegistry::Instance().Start(job.value->commandLine, kAppFolder);
    ASSERT_GT(control.EncoderProcessId, 0);
    std::this_thread::sleep_for(1500ms);
    ASSERT_TRUE(control.PostKeyToEncoder(kKeyQ));
    const auto code = ToolRegistry::Instance().WaitForExit(control.EncoderProcessId, 20s);
    ASSERT_TRUE(code);
    EXPECT_EQ(*code, 0);
    const auto info = vxtest::ProbeFile(job.value->outputPath);
    ASSERT_TRUE(info.ok);
    EXPECT_GT(info.duration, 0.0);
    EXPECT_LT(info.duration, 59.0);
    EXPECT_FALSE(control.PostKeyToEncoder(kKeyQ)); // the tool is gone: nothing is posted
}

TEST_F(Encoder, IdentifyModeThroughThePlayerToolPrintsItsReport) {
    const auto run = vxtest::Run({kAppFolder + "/mp.dll", "-identify", "-benchmark", "-nosound",
                                  "-vo", "null", "-vf", "cropdetect", "-endpos", "1", source_},
                                 kAppFolder);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.output.find("ID_VIDEO_WIDTH=320"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("ID_VIDEO_HEIGHT=240"), std::string::npos);
    EXPECT_NE(run.output.find("ID_VIDEO_FORMAT=FLV1"), std::string::npos);
    EXPECT_NE(run.output.find("ID_LENGTH="), std::string::npos);
}

TEST_F(Encoder, ALauncherWithoutItsSystemToolSaysSoAndFails) {
    const auto run =
        vxtest::Run({"/usr/bin/env", "PATH=/nonexistent", kAppFolder + "/fp.dll", "-version"});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.output.find("fp.dll: ffmpeg is not installed (not found on PATH): install the "
                              "Debian package ffmpeg"),
              std::string::npos)
        << run.output;
}

#include "ModernCommand.h"
#include "CommandLine.h"
#include "ModernChoices.h"
#include "RewrapHint.h"
#include "TestMedia.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace vx;

namespace {

const StreamFormats kH264Aac{"H264", "MP4A"};
const StreamFormats kSparkMp3{"FLV1", "mp3float"};

JobRequest Request(int position, const StreamFormats& streams = kH264Aac) {
    JobRequest r;
    r.position = position;
    r.options.VideoSize = modern::kSameAsSource;
    r.options.VideoBitrate = modern::kStandard;
    r.options.AudioBitrate = "128";
    r.options.AudioChannel = "2";
    r.options.SampleRate = modern::kSameAsSource;
    r.options.DisableAudio = "No";
    r.options.ClipStart = "0:00:00";
    r.options.ClipEnd = "0:01:00";
    r.fileSeconds = 60;
    r.sourcePath = "/nowhere/my \"clip\" \\ 1.flv";
    r.appFolder = "/app";
    r.outputFolder = "/nowhere/out";
    r.streams = streams;
    return r;
}

std::vector<std::string> Arguments(const JobRequest& request) {
    const auto job = PrepareConversion(request);
    EXPECT_TRUE(job.ok()) << Describe(job.error);
    return job.ok() ? SplitCommandLine(job.value->commandLine) : std::vector<std::string>{};
}

std::ptrdiff_t IndexOf(const std::vector<std::string>& args, const std::string& arg) {
    const auto at = std::find(args.begin(), args.end(), arg);
    return at == args.end() ? -1 : at - args.begin();
}

} // namespace

TEST(ModernCommand, ExtensionFollowsWhatTheProbeFound) {
    EXPECT_EQ(ModernExtension(ModernKind::SameStreams, kH264Aac), ".mp4");
    EXPECT_EQ(ModernExtension(ModernKind::SameStreams, {"H264", "85"}), ".mp4");
    EXPECT_EQ(ModernExtension(ModernKind::SameStreams, kSparkMp3), ".mkv");
    EXPECT_EQ(ModernExtension(ModernKind::SameStreams, {"H264", "nellymoser"}), ".mkv");
    EXPECT_EQ(ModernExtension(ModernKind::SameStreams, {}),
              ".mkv"); // nothing known: any stream fits
    EXPECT_EQ(ModernExtension(ModernKind::SoundOnly, kH264Aac), ".m4a");
    EXPECT_EQ(ModernExtension(ModernKind::SoundOnly, kSparkMp3), ".mp3");
    EXPECT_EQ(ModernExtension(ModernKind::SoundOnly, {"FLV1", "spx "}), ".mka");
    const auto job = PrepareConversion(Request(100));
    ASSERT_TRUE(job.ok());
    EXPECT_TRUE(job.value->outputPath.ends_with("/my \"clip\" \\ 1.webm"));
}

// Every kind's command text gives back its arguments exactly, odd names included.
TEST(ModernCommand, CommandTextSplitsBackIntoItsArguments) {
    for (int position = 94; position <= 101; ++position) {
        if (position == 97) continue;
        SCOPED_TRACE(position);
        const auto args = Arguments(Request(position));
        ASSERT_GE(args.size(), 4u);
        EXPECT_EQ(args.front(), "/app/fp.dll");
        EXPECT_EQ(args[static_cast<std::size_t>(IndexOf(args, "-i") + 1)],
                  "/nowhere/my \"clip\" \\ 1.flv");
        EXPECT_EQ(SplitCommandLine(JoinArguments(args)), args);
    }
}

// A copy is cut at a key frame: the start goes before the input. The sheet
// does not change what is copied.
TEST(ModernCommand, CopiesSeekBeforeTheInputAndIgnoreTheSheet) {
    JobRequest request = Request(94);
    request.options.ClipStart = "0:00:10";
    request.options.ClipEnd = "0:00:20";
    const auto args = Arguments(request);
    ASSERT_GE(IndexOf(args, "-ss"), 0);
    EXPECT_LT(IndexOf(args, "-ss"), IndexOf(args, "-i"));
    EXPECT_EQ(args[static_cast<std::size_t>(IndexOf(args, "-t") + 1)], "10");
    request.options.DisableAudio = "Yes";
    request.options.VideoSize = "junk";
    request.options.AudioBitrate = "junk";
    EXPECT_EQ(Arguments(request), args);
    const auto job = PrepareConversion(request);
    EXPECT_TRUE(job.value->light);
}

// The whole file is converted to its real end: the probe's whole seconds cut nothing.
TEST(ModernCommand, UntrimmedRowsRunToTheEndAndBadChoicesFail) {
    EXPECT_EQ(IndexOf(Arguments(Request(98)), "-t"), -1);
    EXPECT_EQ(IndexOf(Arguments(Request(98)), "-ss"), -1);
    JobRequest request = Request(98);
    request.options.VideoBitrate = "768";
    EXPECT_EQ(PrepareConversion(request).error, CommandError::ModernOption);
    request = Request(99);
    request.options.VideoSize = "320x240";
    EXPECT_EQ(PrepareConversion(request).error, CommandError::ModernOption);
    request = Request(98);
    request.options.ClipEnd = "0:00:00";
    EXPECT_EQ(PrepareConversion(request).error, CommandError::ClipEnd);
    request = Request(96, {"FLV1", ""});
    EXPECT_EQ(PrepareConversion(request).error, CommandError::NoSoundToCopy);
}

// The size keeps the proportions and never enlarges: checked by the encoder itself.
TEST(ModernCommand, SizeLimitKeepsProportionsAndNeverEnlarges) {
    JobRequest request = Request(98);
    request.options.VideoSize = "360p";
    const auto args = Arguments(request);
    const std::string filter = args[static_cast<std::size_t>(IndexOf(args, "-vf") + 1)];
    for (const auto& [in, out] : std::vector<std::pair<std::string, std::string>>{
             {"1280x720", "640x360"}, {"320x240", "320x240"}, {"321x241", "320x240"}}) {
        const auto run = vxtest::Run({"ffmpeg", "-nostdin", "-f", "lavfi", "-i",
                                      "color=size=" + in + ":duration=0.1", "-vf",
                                      filter + ",showinfo", "-f", "null", "-"});
        EXPECT_NE(run.output.find(" s:" + out + " "), std::string::npos) << in << run.output;
    }
}

TEST(RewrapHint, OnlyWhenEveryRowFitsAndMp4IsReencodedOncePerList) {
    const std::vector<StreamFormats> fitting{kH264Aac, {"H264", "85"}};
    EXPECT_TRUE(RewrapPays(86, fitting));
    EXPECT_TRUE(RewrapPays(98, fitting));
    EXPECT_FALSE(RewrapPays(84, fitting)); // AVI
    EXPECT_FALSE(RewrapPays(94, fitting)); // already the copy
    EXPECT_FALSE(RewrapPays(79, fitting)); // a heading
    EXPECT_FALSE(RewrapPays(86, {kH264Aac, kSparkMp3}));
    EXPECT_FALSE(RewrapPays(86, {}));
    RewrapHint hint;
    EXPECT_TRUE(hint.Due(86, {1, 2}, fitting));
    EXPECT_FALSE(hint.Due(2, {1, 2}, fitting));
    EXPECT_TRUE(hint.Due(2, {1, 3}, fitting));
}

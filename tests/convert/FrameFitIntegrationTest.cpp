// Every video entry, through the real fp.dll, keeps the source's proportions in
// the frame it asks for, and the file says at which shape the frame is shown.
#include "Catalog.h"
#include "CommandShapes.h"
#include "EncoderCommand.h"
#include "OptionSets.h"
#include "TestMedia.h"
#include "Tools.h"

#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <set>

using namespace vx;
using namespace std::chrono_literals;

namespace {

struct Shown {
    int width = 0, height = 0; // the frame
    double sampleAspect = 1;   // of its pixels
    int pictureWidth = 0, pictureHeight = 0;
};

// The frame and its pixel shape from the encoder's description of the file, and
// the picture's extent from cropdetect. cropdetect averages whole lines, so a
// picture narrower than half the frame leaves no line above the limit across
// it: the picture then spans the frame that way.
Shown Measure(const std::string& file) {
    const auto run = vxtest::Run({"ffmpeg", "-hide_banner", "-nostdin", "-i", file, "-vf",
                                  "cropdetect=limit=125:round=2:reset=0", "-f", "null", "-"});
    Shown shown;
    const std::string input = run.output.substr(0, run.output.find("Output #0"));
    const std::size_t video = input.find("Video:");
    if (video == std::string::npos) return shown;
    const std::string line = input.substr(video, input.find('\n', video) - video);
    for (std::size_t at = line.find(", "); at != std::string::npos; at = line.find(", ", at + 1))
        if (std::sscanf(line.c_str() + at, ", %dx%d", &shown.width, &shown.height) == 2) break;
    int num = 0, den = 0;
    const std::size_t sar = line.find("SAR ");
    if (sar != std::string::npos && std::sscanf(line.c_str() + sar, "SAR %d:%d", &num, &den) == 2 &&
        num > 0 && den > 0)
        shown.sampleAspect = static_cast<double>(num) / den;
    const std::size_t crop = run.output.rfind("crop=");
    int x = 0, y = 0;
    if (crop != std::string::npos)
        std::sscanf(run.output.c_str() + crop, "crop=%d:%d:%d:%d", &shown.pictureWidth,
                    &shown.pictureHeight, &x, &y);
    if (shown.pictureWidth <= 0) shown.pictureWidth = shown.width;
    if (shown.pictureHeight <= 0) shown.pictureHeight = shown.height;
    return shown;
}

// The entries' own frames of the television, disc and phone standards are 4:3
// pictures, except in the PS3 entries, which are made for wide screens; every
// other frame has square pixels.
double FrameShape(int position, int width, int height) {
    static const std::set<std::string> standard = {"720x480", "720x576", "352x240", "176x144"};
    const bool wide = position >= 20 && position <= 23;
    if (!wide && standard.count(std::to_string(width) + "x" + std::to_string(height)))
        return 4.0 / 3;
    return static_cast<double>(width) / height;
}

std::vector<int> VideoPositions() {
    std::vector<int> positions;
    for (int p = 1; p <= ProfileCatalog::kCount; ++p) {
        const Shape shape = ShapeFor(p)->shape;
        if (!ProfileCatalog::IsHeading(p) && shape != Shape::F && shape != Shape::G)
            positions.push_back(p);
    }
    return positions;
}

class FitsTheFrame : public ::testing::TestWithParam<FrameSize> {
  protected:
    void SetUp() override { ASSERT_FALSE(folder_.empty()); }
    void TearDown() override { vxtest::RemoveFolder(folder_); }
    std::string folder_ = vxtest::MakeTempFolder("vx-fit");
};

} // namespace

TEST_P(FitsTheFrame, EveryVideoEntryKeepsTheSourcesProportions) {
    const FrameSize source = GetParam();
    const std::string path = folder_ + "/source.flv";
    ASSERT_TRUE(vxtest::MakeFlv(path, {.seconds = 1,
                                       .width = source.width,
                                       .height = source.height,
                                       .picture = vxtest::CirclePicture(source.width,
                                                                        source.height)}));
    const double sourceShape = static_cast<double>(source.width) / source.height;
    for (int position : VideoPositions()) {
        SCOPED_TRACE("position " + std::to_string(position));
        OptionSheet sheet;
        FillDefaultLayout(sheet);
        ASSERT_TRUE(ApplyOptionSet(sheet, position));
        JobRequest request;
        request.position = position;
        request.displayText = ProfileCatalog::At(position)->text;
        request.options = *ReadConversionOptions(sheet);
        request.options.ClipStart = "0:00:00";
        request.options.ClipEnd = "0:00:01";
        request.sourcePath = path;
        request.appFolder = VX_APP_DIR;
        request.outputFolder = folder_;
        request.sourceSize = source;
        const auto job = PrepareConversion(request);
        ASSERT_TRUE(job.ok()) << Describe(job.error);
        SCOPED_TRACE(job.value->commandLine);
        const pid_t pid = ToolRegistry::Instance().Start(job.value->commandLine, VX_APP_DIR);
        ASSERT_EQ(ToolRegistry::Instance().WaitForExit(pid, 60s), std::optional<int>(0));

        const Shown shown = Measure(job.value->outputPath);
        vxtest::RemoveFolder(job.value->outputPath);
        EXPECT_EQ(std::to_string(shown.width) + "x" + std::to_string(shown.height),
                  request.options.VideoSize);
        const double frameShape = shown.width * shown.sampleAspect / shown.height;
        EXPECT_NEAR(frameShape, FrameShape(position, shown.width, shown.height), 0.01 * frameShape);
        const double pictureShape =
            shown.pictureWidth * shown.sampleAspect / shown.pictureHeight;
        EXPECT_NEAR(pictureShape, sourceShape, 0.02 * sourceShape)
            << shown.pictureWidth << "x" << shown.pictureHeight;
    }
}

INSTANTIATE_TEST_SUITE_P(Sources, FitsTheFrame,
                         ::testing::Values(FrameSize{160, 120}, FrameSize{320, 180},
                                           FrameSize{180, 320}),
                         [](const auto& info) {
                             return std::to_string(info.param.width) + "x" +
                                    std::to_string(info.param.height);
                         });

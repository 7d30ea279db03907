// Every video entry, through the real fp.dll, keeps the source's proportions in
// the frame it asks for, and the file says at which shape the frame is shown.
#include "Catalog.h"
#include "CommandShapes.h"
#include "EncoderCommand.h"
#include "OptionSets.h"
#include "TestMedia.h"
#include "Tools.h"

#include <gtest/gtest.h>
#include <regex>

using namespace vx;

class FitsTheFrame : public ::testing::TestWithParam<FrameSize> {};

// The frame and its pixels as the encoder describes the file, the picture's extent
// by cropdetect. cropdetect averages whole lines, so a picture narrower than half
// the frame has no line across it above the limit: it then spans the frame that way.
TEST_P(FitsTheFrame, EveryVideoEntryKeepsTheSourcesProportions) {
    const FrameSize source = GetParam();
    const std::string folder = vxtest::MakeTempFolder("vx-fit"), path = folder + "/in.flv";
    const std::string size = std::to_string(source.width) + "x" + std::to_string(source.height);
    ASSERT_TRUE(vxtest::MakeFlv( // a grey circle on white: edges free of black
        path, {.seconds = 1,
               .picture = "color=c=white:s=" + size +
                          ",format=yuv420p,geq=lum='if("
                          "lt(hypot(X-W/2,Y-H/2),min(W,H)/3),160,235)':cb=128:cr=128"}));
    for (int position = 1; position <= ProfileCatalog::kCount; ++position) {
        const Shape shape = ShapeFor(position)->shape;
        if (ProfileCatalog::IsHeading(position) || shape == Shape::F || shape == Shape::G) continue;
        OptionSheet sheet;
        FillDefaultLayout(sheet);
        ApplyOptionSet(sheet, position);
        JobRequest request;
        request.position = position;
        request.displayText = ProfileCatalog::At(position)->text;
        request.options = *ReadConversionOptions(sheet);
        request.sourcePath = path;
        request.appFolder = VX_APP_DIR;
        request.outputFolder = folder;
        request.options.ClipStart = "0:00:00";
        request.options.ClipEnd = "0:00:01";
        request.sourceSize = source;
        const auto job = PrepareConversion(request);
        ASSERT_TRUE(job.ok()) << Describe(job.error);
        SCOPED_TRACE(job.value->commandLine);
        const pid_t pid = ToolRegistry::Instance().Start(job.value->commandLine, VX_APP_DIR);
        ASSERT_EQ(ToolRegistry::Instance().WaitForExit(pid, std::chrono::seconds(60)), 0);

        const std::string out =
            vxtest::Run({"ffmpeg", "-nostdin", "-i", job.value->outputPath, "-vf",
                         "cropdetect=limit=125:round=2:reset=0", "-f", "null", "-"})
                .output;
        std::smatch frame, pixel, crop;
        const std::string input = out.substr(0, out.find("Output #0"));
        ASSERT_TRUE(std::regex_search(input, frame, std::regex(R"(Video:.*?, (\d+)x(\d+))")));
        EXPECT_EQ(frame[1].str() + "x" + frame[2].str(), request.options.VideoSize);
        const double w = std::stod(frame[1]), h = std::stod(frame[2]);
        const double sar = std::regex_search(input, pixel, std::regex(R"(SAR (\d+):(\d+))"))
                               ? std::stod(pixel[1]) / std::stod(pixel[2])
                               : 1;
        const std::string last = out.substr(out.rfind("crop="));
        ASSERT_TRUE(std::regex_search(last, crop, std::regex(R"(crop=(-?\d+):(-?\d+))")));
        const double cw = std::max(std::stod(crop[1]), 0.0), ch = std::max(std::stod(crop[2]), 0.0);
        // Standard television, disc and phone frames are 4:3 pictures, but on the PS3's wide
        // screens.
        const bool fourThree = std::regex_match(request.options.VideoSize,
                                                std::regex("720x480|720x576|352x240|176x144")) &&
                               (position < 20 || position > 23);
        EXPECT_NEAR(w * sar / h, fourThree ? 4.0 / 3 : w / h, 0.01 * w / h);
        const double shown = (cw ? cw : w) * sar / (ch ? ch : h),
                     wanted = 1.0 * source.width / source.height;
        EXPECT_NEAR(shown, wanted, 0.02 * wanted);
    }
    vxtest::RemoveFolder(folder);
}

INSTANTIATE_TEST_SUITE_P(Sources, FitsTheFrame,
                         ::testing::Values(FrameSize{160, 120}, FrameSize{320, 180},
                                           FrameSize{180, 320}));

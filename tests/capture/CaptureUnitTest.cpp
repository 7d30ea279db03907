// The Video4Linux enumeration as far as this machine allows, the progress
// report and the status line.
#include "CaptureFile.h"
#include "CaptureProgress.h"
#include "TestMedia.h"
#include "V4l2Devices.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace vx;
namespace fs = std::filesystem;

namespace {

class DeviceFolder : public ::testing::Test {
  protected:
    const vxtest::TempFolder folder_{"vx-v4l2"};
    const std::string& root_ = folder_.path;
};

} // namespace

TEST_F(DeviceFolder, OffersOnlyNodesThatCanCapture) {
    EXPECT_TRUE(ListV4l2Devices(root_).empty());
    EXPECT_TRUE(ListV4l2Devices(root_ + "/missing").empty());

    std::ofstream(root_ + "/video0") << "not a device";     // a regular file
    fs::create_symlink("/dev/null", root_ + "/video1");     // a device, but no video one
    fs::create_symlink(root_ + "/gone", root_ + "/video2"); // cannot be opened
    fs::create_symlink("/dev/null", root_ + "/video-x");    // not a video node name
    fs::create_directory(root_ + "/video3");                // a folder
    EXPECT_TRUE(ListV4l2Devices(root_).empty());
}

TEST_F(DeviceFolder, CameraWithoutControlsSupportsNone) {
    for (const std::string& node : {std::string("/dev/null"), root_ + "/absent", std::string()}) {
        V4l2Camera camera(node);
        EXPECT_EQ(camera.IsOpen(), node == "/dev/null");
        for (int control = kPan; control <= kZoom; ++control) {
            CameraRange range{1, 2, 3, 4, 5};
            EXPECT_NE(camera.Range(control, range), 0) << node << " control " << control;
            EXPECT_EQ(range.minimum, 1); // left alone when unsupported
            EXPECT_EQ(camera.Value(control), 0);
            EXPECT_FALSE(camera.Set(control, 10));
        }
    }
}

TEST(ProgressReader, TakesWholeBlocksAcrossReads) {
    ProgressReader reader;
    const std::string report = "frame=0\nfps=0.00\ndrop_frames=0\nout_time_us=N/A\n"
                               "out_time_ms=N/A\nprogress=continue\n"
                               "frame=251\r\nfps=25.0\ndrop_frames=3\nout_time_us=10040000\n"
                               "out_time_ms=10040000\nout_time=00:00:10.040000\n"
                               "[avi @ 0x55] a message of the encoder\nprogress=continue\n";
    // Byte by byte: a block counts only once its "progress" line is complete.
    int blocks = 0;
    for (char c : report)
        blocks += reader.Feed(std::string_view(&c, 1)) ? 1 : 0;
    EXPECT_EQ(blocks, 2);
    EXPECT_EQ(reader.Statistics().frames, 251);
    EXPECT_EQ(reader.Statistics().dropped, 3);
    EXPECT_EQ(reader.Statistics().milliseconds, 10040);
    EXPECT_FALSE(reader.Ended());

    // A half block does not show; the final block marks the end.
    EXPECT_FALSE(reader.Feed("frame=300\nout_time_us=12000000\n"));
    EXPECT_EQ(reader.Statistics().frames, 251);
    EXPECT_TRUE(reader.Feed("progress=end\n"));
    EXPECT_EQ(reader.Statistics().frames, 300);
    EXPECT_EQ(reader.Statistics().milliseconds, 12000);
    EXPECT_TRUE(reader.Ended());
}

TEST(ProgressReader, FallsBackOnOutTimeMsWhichHoldsMicroseconds) {
    ProgressReader reader;
    reader.Feed("frame=5\nout_time_ms=200000\nprogress=continue\n");
    EXPECT_EQ(reader.Statistics().milliseconds, 200);
    // Negative times (before the first frame) read as nothing.
    reader.Feed("frame=6\nout_time_us=-9223372036854775807\nout_time_ms=-9223372036854775807\n"
                "drop_frames=-1\nprogress=continue\n");
    EXPECT_EQ(reader.Statistics().milliseconds, 0);
    EXPECT_EQ(reader.Statistics().dropped, 0);
    // A line without end never grows past a bound; the reader goes on afterwards.
    reader.Feed(std::string(10000, 'x'));
    EXPECT_TRUE(reader.Feed("\nframe=7\nprogress=continue\n"));
    EXPECT_EQ(reader.Statistics().frames, 7);
}

TEST(StatusLine, ShowsFramesDropsAndSecondsWithTwoDecimals) {
    EXPECT_EQ(StatusLine({250, 3, 10040}), "250 frames (3 dropped) - 10.04 sec.");
    EXPECT_EQ(StatusLine({0, 0, 0}), "0 frames (0 dropped) - 0.00 sec.");
    EXPECT_EQ(StatusLine({1, 0, 5}), "1 frames (0 dropped) - 0.01 sec.");
    EXPECT_EQ(StatusLine({75, 0, 2999}), "75 frames (0 dropped) - 3.00 sec.");
    EXPECT_EQ(StatusLine({900000, 12, 36000123}), "900000 frames (12 dropped) - 36000.12 sec.");
}

// A recording never goes over an existing file: the next free name is taken,
// and taken at once, so that the next recording gets the one after it.
TEST_F(DeviceFolder, ACaptureFileIsNeverOneThatExists) {
    const std::string first = root_ + "/dvcapture.avi";
    for (const char* expected : {"/dvcapture.avi", "/dvcapture-2.avi", "/dvcapture-3.avi"}) {
        const CaptureTarget target = ReserveCaptureFile(first, "/elsewhere");
        EXPECT_EQ(target.path, root_ + expected);
        EXPECT_EQ(target.reason, "");
    }
    // Numbered names count on; a dash in a folder's name does not count.
    EXPECT_EQ(ReserveCaptureFile(root_ + "/dvcapture-2.avi", "").path, root_ + "/dvcapture-4.avi");
    EXPECT_EQ(NextCaptureName("/v-1.d/take"), "/v-1.d/take-2");
    EXPECT_EQ(NextCaptureName("/v/take-01.avi"), "/v/take-01-2.avi");

    // Files that cannot be made say why (also for root: a regular file is no folder).
    EXPECT_EQ(ReserveCaptureFile(first + "/x.avi", "").reason, "Not a directory");
    EXPECT_EQ(ReserveCaptureFile(root_, "").reason, "Is a directory");
}

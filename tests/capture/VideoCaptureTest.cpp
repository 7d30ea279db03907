// The capture control with the real encoder on the generated test picture.
#include "VideoCapture.h"
#include "CaptureFiles.h"
#include "TestMedia.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

using namespace vx;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

const std::string kEncoder = std::string(VX_APP_DIR) + "/fp.dll";

template <typename Condition> bool WaitFor(Condition condition, std::chrono::seconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

class VideoCaptureTest : public ::testing::Test {
  protected:
    void SetUp() override { folder_ = vxtest::MakeTempFolder("vx-capture"); }
    void TearDown() override {
        EXPECT_TRUE(WaitFor([] { return vxtest::ChildProcesses() == 0; }, 15s));
        vxtest::RemoveFolder(folder_);
    }
    std::unique_ptr<VideoCapture> Connected(const std::string& encoder = kEncoder) {
        auto capture = std::make_unique<VideoCapture>(encoder, std::vector{TestPatternSource()});
        capture->SetDeviceIndex(0);
        capture->SetConnected(true);
        return capture;
    }
    std::string folder_;
};

} // namespace

// Nobody asks for preview pictures here: the encoder must still record at full pace.
TEST_F(VideoCaptureTest, RecordsWhileThePreviewIsNotLookedAt) {
    auto capture = Connected();
    EXPECT_EQ(capture->DeviceCount(), 1);
    capture->SetPreview(true);
    ASSERT_TRUE(WaitFor([&] { return capture->EncoderPid() > 0; }, 5s));
    const std::string file = folder_ + "/-odd $(name); a:b 'x'.avi";
    capture->SetCaptureFileName(file);
    ASSERT_TRUE(capture->StartRecording());
    EXPECT_TRUE(capture->Recording());
    ASSERT_TRUE(WaitFor([&] { return capture->Statistics().frames >= 50; }, 20s));
    capture->StopRecording();
    EXPECT_FALSE(capture->Recording());
    ASSERT_TRUE(WaitFor([&] { return capture->Statistics().final; }, 10s));
    const CaptureStatistics figures = capture->Statistics();
    const vxtest::Recording recorded = vxtest::ProbeRecording(file);
    ASSERT_TRUE(recorded.ok) << file;
    EXPECT_EQ(recorded.codec, "mjpeg");
    EXPECT_EQ(recorded.width, 640);
    EXPECT_EQ(recorded.height, 480);
    EXPECT_EQ(figures.dropped, 0);
    EXPECT_TRUE(vxtest::Near(figures.frames, recorded.frames, 0.05)) << figures.frames;
    EXPECT_TRUE(vxtest::Near(figures.milliseconds / 1000.0, recorded.seconds, 0.05));
    EXPECT_EQ(fs::directory_iterator(folder_)->path().filename(), fs::path(file).filename());

    // Back to previewing without a file: a new encoder, pictures keep coming.
    ASSERT_TRUE(WaitFor([&] { return capture->EncoderPid() > 0; }, 10s));
    PreviewFrame frame;
    ASSERT_TRUE(WaitFor([&] { return capture->LatestFrame(0, frame); }, 10s));
    EXPECT_EQ(frame.width, 320);
    EXPECT_EQ(frame.rgb.size(), 320u * 240u * 3u);
    const std::uint64_t seen = frame.serial;
    EXPECT_TRUE(WaitFor([&] { return capture->LatestFrame(seen, frame); }, 5s));
    EXPECT_EQ(vxtest::ChildProcesses(), 1);
}

// Leaving while recording: the file is finished in the background and the encoder reaped.
TEST_F(VideoCaptureTest, GoingAwayWhileRecordingFinishesTheFile) {
    auto capture = Connected();
    const std::string file = folder_ + "/left.avi";
    capture->SetCaptureFileName(file);
    ASSERT_TRUE(capture->StartRecording());
    ASSERT_TRUE(WaitFor([&] { return capture->Statistics().frames >= 10; }, 20s));
    capture.reset();
    ASSERT_TRUE(WaitFor([] { return vxtest::ChildProcesses() == 0; }, 15s));
    EXPECT_TRUE(vxtest::ProbeRecording(file).ok);
}

TEST_F(VideoCaptureTest, AFailingEncoderEndsTheSession) {
    // No encoder tool at all: nothing records, nothing runs.
    auto missing = Connected(folder_ + "/no-fp.dll");
    missing->SetCaptureFileName(folder_ + "/x.avi");
    EXPECT_FALSE(missing->StartRecording());
    EXPECT_FALSE(missing->Recording());
    EXPECT_EQ(missing->EncoderPid(), -1);
    EXPECT_EQ(missing->Failure(), "the encoder tool " + folder_ + "/no-fp.dll cannot be started");

    // An encoder that cannot write its file exits: the recording is over by
    // itself, says why, and leaves no picture to show as if it were live.
    auto capture = Connected();
    capture->SetPreview(true);
    PreviewFrame frame;
    ASSERT_TRUE(WaitFor([&] { return capture->LatestFrame(0, frame); }, 20s));
    capture->SetCaptureFileName("/dev/full"); // a full disk, once recording has begun
    EXPECT_TRUE(capture->StartRecording());
    EXPECT_TRUE(WaitFor([&] { return !capture->Recording(); }, 15s));
    EXPECT_EQ(capture->Failure(), "No space left on device");
    EXPECT_TRUE(capture->Statistics().final);
    EXPECT_EQ(capture->EncoderPid(), -1);
    EXPECT_TRUE(capture->LatestFrame(frame.serial, frame));
    EXPECT_TRUE(frame.rgb.empty());

    // Recording without a file name or a connection does not start.
    capture->SetCaptureFileName("");
    EXPECT_FALSE(capture->StartRecording());
    capture->SetCaptureFileName(folder_ + "/y.avi");
    capture->SetConnected(false);
    EXPECT_FALSE(capture->StartRecording());
    capture->StopRecording(); // harmless
    EXPECT_EQ(vxtest::ChildProcesses(true), 0);
}

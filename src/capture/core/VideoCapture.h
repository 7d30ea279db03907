#pragma once
// The capture control over the encoder tool: a list of devices (the
// Video4Linux capture nodes, or any injected list), camera controls through
// Video4Linux, and one encoder process per session that reads the device,
// records and sends the preview pictures.
//
// Sessions: with the preview on and no recording, the encoder only sends
// preview pictures (no file is written). Starting a recording ends that
// encoder and starts one that records into the file and sends the preview
// too; stopping the recording asks it to finish the file ("q") and goes back
// to a preview-only encoder. A device is only ever read by one encoder: the
// next session starts once the previous encoder has ended. The window's
// thread never waits for an encoder.

#include "CaptureCommand.h"
#include "CaptureControl.h"

#include <memory>
#include <string>
#include <vector>

namespace vx {

class V4l2Camera;

class VideoCapture : public CaptureControl {
  public:
    // encoder: the encoder tool's path; sources: the devices to offer.
    VideoCapture(std::string encoder, std::vector<CaptureSource> sources);
    // Ends the session: a recording is finished properly, in the background.
    ~VideoCapture() override;

    int DeviceCount() const override;
    std::string DeviceName(int index) const override;
    void SetConnected(bool on) override;
    void SetDeviceIndex(int index) override;
    int CameraControlRange(int control, CameraRange& range) override;
    int CameraControlValue(int control) override;
    bool SetCameraControl(int control, int value) override;
    void SetPreview(bool on) override;
    void SetCaptureFileName(const std::string& path) override;
    bool StartRecording() override;
    void StopRecording() override;
    bool Recording() const override;
    CaptureStatistics Statistics() const override;
    std::string Failure() const override;
    bool LatestFrame(std::uint64_t since, PreviewFrame& frame) const override;
    void SetFrameListener(std::function<void()> listener) override;
    void SetPreviewSize(int width, int height) override;

    // The process id of the running encoder, or -1 (for tests and measurements).
    int EncoderPid() const;

    struct Core;

  private:
    std::shared_ptr<Core> core_;
    std::unique_ptr<V4l2Camera> camera_;
};

// The capture control over this machine's Video4Linux devices below `root`.
std::unique_ptr<CaptureControl> MakeV4l2Capture(const std::string& encoder,
                                                const std::string& root = "/dev");

} // namespace vx

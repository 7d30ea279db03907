#pragma once
// The operations of the capture control, as the capture window uses them:
// devices, the connection, the camera's pan, tilt, roll and zoom, the preview,
// recording and its statistics. No Qt here.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vx {

// Camera control numbers.
enum CameraControl { kPan = 0, kTilt = 1, kRoll = 2, kZoom = 3 };
inline constexpr int kCameraControls = 4;

struct CameraRange {
    int minimum = 0;
    int maximum = 0;
    int step = 1;
    int defaultValue = 0;
    int flags = 0;
};

struct CaptureStatistics {
    std::int64_t frames = 0;       // frames recorded
    std::int64_t dropped = 0;      // frames dropped
    std::int64_t milliseconds = 0; // recording time
    bool final = false;            // the encoder has ended: the figures of the finished file
};

// One picture of the live preview: packed 8-bit RGB, rows without padding.
struct PreviewFrame {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
    std::uint64_t serial = 0; // counts the frames received, from 1
};

class CaptureControl {
  public:
    virtual ~CaptureControl() = default;

    virtual int DeviceCount() const = 0;
    virtual std::string DeviceName(int index) const = 0;
    // Off releases the device (and ends a preview or a recording); on opens the current one.
    virtual void SetConnected(bool on) = 0;
    virtual void SetDeviceIndex(int index) = 0;

    // 0 when the camera supports control `control` (0 pan, 1 tilt, 2 roll, 3 zoom),
    // and then its range; non-zero otherwise.
    virtual int CameraControlRange(int control, CameraRange& range) = 0;
    virtual int CameraControlValue(int control) = 0;
    virtual bool SetCameraControl(int control, int value) = 0;

    virtual void SetPreview(bool on) = 0;
    virtual void SetCaptureFileName(const std::string& path) = 0;
    virtual bool StartRecording() = 0;
    // Ends the recording and closes the file; harmless when not recording.
    virtual void StopRecording() = 0;
    virtual bool Recording() const = 0;
    // The figures of the current recording, or of the last one after it ended.
    virtual CaptureStatistics Statistics() const = 0;

    // Why the last session ended by itself (a file that cannot be written, a
    // full disk, a busy device), in a few words; empty when it was ended as
    // asked or still runs.
    virtual std::string Failure() const = 0;

    // The preview's latest picture; false when there is none newer than `since`.
    // A picture without pixels is news too: the session ended by itself and
    // no live picture is left to show.
    virtual bool LatestFrame(std::uint64_t since, PreviewFrame& frame) const = 0;
    // Called from another thread whenever a new picture has arrived; keep it short.
    virtual void SetFrameListener(std::function<void()> listener) = 0;
    // The size of the preview pictures.
    virtual void SetPreviewSize(int width, int height) = 0;
};

} // namespace vx

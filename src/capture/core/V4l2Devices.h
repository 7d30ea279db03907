#pragma once
// Video4Linux: the capture devices of a device folder and their camera
// controls (pan, tilt, zoom; Video4Linux has no roll).

#include "CaptureControl.h"

#include <string>
#include <vector>

namespace vx {

struct V4l2Device {
    std::string node; // e.g. "/dev/video0"
    std::string card; // the driver's name for the device
};

// The "video<N>" nodes of `root` that can capture video, in number order.
// Nodes that cannot be opened or are no capture devices are left out.
std::vector<V4l2Device> ListV4l2Devices(const std::string& root = "/dev");

// An open device node for its camera controls; closed when destroyed.
class V4l2Camera {
  public:
    V4l2Camera() = default;
    explicit V4l2Camera(const std::string& node);
    ~V4l2Camera();
    V4l2Camera(const V4l2Camera&) = delete;
    V4l2Camera& operator=(const V4l2Camera&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    // 0 with the range when the control is supported, -1 otherwise.
    int Range(int control, CameraRange& range) const;
    int Value(int control) const;
    bool Set(int control, int value) const;

  private:
    int fd_ = -1;
};

} // namespace vx

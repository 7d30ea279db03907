#include "V4l2Devices.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <linux/videodev2.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vx {

namespace {

int Ioctl(int fd, unsigned long request, void* argument) {
    int result;
    do {
        result = ioctl(fd, request, argument);
    } while (result < 0 && errno == EINTR);
    return result;
}

// The number N of a "videoN" name, or -1.
int NodeNumber(const char* name) {
    if (std::strncmp(name, "video", 5) != 0 || name[5] == '\0') return -1;
    int number = 0;
    for (const char* c = name + 5; *c; ++c) {
        if (*c < '0' || *c > '9' || number > 100000) return -1;
        number = number * 10 + (*c - '0');
    }
    return number;
}

// The card name when the node is a video capture device.
bool QueryCapture(const std::string& node, std::string& card) {
    struct stat info {};
    if (stat(node.c_str(), &info) != 0 || !S_ISCHR(info.st_mode)) return false;
    const int fd = open(node.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    v4l2_capability capability{};
    const bool queried = Ioctl(fd, VIDIOC_QUERYCAP, &capability) == 0;
    close(fd);
    if (!queried) return false;
    const std::uint32_t caps = (capability.capabilities & V4L2_CAP_DEVICE_CAPS)
                                   ? capability.device_caps
                                   : capability.capabilities;
    if (!(caps & V4L2_CAP_VIDEO_CAPTURE)) return false;
    const char* text = reinterpret_cast<const char*>(capability.card);
    card.assign(text, strnlen(text, sizeof capability.card));
    if (card.empty()) card = node;
    return true;
}

// The Video4Linux control of camera control number `control`; 0 for roll.
std::uint32_t ControlId(int control) {
    switch (control) {
    case kPan:
        return V4L2_CID_PAN_ABSOLUTE;
    case kTilt:
        return V4L2_CID_TILT_ABSOLUTE;
    case kZoom:
        return V4L2_CID_ZOOM_ABSOLUTE;
    default:
        return 0;
    }
}

} // namespace

std::vector<V4l2Device> ListV4l2Devices(const std::string& root) {
    std::vector<std::pair<int, std::string>> nodes;
    if (DIR* folder = opendir(root.c_str())) {
        while (const dirent* entry = readdir(folder))
            if (const int number = NodeNumber(entry->d_name); number >= 0)
                nodes.emplace_back(number, root + "/" + entry->d_name);
        closedir(folder);
    }
    std::sort(nodes.begin(), nodes.end());
    std::vector<V4l2Device> devices;
    for (const auto& [number, node] : nodes) {
        std::string card;
        if (QueryCapture(node, card)) devices.push_back({node, card});
    }
    return devices;
}

V4l2Camera::V4l2Camera(const std::string& node)
    : fd_(node.empty() ? -1 : open(node.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC)) {}

V4l2Camera::~V4l2Camera() {
    if (fd_ >= 0) close(fd_);
}

int V4l2Camera::Range(int control, CameraRange& range) const {
    const std::uint32_t id = ControlId(control);
    if (fd_ < 0 || id == 0) return -1;
    v4l2_queryctrl query{};
    query.id = id;
    if (Ioctl(fd_, VIDIOC_QUERYCTRL, &query) != 0) return -1;
    if (query.flags & (V4L2_CTRL_FLAG_DISABLED | V4L2_CTRL_FLAG_READ_ONLY)) return -1;
    range = {query.minimum, query.maximum, query.step, query.default_value,
             static_cast<int>(query.flags)};
    return 0;
}

int V4l2Camera::Value(int control) const {
    const std::uint32_t id = ControlId(control);
    v4l2_control value{};
    value.id = id;
    if (fd_ < 0 || id == 0 || Ioctl(fd_, VIDIOC_G_CTRL, &value) != 0) return 0;
    return value.value;
}

bool V4l2Camera::Set(int control, int value) const {
    const std::uint32_t id = ControlId(control);
    v4l2_control setting{};
    setting.id = id;
    setting.value = value;
    return fd_ >= 0 && id != 0 && Ioctl(fd_, VIDIOC_S_CTRL, &setting) == 0;
}

} // namespace vx

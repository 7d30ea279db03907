#include "VideoCapture.h"

#include "CaptureFile.h"
#include "CaptureProgress.h"
#include "EncoderProcess.h"
#include "V4l2Devices.h"

#include <mutex>
#include <utility>

namespace vx {

// The state the encoder threads share with the window. An encoder's events
// keep it alive, so that a recording still being finished after the window
// has gone can report to it.
struct VideoCapture::Core : std::enable_shared_from_this<Core> {
    enum class Mode { None, Preview, Record };

    mutable std::mutex mutex;
    std::string encoder;
    std::vector<CaptureSource> sources;
    int index = -1;
    bool connected = false;
    bool preview = false;
    bool record = false;
    bool closed = false;
    std::string file;
    int width = 320;
    int height = 240;

    std::shared_ptr<EncoderProcess> running;
    Mode runningMode = Mode::None;
    int runningIndex = -1;
    bool stopping = false;

    ProgressReader progress;
    CaptureStatistics statistics;
    std::string failure;
    PreviewFrame latest;
    std::function<void()> listener;

    bool Usable() const { return index >= 0 && index < static_cast<int>(sources.size()); }

    Mode Wanted() const {
        if (closed || !connected || !Usable()) return Mode::None;
        if (record) return Mode::Record;
        return preview ? Mode::Preview : Mode::None;
    }

    // Brings the encoder in line with what is wanted: ends the running one when
    // it no longer fits, starts the wanted one when none runs. Mutex held.
    void Reconcile() {
        const Mode wanted = Wanted();
        if (running) {
            if ((runningMode != wanted || runningIndex != index) && !stopping) {
                stopping = true;
                // A recording is finished properly; a preview has nothing to keep.
                if (runningMode == Mode::Record)
                    running->Stop();
                else
                    running->Kill();
            }
            return;
        }
        if (wanted == Mode::None) return;
        const bool recording = wanted == Mode::Record;
        const std::string target = recording ? file : std::string();
        progress = {};
        failure.clear();
        if (recording) statistics = {};
        running = EncoderProcess::Start(
            CaptureArguments(encoder, sources[static_cast<std::size_t>(index)], target, width,
                             height),
            static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3, Events(target));
        if (!running) {
            Failed("the encoder tool " + encoder + " cannot be started", target);
            return;
        }
        runningMode = wanted;
        runningIndex = index;
    }

    // The session has ended by itself: nothing more is wanted, an unused
    // reservation of `target` is given back, and the picture of a device that
    // no longer sends any goes. Mutex held.
    void Failed(std::string reason, const std::string& target) {
        failure = std::move(reason);
        record = preview = false;
        ReleaseCaptureFile(target);
        latest.rgb.clear();
        ++latest.serial;
        if (listener) listener();
    }

    // target: the file a recording writes; empty for a preview.
    EncoderProcess::Events Events(const std::string& target) {
        auto self = shared_from_this();
        const int w = width, h = height;
        const bool recording = !target.empty();
        EncoderProcess::Events events;
        events.picture = [self, w, h](std::vector<std::uint8_t>& picture) {
            std::lock_guard lock(self->mutex);
            self->latest.rgb.swap(picture);
            self->latest.width = w;
            self->latest.height = h;
            ++self->latest.serial;
            if (self->listener) self->listener();
        };
        events.report = [self, recording](std::string_view bytes) {
            std::lock_guard lock(self->mutex);
            if (self->progress.Feed(bytes) && recording)
                self->statistics = self->progress.Statistics();
        };
        events.ended = [self, target, recording](int exitCode) {
            std::lock_guard lock(self->mutex);
            self->running.reset();
            if (recording) self->statistics.final = true;
            // An encoder that ended unasked (no device, a full disk) ends the session.
            if (!std::exchange(self->stopping, false))
                self->Failed(FailureReason(self->progress.LastMessage(), exitCode), target);
            self->Reconcile();
        };
        return events;
    }
};

VideoCapture::VideoCapture(std::string encoder, std::vector<CaptureSource> sources)
    : core_(std::make_shared<Core>()) {
    core_->encoder = std::move(encoder);
    core_->sources = std::move(sources);
}

VideoCapture::~VideoCapture() {
    std::lock_guard lock(core_->mutex);
    core_->closed = true;
    core_->listener = nullptr;
    core_->Reconcile();
}

int VideoCapture::DeviceCount() const {
    return static_cast<int>(core_->sources.size());
}

std::string VideoCapture::DeviceName(int index) const {
    if (index < 0 || index >= DeviceCount()) return {};
    return core_->sources[static_cast<std::size_t>(index)].name;
}

void VideoCapture::SetConnected(bool on) {
    std::string node;
    {
        std::lock_guard lock(core_->mutex);
        core_->connected = on;
        if (on && core_->Usable())
            node = core_->sources[static_cast<std::size_t>(core_->index)].node;
        core_->Reconcile();
    }
    camera_ = on && !node.empty() ? std::make_unique<V4l2Camera>(node) : nullptr;
}

void VideoCapture::SetDeviceIndex(int index) {
    std::lock_guard lock(core_->mutex);
    if (index < 0 || index >= DeviceCount()) return;
    core_->index = index;
    core_->Reconcile();
}

int VideoCapture::CameraControlRange(int control, CameraRange& range) {
    return camera_ ? camera_->Range(control, range) : -1;
}

int VideoCapture::CameraControlValue(int control) {
    return camera_ ? camera_->Value(control) : 0;
}

bool VideoCapture::SetCameraControl(int control, int value) {
    return camera_ && camera_->Set(control, value);
}

void VideoCapture::SetPreview(bool on) {
    std::lock_guard lock(core_->mutex);
    core_->preview = on;
    core_->Reconcile();
}

void VideoCapture::SetCaptureFileName(const std::string& path) {
    std::lock_guard lock(core_->mutex);
    core_->file = path;
}

bool VideoCapture::StartRecording() {
    std::lock_guard lock(core_->mutex);
    if (!core_->connected || !core_->Usable() || core_->file.empty()) return false;
    if (!core_->record) core_->statistics = {}; // no figures of an earlier recording
    core_->record = true;
    core_->Reconcile();
    return core_->record;
}

void VideoCapture::StopRecording() {
    std::lock_guard lock(core_->mutex);
    core_->record = false;
    core_->Reconcile();
}

bool VideoCapture::Recording() const {
    std::lock_guard lock(core_->mutex);
    return core_->record;
}

CaptureStatistics VideoCapture::Statistics() const {
    std::lock_guard lock(core_->mutex);
    return core_->statistics;
}

std::string VideoCapture::Failure() const {
    std::lock_guard lock(core_->mutex);
    return core_->failure;
}

bool VideoCapture::LatestFrame(std::uint64_t since, PreviewFrame& frame) const {
    std::lock_guard lock(core_->mutex);
    if (core_->latest.serial <= since) return false;
    frame = core_->latest;
    return true;
}

void VideoCapture::SetFrameListener(std::function<void()> listener) {
    std::lock_guard lock(core_->mutex);
    core_->listener = std::move(listener);
}

void VideoCapture::SetPreviewSize(int width, int height) {
    if (width <= 0 || height <= 0) return;
    std::lock_guard lock(core_->mutex);
    core_->width = width & ~1; // the encoder's picture formats want even sizes
    core_->height = height & ~1;
}

int VideoCapture::EncoderPid() const {
    std::lock_guard lock(core_->mutex);
    return core_->running ? core_->running->Pid() : -1;
}

std::unique_ptr<CaptureControl> MakeV4l2Capture(const std::string& encoder,
                                                const std::string& root) {
    std::vector<CaptureSource> sources;
    for (const V4l2Device& device : ListV4l2Devices(root))
        sources.push_back(V4l2Source(device.node, device.card));
    return std::make_unique<VideoCapture>(encoder, std::move(sources));
}

} // namespace vx

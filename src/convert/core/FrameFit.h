#pragma once
// Fitting the source's picture into the frame an entry asks for. The frame
// keeps its size (devices need it); the picture keeps its proportions and the
// rest of the frame is black (letterbox or pillarbox); the file says at which
// shape the frame is to be shown.

#include <optional>
#include <string>
#include <string_view>

namespace vx {

struct FrameSize {
    int width = 0;
    int height = 0;
    bool Known() const { return width > 0 && height > 0; }
};

// "1280x720" as a size; nothing for any other text.
std::optional<FrameSize> ReadFrameSize(std::string_view text);

struct Ratio {
    int num = 1;
    int den = 1;
};

// The shape a frame is shown at in an entry: its own, except for the frames of
// television and disc standards, which are shown at 4:3.
Ratio ShownAspect(int position, FrameSize frame);

struct FrameFit {
    std::string videoCodec; // the encoder's codec text, any fixed aspect in it made the frame's
    std::string options;    // what follows "-s WxH": empty when the picture fills the frame as is
};

// `source` may be unknown (0x0): its picture is then taken as the frame asks.
FrameFit FitToFrame(int position, const std::string& videoSize, FrameSize source,
                    const std::string& encoderVideoCodec);

} // namespace vx

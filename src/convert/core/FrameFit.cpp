#include "FrameFit.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numeric>

namespace vx {

namespace {

// Frames of the television, disc and phone standards, whose pixels are not
// square: 4:3 pictures (H.263 writes its QCIF and CIF frames so whatever it is
// told). The PS3 entries (20-23) are made for wide screens and show every frame
// with square pixels; the disc frames are the discs' own only in the disc entries.
constexpr std::string_view kTelevisionFrames[] = {"720x480", "720x576", "176x144", "352x288"};
constexpr std::string_view kDiscFrames[] = {"704x480", "704x576", "352x480", "352x576", "352x240"};
constexpr int kWideFirst = 20, kWideLast = 23; // Sony PS3 and its profiles
constexpr int kDiscFirst = 79, kDiscLast = 83; // DVD, MPEG-I and MPEG-II
// Shapes closer than this count as the same.
constexpr double kSameShape = 0.01;

template <std::size_t N> bool Holds(const std::string_view (&frames)[N], std::string_view size) {
    for (std::string_view frame : frames)
        if (frame == size) return true;
    return false;
}

std::string SizeText(FrameSize frame) {
    return std::to_string(frame.width) + "x" + std::to_string(frame.height);
}

Ratio Reduced(long num, long den) {
    const long divisor = std::gcd(num, den);
    return {static_cast<int>(num / divisor), static_cast<int>(den / divisor)};
}

double Value(Ratio r) {
    return static_cast<double>(r.num) / r.den;
}

// The nearest even count of pixels, at least 2 and at most `limit`.
int Even(double pixels, int limit) {
    const int even = 2 * static_cast<int>(std::lround(pixels / 2));
    return std::min(std::max(even, 2), limit);
}

// The picture's size inside the frame when the frame is shown at `shown`.
FrameSize PictureSize(FrameSize frame, Ratio shown, FrameSize source) {
    const double picture = static_cast<double>(source.width) / source.height;
    if (picture > Value(shown)) // wider: black above and below
        return {frame.width, Even(frame.height * Value(shown) / picture, frame.height)};
    return {Even(frame.width * picture / Value(shown), frame.width), frame.height};
}

std::string AspectText(Ratio r) {
    return std::to_string(r.num) + ":" + std::to_string(r.den);
}

} // namespace

std::optional<FrameSize> ReadFrameSize(std::string_view text) {
    const std::size_t x = text.find('x');
    if (x == std::string_view::npos) return {};
    FrameSize size;
    const auto read = [](std::string_view part, int& value) {
        const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), value);
        return error == std::errc() && end == part.data() + part.size() && value > 0;
    };
    if (!read(text.substr(0, x), size.width) || !read(text.substr(x + 1), size.height)) return {};
    return size;
}

Ratio ShownAspect(int position, FrameSize frame) {
    const std::string size = SizeText(frame);
    const bool wide = position >= kWideFirst && position <= kWideLast;
    const bool disc = position >= kDiscFirst && position <= kDiscLast;
    if ((Holds(kTelevisionFrames, size) && !wide) || (Holds(kDiscFrames, size) && disc))
        return {4, 3};
    return Reduced(frame.width, frame.height);
}

FrameFit FitToFrame(int position, const std::string& videoSize, FrameSize source,
                    const std::string& encoderVideoCodec) {
    FrameFit fit{encoderVideoCodec, {}};
    const auto frame = ReadFrameSize(videoSize);
    if (!frame) return fit; // the encoder judges the size
    const Ratio shown = ShownAspect(position, *frame);
    const std::string aspect = AspectText(shown);
    // The xvid text brings its own "-aspect 4:3": it names the frame's shape instead.
    const std::size_t fixed = fit.videoCodec.find("-aspect 4:3");
    if (fixed != std::string::npos) fit.videoCodec.replace(fixed + 8, 3, aspect);
    const bool codecSaysAspect = fixed != std::string::npos;
    const bool squarePixels =
        static_cast<long>(shown.num) * frame->height == static_cast<long>(shown.den) * frame->width;
    const std::string aspectOption = codecSaysAspect ? "" : " -aspect " + aspect;
    if (!source.Known()) return fit;
    const double picture = static_cast<double>(source.width) / source.height;
    if (std::abs(picture / Value(shown) - 1) <= kSameShape) {
        // The picture fills the frame as it is scaled today; only a frame of
        // non-square pixels must say how it is shown.
        if (!squarePixels) fit.options = aspectOption;
        return fit;
    }
    const FrameSize inner = PictureSize(*frame, shown, source);
    const Ratio pixel = Reduced(static_cast<long>(shown.num) * frame->height,
                                static_cast<long>(shown.den) * frame->width);
    fit.options = " -vf scale=" + std::to_string(inner.width) + ":" + std::to_string(inner.height) +
                  ",pad=" + std::to_string(frame->width) + ":" + std::to_string(frame->height) +
                  ":(ow-iw)/2:(oh-ih)/2,setsar=" +
                  (squarePixels ? std::string("1")
                                : std::to_string(pixel.num) + "/" + std::to_string(pixel.den)) +
                  aspectOption;
    return fit;
}

} // namespace vx

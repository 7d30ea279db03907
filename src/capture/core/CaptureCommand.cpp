#include "CaptureCommand.h"

namespace vx {

CaptureSource V4l2Source(const std::string& node, const std::string& card) {
    return {card, {"-f", "v4l2", "-i", node}, node};
}

CaptureSource TestPatternSource() {
    // Paced like a camera by the "realtime" filter: one picture every 40 ms from
    // the start. Reading at the input's rate ("-re") lets newer encoders send a
    // burst ahead of the clock, and a recording then holds more than its time.
    return {"Test pattern (640x480)",
            {"-f", "lavfi", "-i", "testsrc=size=640x480:rate=25,realtime"},
            {}};
}

std::vector<std::string> CaptureArguments(const std::string& encoder, const CaptureSource& source,
                                          const std::string& file, int width, int height) {
    // Only errors reach standard error besides the progress report, which
    // comes four times a second so that the status line is never far behind.
    std::vector<std::string> arguments{encoder,     "-hide_banner",  "-nostats",
                                       "-loglevel", "error",         "-progress",
                                       "pipe:2",    "-stats_period", "0.25"};
    arguments.insert(arguments.end(), source.input.begin(), source.input.end());
    if (!file.empty()) {
        // Motion JPEG in AVI: every player and editor reads it (VLC, mpv,
        // Windows Media Player, QuickTime), it costs little to encode in real
        // time, and each frame stands alone, so a recording cut short still
        // plays. 4:2:0 sampling is the form every decoder takes. The "file:"
        // prefix keeps a name such as "-x.avi" or "a:b.avi" a plain file name.
        const std::vector<std::string> record{"-map", "0:v", "-c:v",        "mjpeg",
                                              "-q:v", "3",   "-pix_fmt",    "yuvj420p",
                                              "-f",   "avi", "file:" + file};
        arguments.insert(arguments.end(), record.begin(), record.end());
    }
    const std::string size = std::to_string(width) + ":" + std::to_string(height);
    // The preview keeps the picture's shape: scaled to fit, bordered in black.
    const std::string fit = "scale=" + size + ":force_original_aspect_ratio=decrease,pad=" + size +
                            ":(ow-iw)/2:(oh-ih)/2";
    const std::vector<std::string> preview{"-map",  "0:v", "-vf",      fit,     "-pix_fmt",
                                           "rgb24", "-f",  "rawvideo", "pipe:1"};
    arguments.insert(arguments.end(), preview.begin(), preview.end());
    return arguments;
}

} // namespace vx

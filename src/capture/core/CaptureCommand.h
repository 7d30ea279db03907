#pragma once
// The devices the capture window offers and the encoder command that records
// and previews one of them.

#include <string>
#include <vector>

namespace vx {

struct CaptureSource {
    std::string name;               // shown in the device list
    std::vector<std::string> input; // the encoder's input options, ending in "-i <input>"
    std::string node;               // the Video4Linux node for camera controls; empty: none
};

// A Video4Linux capture node, e.g. "/dev/video0".
CaptureSource V4l2Source(const std::string& node, const std::string& card);

// The encoder's generated test picture, 640x480 at 25 frames a second, in
// real time: a camera for machines that have none.
CaptureSource TestPatternSource();

// The encoder's argument list for one session. It writes its progress report
// to standard error and the preview as raw RGB pictures of width x height to
// standard output; with a file, it records into that file first.
std::vector<std::string> CaptureArguments(const std::string& encoder, const CaptureSource& source,
                                          const std::string& file, int width, int height);

} // namespace vx

#pragma once
// What the capture tests check in a recorded file, read by ffprobe, which
// decodes every frame to count them (a broken file fails here).

#include "TestMedia.h"

#include <cstdlib>
#include <sstream>
#include <string>

namespace vxtest {

struct Recording {
    bool ok = false;
    std::string codec;
    int width = 0;
    int height = 0;
    int frames = 0;
    double seconds = 0;
};

inline Recording ProbeRecording(const std::string& path) {
    const RunResult run =
        Run({"ffprobe", "-v", "error", "-count_frames", "-select_streams", "v:0", "-show_entries",
             "stream=codec_name,width,height,nb_read_frames:format=duration,"
             "format_name",
             "-of", "default=nw=1", path});
    Recording file;
    if (run.exitCode != 0) return file;
    bool complaints = false; // ffprobe's messages about damaged frames
    std::istringstream lines(run.output);
    for (std::string line; std::getline(lines, line);) {
        const auto eq = line.find('=');
        if (eq == std::string::npos || line[0] == '[') {
            complaints = complaints || !line.empty();
            continue;
        }
        const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        if (key == "codec_name") file.codec = value;
        if (key == "width") file.width = std::atoi(value.c_str());
        if (key == "height") file.height = std::atoi(value.c_str());
        if (key == "nb_read_frames") file.frames = std::atoi(value.c_str());
        if (key == "duration") file.seconds = std::atof(value.c_str());
        if (key == "format_name") file.ok = value == "avi";
    }
    file.ok = file.ok && file.frames > 0 && !complaints;
    return file;
}

inline bool Near(double value, double expected, double share) {
    return value >= expected * (1 - share) && value <= expected * (1 + share);
}

} // namespace vxtest

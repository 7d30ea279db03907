#pragma once
// The file a recording goes into. A recording never replaces a file: when the
// chosen name is taken, the next free one is used ("dvcapture.avi",
// "dvcapture-2.avi", "dvcapture-3.avi", ...), and the name is taken at once by
// creating the file empty, so that two recordings never share one.

#include <string>

namespace vx {

struct CaptureTarget {
    std::string path;   // the whole path: the reserved file, or the one that failed
    std::string reason; // why no file could be reserved; empty when one was
};

// typed: the name as the user gave it; folder: where a relative name is taken.
// An empty name reserves nothing (path and reason then say so).
CaptureTarget ReserveCaptureFile(const std::string& typed, const std::string& folder);

// "a/clip.avi" numbered 2 is "a/clip-2.avi"; a name already numbered
// ("clip-2.avi") counts on from its number.
std::string NextCaptureName(const std::string& path);

// Removes the file when it is still empty: a reservation no recording used.
void ReleaseCaptureFile(const std::string& path);

} // namespace vx

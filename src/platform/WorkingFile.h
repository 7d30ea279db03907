#pragma once
// An output is written under a working name beside its final one and takes the
// final name only when it is whole: "clip.mp4" is written as "clip.vxpart.mp4"
// (the extension kept: the encoder picks the container from it) and renamed over
// "clip.mp4" in one step when its conversion ends well. Any other end removes
// the working file and leaves the final name alone. We remove only files we
// made, and only while the file at that path is still the one we made (same
// device and inode).

#include <cstdint>
#include <optional>
#include <string>

namespace vx {

struct FileIdentity {
    std::uint64_t device = 0, inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The identity of what is at the path (a link itself, not what it points to);
// none when nothing is there.
std::optional<FileIdentity> IdentityOf(const std::string& path);

// Removes the file at the path only while it is the one given; true when removed.
bool RemoveIfSame(const std::string& path, const FileIdentity& identity);

struct WorkingFile {
    std::string path;
    FileIdentity identity;
};

// The working name of a final path: ".vxpart" before its extension. A later
// attempt (a name already taken by a file that is not ours) adds its number.
std::string WorkingName(const std::string& finalPath, int attempt = 0);
// Whether the path's file name is one that WorkingName makes.
bool IsWorkingName(const std::string& path);

// Makes an empty working file for the final path, never over an existing file
// (a taken name gives the next attempt's); none, with the reason, when the
// folder does not let us.
std::optional<WorkingFile> CreateWorkingFile(const std::string& finalPath,
                                             std::string* reason = nullptr);

// The working file renamed over the final name in one step; the reason when it
// could not be (then nothing has moved).
std::optional<std::string> PromoteWorkingFile(const WorkingFile& working,
                                              const std::string& finalPath);

} // namespace vx

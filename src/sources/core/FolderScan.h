#pragma once
// What a drop, the open dialog or a command line names, made into the files to
// add: a folder gives every Flash Video file below it, in natural order, hidden
// files and folders left out; a Flash Video file is taken as it is; any other
// file is refused and named.

#include <atomic>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

// One file to add, and the folder it was added with (empty: added on its own).
struct FoundFile {
    std::string path;
    std::string root;
    bool operator==(const FoundFile&) const = default;
};

struct ScanResult {
    std::vector<FoundFile> files;
    std::vector<std::string> refused; // the names of the files that are no Flash Video
    std::vector<std::string> notes;   // one line for each folder passed over
};

struct ScanControl {
    const std::atomic<bool>* cancelled = nullptr; // set from another thread to stop
    std::function<void(int found)> progress;      // now and then, with the files found so far
};

// "part2" before "part10": runs of digits compare by their value, the rest
// without regard to case.
bool NaturalLess(std::string_view a, std::string_view b);

// A name a folder's scan takes: it ends in ".flv" or ".f4v", in any case.
bool HasFlashVideoExtension(std::string_view name);

// The given paths in their order. Symbolic links to folders are followed; one
// that leads back to a folder already scanned, and a folder that cannot be
// read, are passed over with a note.
ScanResult CollectSources(const std::vector<std::string>& paths, const ScanControl& control = {});

// True when a folder stands at the path (a link to one counts).
bool IsFolder(const std::string& path);

// "Only FLV files are allowed! Not added: a.mp4, notes.txt".
std::string RefusedSentence(const std::vector<std::string>& refused);

} // namespace vx

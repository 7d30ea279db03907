#pragma once
// What a watched folder has converted: one line per file with its size, its
// modification time and the result, kept in the user's state folder so that a
// file is never converted twice, also across runs. A file that changes after
// its line was written counts as a new file.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace vx {

struct WatchedFile {
    std::int64_t size = 0, mtime = 0; // mtime in nanoseconds
    std::string result;               // "OK", "Fail", ...
    bool operator==(const WatchedFile&) const = default;
};

class WatchRecord {
  public:
    // The record of the folder `root` in `stateFolder`; read at once.
    WatchRecord(const std::string& stateFolder, const std::string& root);
    const std::string& Path() const { return path_; }
    // Whether the file, as it is now on disk, is in the record.
    bool Done(const std::string& file) const;
    // Adds the file as it is now with its result and writes the record; false
    // (with the reason) when it cannot be written.
    bool Add(const std::string& file, const std::string& result, std::string* why = nullptr);
    const std::map<std::string, WatchedFile>& Files() const { return files_; }

  private:
    std::string path_;
    std::map<std::string, WatchedFile> files_;
};

std::string EncodeWatchRecord(const std::map<std::string, WatchedFile>& files);
// Lines that cannot be read are passed over.
std::map<std::string, WatchedFile> DecodeWatchRecord(std::string_view text);

} // namespace vx

#pragma once
// Single keys of an initialisation file: sections in brackets, "key=value"
// lines, section and key names matched without regard to case.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vx {

// The value, blanks trimmed at both ends; empty when the file, the section or the key is missing.
std::string ReadSetting(const std::string& path, const std::string& section,
                        const std::string& key);

struct WriteOutcome {
    bool ok = true;
    std::string reason; // why the file could not be written, for the user
    explicit operator bool() const { return ok; }
};

// Sets the key, creating the file, the section and the key as needed, and keeps
// every other line as it was. The file is replaced in one step (a temporary file
// in the same folder, then a rename, keeping the file's mode), so it is never left
// half-written; where no temporary file can be made it is written in place.
// A value that begins or ends with a blank, or is itself wrapped in matching
// quotes, is written in one more pair of double quotes, so that ReadSetting
// gives it back byte for byte.
// Refused: a file the user may not write (also one without any write permission),
// and a section, key or value holding a line break.
WriteOutcome WriteSetting(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& value);

// A whole file at once, for files that belong to one owner (a user's profile):
// every section with its key=value lines in file order, the values as
// ReadSetting gives them.
struct IniSection {
    std::string name;
    std::vector<std::pair<std::string, std::string>> entries;
};

// Nothing, with the reason in `problem`, when the file cannot be read (see
// ReadRegularFile), holds a NUL byte, or has a line that is neither blank, a
// comment (";" or "#"), a section nor a key=value line (also a key=value line
// before any section).
std::optional<std::vector<IniSection>> ReadIniFile(const std::string& path,
                                                   std::string* problem = nullptr);
// The same for a file's text already read.
std::optional<std::vector<IniSection>> ParseIniText(std::string_view text,
                                                    std::string* problem = nullptr);

// The text of a whole file as WriteSetting would write it; nothing when a
// name, key or value holds a line break.
std::optional<std::string> FormatIniFile(const std::vector<IniSection>& sections);

// Replaces the file with `content` in one step (a folder, a named pipe or a
// device at that path is refused, never replaced): a temporary file in the same
// folder, flushed and synced, renamed over the file, and the folder synced. A
// reader sees the old file or the new one, never a mixture. The file keeps its
// mode; a new one gets `newFileMode`.
WriteOutcome WriteFileAtomically(const std::string& path, const std::string& content,
                                 unsigned newFileMode = 0644);
// Settings, profiles and kept lists are far smaller.
inline constexpr std::size_t kLargestReadFile = 64u << 20;

// The whole of a regular file, read at once. Nothing, with the reason in
// `problem`, for a folder, a named pipe, a device or a socket (refused before
// anything waits on it: a named pipe without a writer would hold the reader for
// ever, a device may never end), for a file that cannot be opened or read, and
// for one of more than `limit` bytes.
std::optional<std::string> ReadRegularFile(const std::string& path, std::string* problem = nullptr,
                                           std::size_t limit = kLargestReadFile);
// The same, empty when the file cannot be read.
std::string ReadWholeFile(const std::string& path);
// Syncs the folder that holds `path`, so that a name made or removed there
// survives a crash of the system.
void SyncFolderOf(const std::string& path);

// For tests: makes the next writes fail after this many bytes of the new file
// (a negative count turns the fault off).
void InjectSettingsWriteFault(long bytes);

} // namespace vx

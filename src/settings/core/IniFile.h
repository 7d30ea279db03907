#pragma once
// Single keys of an initialisation file: sections in brackets, "key=value"
// lines, section and key names matched without regard to case.

#include <functional>
#include <string>

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
// Refused: a file the user may not write (also one without any write permission),
// and a section, key or value holding a line break.
WriteOutcome WriteSetting(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& value);

// For tests: makes the next writes fail after this many bytes of the new file
// (a negative count turns the fault off).
void InjectSettingsWriteFault(long bytes);

} // namespace vx

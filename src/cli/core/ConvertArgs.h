#pragma once
// The command line of vantorix-convert, read into what the run needs. Nothing
// here looks at files or settings; a mistake is a usage error with its message.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vx {

struct ConvertArgs {
    bool help = false;
    bool listProfiles = false;
    bool dryRun = false;
    bool join = false; // --join: the files are parts of one output
    std::string entry; // -p: a catalog position, or an entry's exact text
    std::vector<std::pair<std::string, std::string>> sets; // --set NAME=VALUE, in order
    std::optional<std::string> outputFolder;               // -o
    std::optional<int> atOnce;                             // -j: files converted at once
    std::optional<bool> addNew;                            // --add-new / --overwrite
    bool keepFolders = false;                              // --keep-folders
    std::optional<int> start, end;                         // --start / --end, seconds into a file
    std::optional<std::string> watch;                      // --watch FOLDER
    std::vector<std::string> files;
};

struct ParsedArgs {
    ConvertArgs args;
    std::string error; // empty when the command line was understood
};

ParsedArgs ParseConvertArgs(const std::vector<std::string>& arguments);

// A clip time from "H:MM:SS", "M:SS" or whole seconds, in seconds: exactly the
// time typed, or nothing with the reason in `problem` (not a time, or 24 hours
// or more, which the list's time text cannot hold).
std::optional<int> ReadClipTime(std::string_view given, std::string* problem = nullptr);

extern const char* const kConvertUsage;

} // namespace vx

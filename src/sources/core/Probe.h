#pragma once
// Probing an added file with the player tool in identify mode.

#include "SourceList.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vx {

// The identify command line. The tool path is quoted too, so that an
// application folder with blanks still starts the tool.
std::string IdentifyCommandLine(const std::string& appFolder, const std::string& path);

// What one report says, read line by line as the row is written: a width or
// height that is not an integer stops the reading there (failed is then true,
// and only what came before it counts).
struct IdentifyReport {
    int width = 0;
    int height = 0;
    std::optional<double> length;
    std::optional<std::string> format;
    bool failed = false;
};

IdentifyReport ParseIdentifyReport(const std::string& output);

// Lines split at every line feed and every carriage return.
std::vector<std::string> SplitLines(const std::string& text);

// Appends a row for the file and fills it from the probe. The window is served
// through `pump` while the tool runs; a row removed meanwhile is left alone.
void AddSourceFile(SourceList& list, const std::string& appFolder, const std::string& path,
                   const std::function<void()>& pump);

// The rule for dropped files: the last three characters, upper-cased, are "FLV".
bool IsFlvName(const std::string& path);

// The files chosen in the open dialog: one folder (ending in "/") and names.
struct SelectedFiles {
    int Count = 0;
    std::string Folder;
    std::vector<std::string> Names;
};

// Built from the full paths the dialog returns, in the dialog's order.
SelectedFiles ParseDialogSelection(const std::vector<std::string>& paths);

} // namespace vx

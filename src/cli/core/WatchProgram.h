#pragma once
// vantorix-convert --watch: converts each Flash Video file that arrives below a
// folder once it is whole, never the same file twice, until it is interrupted.

#include "ConvertProgram.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace vx {

struct WatchBatch {
    std::map<std::string, std::string> results; // file -> its row's status
    bool interrupted = false;
};
// Converts the files as one batch, as the command line converts its files.
using ConvertFiles = std::function<WatchBatch(const std::vector<std::string>&)>;

// Watches `root` (an absolute folder); files below `outputFolder` are not taken.
// The record of what was done lives in `stateFolder`.
int RunWatch(const std::string& root, const std::string& outputFolder,
             const std::string& stateFolder, const ConvertFiles& convert, const ConvertIo& io);

} // namespace vx

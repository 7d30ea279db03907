#pragma once
// The encoder commands of the batch benchmarks, built as the batch builds them.

#include "Catalog.h"
#include "EncoderCommand.h"
#include "MainWindow.h"
#include "SheetLayout.h"

#include <string>
#include <vector>

namespace vxbench {

// The encoder commands a batch of the window's rows builds for a position,
// writing into the application folder.
inline std::vector<std::string> BatchCommands(vx::MainWindow& window, int position,
                                              const std::string& appFolder) {
    std::vector<std::string> commands;
    for (int row = 0; row < window.sources().Count(); ++row) {
        vx::JobRequest request;
        request.position = position;
        request.displayText = vx::ProfileCatalog::At(position)->text;
        request.options = *vx::ReadConversionOptions(window.sheet());
        request.options.ClipStart = window.sources().At(row, vx::kStart);
        request.options.ClipEnd = window.sources().At(row, vx::kEnd);
        request.sourcePath = window.sources().At(row, vx::kFileName);
        request.appFolder = appFolder;
        request.outputFolder = appFolder;
        request.addNew = false;
        commands.push_back(vx::PrepareConversion(request).value->commandLine);
    }
    return commands;
}

} // namespace vxbench

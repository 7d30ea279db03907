#pragma once
// What the batch benchmarks share: their folder of sources, the window loaded
// with them, and the encoder commands built as the batch builds them.

#include "AppFolder.h"
#include "BatchRun.h"
#include "BenchUtil.h"
#include "CommandLine.h"
#include "IniFile.h"
#include "MainWindow.h"
#include "ProfileChooser.h"
#include "Settings.h"
#include "SheetLayout.h"
#include "TestMedia.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace vxbench {

// The encoder commands a batch of the window's rows would run now, for the
// picked entry.
inline std::vector<std::string> BatchCommands(vx::MainWindow& window) {
    std::vector<std::string> commands;
    for (const auto& job : window.batch().Plan())
        if (job.ok()) commands.push_back(job.value->commandLine);
    return commands;
}

// A folder that serves as application and output folder (the tools linked in,
// existing outputs replaced) with `count` copies of one generated file (640x480 unless
// `spec` says otherwise), offered by the desktop's open dialog; empty when the
// file could not be made.
inline std::string MakeBatchFolder(const char* name, double seconds, int count,
                                   ScriptedDesktop& desktop,
                                   vxtest::FlvSpec spec = {.width = 640, .height = 480}) {
    namespace fs = std::filesystem;
    const std::string folder = vxtest::MakeTempFolder(name);
    vxtest::LinkTools(folder, vx::ApplicationFolderRaw());
    vx::WriteSetting(vx::SettingsPath(folder), "set", "existedfile", "1");
    vx::WriteSetting(vx::SettingsPath(folder), "set", "outputfolder", folder);
    spec.seconds = seconds;
    if (!vxtest::MakeFlv(folder + "/source.flv", spec)) return {};
    for (int i = 0; i < count; ++i) {
        const std::string path = folder + "/movie" + std::to_string(i) + ".flv";
        fs::copy_file(folder + "/source.flv", path);
        desktop.files << QString::fromStdString(path);
    }
    return folder;
}

// Adds the dialog's files, waits for their probes and picks the profile.
inline void LoadRows(vx::MainWindow& window, int position) {
    window.show();
    window.AddFiles();
    ServeUntil([&] { return window.probing() == 0; });
    window.chooser()->setCurrentIndex(position - 1);
    emit window.chooser()->activated(position - 1);
}

// Runs the commands directly, one after the other; the seconds they took.
inline double RunDirect(const std::vector<std::string>& commands, const std::string& folder) {
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& command : commands)
        vxtest::Run(vx::SplitCommandLine(command), folder);
    return Seconds(std::chrono::steady_clock::now() - start);
}

} // namespace vxbench

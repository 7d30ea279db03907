// vantorix-convert against the plain encoder: a three-minute 640x480 file (an
// ordinary length for a web video) to an H.264 MP4 through the program and as
// the same encoder command (its own dry run) run directly; how long the program
// takes to start and end when it has nothing to convert; and what it adds
// before the encoder starts (the player's probe of the file, nearly all of it
// the player's own start-up, and the command built), timed as its dry run.
// One run's time drifts by several per cent on a shared machine: many pairs.
#include "AppFolder.h"
#include "BenchUtil.h"
#include "TestMedia.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Timed(const std::vector<std::string>& arguments) {
    const auto start = Clock::now();
    vxtest::Run(arguments);
    return vxbench::Seconds(Clock::now() - start);
}

} // namespace

int main() {
    const std::string app = vx::ApplicationFolderRaw();
    const std::string program = app + "/vantorix-convert";
    std::vector<double> starts;
    for (int run = 0; run < 15; ++run)
        starts.push_back(Timed({program, "--list-profiles"}) * 1000);
    std::printf("cli_startup_ms %.1f\n", vxbench::Median(starts));

    const std::string folder = vxtest::MakeTempFolder("vx-bench-cli");
    if (!vxtest::MakeFlv(folder + "/source.flv", {.seconds = 180, .width = 640, .height = 480}))
        return 1;
    std::vector<std::string> convert = {program,         "-p",         "86", "-j", "1", "-o",
                                        folder + "/out", "--overwrite"};
    convert.push_back(folder + "/source.flv");
    fs::create_directories(folder + "/out");
    std::vector<std::string> dryRun = convert;
    dryRun.push_back("--dry-run");
    std::vector<double> added;
    for (int run = 0; run < 9; ++run)
        added.push_back(Timed(dryRun) * 1000);
    std::printf("cli_added_ms %.0f\n", vxbench::Median(added));
    std::istringstream lines(vxtest::Run(dryRun).output);
    std::vector<std::string> commands;
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("ffmpeg ", 0) == 0) commands.push_back(line);
    auto direct = [&] {
        const auto start = Clock::now();
        for (const std::string& command : commands)
            vxtest::Run({"/bin/sh", "-c", "exec " + command});
        return vxbench::Seconds(Clock::now() - start);
    };
    // Pairs in alternating order; the median of their ratios.
    std::vector<double> ratios;
    for (int pair = 0; pair < 8; ++pair) {
        const double plain = pair % 2 == 0 ? direct() : 0;
        const double ours = Timed(convert);
        const double theirs = pair % 2 == 1 ? direct() : plain;
        std::fprintf(stderr, "pair %d: ours %.2f s, direct %.2f s\n", pair, ours, theirs);
        ratios.push_back(ours / theirs);
    }
    std::printf("cli_overhead_ratio %.3f\n", vxbench::Median(ratios));
    vxtest::RemoveFolder(folder);
    return 0;
}

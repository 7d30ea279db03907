// vantorix-convert against the plain encoder:
// - cli_startup_ms: how long the program takes to start and end when it has
//   nothing to convert;
// - cli_added_ms: what it adds before the encoders start (the player's probe of
//   the files and the commands built), timed as its dry run;
// - cli_overhead_ratio (-j 1) and cli_overhead_ratio_auto (-j 0): a batch of
//   four 30 s 640x480 files to H.264 MP4 through the program, against the same
//   encoder commands (its own dry run) run directly, one after the other or as
//   many at once as the program ran; the median of interleaved pairs;
// - cli_cancel_ms: Ctrl+C to the program's exit while two encoders turn two
//   1280x720 files into H.264, the median of three.
// One run's time drifts by several per cent on a shared machine: many pairs.
#include "AppFolder.h"
#include "BenchUtil.h"
#include "Spawn.h"
#include "TestMedia.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <sstream>
#include <thread>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Timed(const std::vector<std::string>& arguments) {
    const auto start = Clock::now();
    vxtest::Run(arguments);
    return vxbench::Seconds(Clock::now() - start);
}

// The encoder commands of the dry run, each run through a shell as printed,
// `atOnce` at a time.
double Direct(const std::vector<std::string>& commands, int atOnce) {
    const auto start = Clock::now();
    std::mutex mutex;
    std::size_t next = 0;
    auto work = [&] {
        while (true) {
            std::size_t mine;
            {
                std::lock_guard lock(mutex);
                if (next == commands.size()) return;
                mine = next++;
            }
            vxtest::Run({"/bin/sh", "-c", "exec " + commands[mine]});
        }
    };
    std::vector<std::thread> others;
    for (int i = 1; i < atOnce; ++i)
        others.emplace_back(work);
    work();
    for (std::thread& other : others)
        other.join();
    return vxbench::Seconds(Clock::now() - start);
}

std::vector<std::string> Batch(const std::string& program, const std::string& folder,
                               const std::string& source, int files, const char* jobs) {
    std::vector<std::string> arguments = {program,         "-p",         "86", "-j", jobs, "-o",
                                          folder + "/out", "--overwrite"};
    for (int i = 0; i < files; ++i) {
        const std::string copy = folder + "/clip" + std::to_string(i) + ".flv";
        if (!fs::exists(copy)) fs::copy_file(source, copy);
        arguments.push_back(copy);
    }
    return arguments;
}

// The median ratio of the program's time to the direct commands' over pairs
// taken in alternating order.
double OverheadRatio(const std::vector<std::string>& convert, int atOnce, const char* name) {
    std::vector<std::string> dryRun = convert;
    dryRun.push_back("--dry-run");
    std::istringstream lines(vxtest::Run(dryRun).output);
    std::vector<std::string> commands;
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("ffmpeg ", 0) == 0) commands.push_back(line);
    std::vector<double> ratios;
    for (int pair = 0; pair < 4; ++pair) {
        const double plain = pair % 2 == 0 ? Direct(commands, atOnce) : 0;
        const double ours = Timed(convert);
        const double theirs = pair % 2 == 1 ? Direct(commands, atOnce) : plain;
        std::fprintf(stderr, "%s pair %d: ours %.2f s, direct %.2f s\n", name, pair, ours, theirs);
        ratios.push_back(ours / theirs);
    }
    return vxbench::Median(ratios);
}

// Milliseconds from the interrupt to the program's exit, once both encoders write.
double CancelMs(const std::vector<std::string>& convert, const std::string& out) {
    fs::remove_all(out);
    const pid_t pid = vx::Spawn({convert, {}});
    if (pid <= 0) return -1;
    const auto writing = [&] {
        std::error_code error;
        int count = 0;
        for (const auto& entry : fs::directory_iterator(out, error))
            count += entry.file_size(error) > 0;
        return count >= 2;
    };
    for (int wait = 0; wait < 600 && !writing(); ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const auto start = Clock::now();
    kill(pid, SIGINT);
    vxtest::Reap(pid);
    return vxbench::Seconds(Clock::now() - start) * 1000;
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
    const std::string source = folder + "/source.flv";
    if (!vxtest::MakeFlv(source, {.seconds = 30, .width = 640, .height = 480})) return 1;
    fs::create_directories(folder + "/out");
    const auto one = Batch(program, folder, source, 4, "1");
    std::vector<std::string> dryRun = one;
    dryRun.push_back("--dry-run");
    std::vector<double> added;
    for (int run = 0; run < 9; ++run)
        added.push_back(Timed(dryRun) * 1000);
    std::printf("cli_added_ms %.0f\n", vxbench::Median(added));
    std::printf("cli_overhead_ratio %.3f\n", OverheadRatio(one, 1, "-j 1"));
    const int cores = static_cast<int>(std::thread::hardware_concurrency());
    // The program's automatic number on an idle machine: one more than the cores.
    const int automatic = std::min(4, std::max(1, cores) + 1);
    std::printf("cli_overhead_ratio_auto %.3f\n",
                OverheadRatio(Batch(program, folder, source, 4, "0"), automatic, "-j 0"));

    const std::string big = folder + "/big";
    fs::create_directories(big);
    if (!vxtest::MakeFlv(big + "/source.flv", {.seconds = 40, .width = 1280, .height = 720}))
        return 1;
    const auto two = Batch(program, big, big + "/source.flv", 2, "2");
    std::vector<double> cancels;
    for (int run = 0; run < 3; ++run)
        cancels.push_back(CancelMs(two, big + "/out"));
    std::printf("cli_cancel_ms %.0f\n", vxbench::Median(cancels));
    vxtest::RemoveFolder(folder);
    return 0;
}

// From process start to the main window shown, and the memory it then holds.
// The bench starts itself as a child that opens the window and says when it is shown.
#include "AppFolder.h"
#include "BenchUtil.h"
#include "MainWindow.h"
#include "TestMedia.h"

#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

double ResidentMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atof(line.c_str() + 6) / 1024.0;
    return 0;
}

int Child(int argc, char** argv) {
    QApplication app(argc, argv);
    vxbench::ScriptedDesktop desktop;
    vx::MainWindow window(vx::ApplicationFolderRaw(), desktop);
    window.show();
    QApplication::processEvents();
    std::printf("shown %.1f\n", ResidentMegabytes());
    std::fflush(stdout);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--child") == 0) return Child(argc, argv);
    std::vector<double> times, memory;
    for (int run = 0; run < 7; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const auto result = vxtest::Run({vx::ApplicationFolderRaw() + "/bench_startup", "--child"});
        const double ms = vxbench::Seconds(std::chrono::steady_clock::now() - start) * 1000;
        const auto at = result.output.find("shown ");
        if (at == std::string::npos) return 1;
        times.push_back(ms);
        memory.push_back(std::atof(result.output.c_str() + at + 6));
    }
    std::sort(times.begin(), times.end());
    std::sort(memory.begin(), memory.end());
    std::printf("startup_ms %.0f\n", times[times.size() / 2]);
    std::printf("startup_rss_mb %.1f\n", memory[memory.size() / 2]);
    return 0;
}

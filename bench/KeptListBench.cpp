// The window thread's share of keeping a 1000-row list: the longest single save
// (a snapshot handed to the writer), while the writer writes the previous one.
#include "ListKeeper.h"
#include "SheetLayout.h"
#include "TestMedia.h"

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>

namespace {

double ThreadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const std::string folder = vxtest::MakeTempFolder("vx-bench-kept");
    double longest = 0, longestCpu = 0;
    {
        vx::SourceList rows;
        vx::OptionSheet sheet;
        vx::FillDefaultLayout(sheet);
        for (int i = 0; i < 1000; ++i) {
            const std::uint64_t id = rows.Append(
                "/home/user/Videos/a rather long folder name/clip " + std::to_string(i) + ".flv");
            for (const auto& [column, text] : {std::pair{vx::kStart, "0:00:00"},
                                               {vx::kEnd, "0:12:34"},
                                               {vx::kSize, "123.4 MB"},
                                               {vx::kFormat, "FLV1 / MP3 320x240"},
                                               {vx::kVideoTime, "0:12:34"}})
                rows.Set(id, column, text);
        }
        vx::ListKeeper keeper(
            rows, sheet, [] { return 4; }, folder);
        for (int round = 0; round < 200; ++round) {
            rows.SetAt(round % 1000, vx::kStatus, round % 2 ? "OK" : "Processing");
            // What the window's thread spends on one save, in time and in its own CPU time.
            const auto start = std::chrono::steady_clock::now();
            const double cpuStart = ThreadCpuMs();
            keeper.SaveNow();
            const std::chrono::duration<double, std::milli> spent =
                std::chrono::steady_clock::now() - start;
            longest = std::max(longest, spent.count());
            longestCpu = std::max(longestCpu, ThreadCpuMs() - cpuStart);
            if (round % 20 == 0) keeper.file().WaitUntilWritten();
        }
        keeper.file().WaitUntilWritten();
        keeper.Discard();
    }
    vxtest::RemoveFolder(folder);
    std::printf("list_save_ms %.2f\nlist_save_cpu_ms %.2f\n", longest, longestCpu);
    return 0;
}

// The window thread's share of keeping a 1000-row list: the longest single save
// (a snapshot handed to the writer), while the writer writes the previous one.
#include "ListKeeper.h"
#include "SheetLayout.h"
#include "TestMedia.h"

#include <QCoreApplication>
#include <cstdio>

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
            keeper.SaveNow();
            if (round % 20 == 0) keeper.file().WaitUntilWritten();
        }
        keeper.file().WaitUntilWritten();
        longest = keeper.longestSaveMs();
        longestCpu = keeper.longestSaveCpuMs();
        keeper.Discard();
    }
    vxtest::RemoveFolder(folder);
    std::printf("list_save_ms %.2f\nlist_save_cpu_ms %.2f\n", longest, longestCpu);
    return 0;
}

// join_copy_ratio: four 60 s H.264/AAC parts joined without decoding through
// the batch ("Same streams", a joined row), against the plain concat-reader
// command on a list written by hand; the median of interleaved rounds.
#include "BatchRun.h"
#include "BenchUtil.h"
#include "Catalog.h"
#include "OptionSets.h"
#include "Settings.h"
#include "TestMedia.h"
#include "TimeText.h"
#include "Tools.h"

#include <cstdio>
#include <fstream>

using Clock = std::chrono::steady_clock;

namespace {

constexpr int kSameStreams = 94;

struct QuietView : vx::BatchView {
    int SelectedPosition() const override { return kSameStreams; }
    std::string SelectedText() const override { return vx::ProfileCatalog::At(kSameStreams)->text; }
    void ShowPanel(bool) override {}
    void SetBusy(bool) override {}
    void SetTrackProgress(int) override {}
    void SetTotalProgress(int) override {}
    void SetFileCaption(const std::string&) override {}
    void StartClock() override {}
    void StopClock() override {}
    void ShowMessage(vx::BatchMessage, const std::string&) override {}
    void OpenFolder(const std::string&) override {}
    std::string PowerOff() override { return {}; }
};

double Direct(const std::string& folder, const std::vector<std::string>& parts) {
    std::ofstream list(folder + "/direct.txt");
    for (const std::string& part : parts)
        list << "file '" << part << "'\n";
    list.close();
    const auto start = Clock::now();
    vxtest::Run({"ffmpeg", "-y", "-f", "concat", "-safe", "0", "-i", folder + "/direct.txt", "-map",
                 "0:v?", "-map", "0:a?", "-c", "copy", folder + "/direct.mp4"});
    return vxbench::Seconds(Clock::now() - start);
}

} // namespace

int main() {
    const std::string folder = vxtest::MakeTempFolder("vx-bench-join");
    vxtest::LinkTools(folder, std::filesystem::read_symlink("/proc/self/exe").parent_path());
    std::vector<std::string> parts;
    vx::SourceList rows;
    for (int i = 1; i <= 4; ++i) {
        parts.push_back(folder + "/talk_part" + std::to_string(i) + ".flv");
        if (!vxtest::MakeFlv(parts.back(), {.seconds = 60,
                                            .width = 640,
                                            .height = 360,
                                            .videoCodec = "libx264",
                                            .audioCodec = "aac"}))
            return 1;
        const auto id = rows.Append(parts.back());
        for (const vx::Column c : {vx::kEnd, vx::kVideoTime})
            rows.Set(id, c, vx::TimeText(60));
        rows.Set(id, vx::kStart, vx::TimeText(0));
        rows.Set(id, vx::kSize, "640x360");
        rows.Set(id, vx::kFormat, "H264");
        rows.SetAudioFormat(id, "MP4A");
    }
    rows.Join({0, 1, 2, 3});
    vx::OptionSheet sheet;
    vx::FillDefaultLayout(sheet);
    vx::ApplyOptionSet(sheet, kSameStreams);
    vx::ToolControl tools;
    QuietView view;
    vx::BatchRun batch(rows, sheet, tools, view, folder);
    vx::BatchSettings settings;
    settings.outputFolder = folder + "/out";
    settings.addNew = false;
    batch.UseSettings(settings);
    std::vector<double> ratios;
    double joined = 0, direct = 0;
    for (int round = 0; round < 5; ++round) {
        if (round % 2 == 0) direct = Direct(folder, parts);
        const auto start = Clock::now();
        batch.Run();
        joined = vxbench::Seconds(Clock::now() - start);
        if (round % 2 == 1) direct = Direct(folder, parts);
        if (rows.At(0, vx::kStatus) != "OK") return 1;
        ratios.push_back(joined / direct);
    }
    std::printf("join_copy_s %.3f\n", joined);
    std::printf("join_copy_ratio %.3f\n", vxbench::Median(ratios));
    vxtest::RemoveFolder(folder);
    return 0;
}

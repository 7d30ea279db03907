#pragma once
// The batch run against the real encoder, with a window that records what it is shown.
#include "BatchLog.h"
#include "BatchRun.h"
#include "Catalog.h"
#include "IniFile.h"
#include "OptionSets.h"
#include "Settings.h"
#include "TestMedia.h"
#include "TimeText.h"
#include "Tools.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>

namespace vxtest {

using namespace vx;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

struct RecordingView : BatchView {
    int position = 2;
    std::vector<int> totals, tracks;
    std::vector<std::pair<BatchMessage, std::string>> messages;
    std::vector<std::string> folders;
    std::vector<bool> panel, busy;
    int powerOffs = 0;
    bool clockRunning = false;
    std::function<void()> onPump;

    int SelectedPosition() const override { return position; }
    std::string SelectedText() const override {
        const CatalogEntry* entry = ProfileCatalog::At(position);
        return entry ? entry->text : "";
    }
    void ShowPanel(bool shown) override { panel.push_back(shown); }
    void SetBusy(bool b) override { busy.push_back(b); }
    void SetTrackProgress(int p) override { tracks.push_back(p); }
    void SetTotalProgress(int p) override { totals.push_back(p); }
    void SetFileCaption(const std::string&) override {}
    void StartClock() override { clockRunning = true; }
    void StopClock() override { clockRunning = false; }
    void ShowMessage(BatchMessage m, const std::string& text) override {
        messages.emplace_back(m, text);
    }
    void OpenFolder(const std::string& folder) override { folders.push_back(folder); }
    std::string PowerOff() override {
        ++powerOffs;
        return {};
    }
    void Pump() override {
        if (onPump) onPump();
    }
    // The total bar moves with the encoders between the values it carries over
    // finished rows: those must all be shown, in order, and it never goes back.
    bool TotalsPassThrough(const std::vector<int>& carried) const {
        std::vector<int> values;
        std::ranges::copy_if(totals, std::back_inserter(values), [](int t) { return t != 0; });
        if (!std::is_sorted(values.begin(), values.end())) return false;
        return std::includes(values.begin(), values.end(), carried.begin(), carried.end());
    }
    // The window as after a normal end: panel hidden, not busy, clock stopped.
    bool Idle() const {
        return !panel.empty() && !panel.back() && !busy.empty() && !busy.back() && !clockRunning;
    }
};

class Batch : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        media_ = vxtest::MakeTempFolder("vx-batch-media");
        ASSERT_TRUE(vxtest::MakeFlv(media_ + "/short.flv", {.seconds = 3}));
    }
    static void TearDownTestSuite() { vxtest::RemoveFolder(media_); }

    void SetUp() override {
        out_ = app_ + "/out";
        fs::create_directories(out_);
        fs::create_symlink(std::string(VX_APP_DIR) + "/fp.dll", app_ + "/fp.dll");
        FillDefaultLayout(sheet_);
        Setting("outputfolder", out_);
        Setting("parallel", "1"); // one row after the other, unless a test says otherwise
        setenv("XDG_STATE_HOME", (app_ + "/state").c_str(), 1);
    }
    void TearDown() override {
        vxtest::RemoveFolder(app_);
        unsetenv("XDG_STATE_HOME");
    }

    void Setting(const char* key, const std::string& value) {
        WriteSetting(SettingsPath(app_), "set", key, value);
    }
    void Pick(int position) {
        view_.position = position;
        ApplyOptionSet(sheet_, position);
    }
    // A file as a row, as the probe leaves it: from its start to `end`.
    std::uint64_t AddFile(const std::string& path, const std::string& end) {
        const auto id = rows_.Append(path);
        rows_.Set(id, kStart, "0:00:00");
        rows_.Set(id, kEnd, end);
        return id;
    }
    // Copies of one generated file as rows, one for each name (".flv" added).
    void AddCopies(const FlvSpec& flv, const std::vector<std::string>& names) {
        ASSERT_TRUE(MakeFlv(app_ + "/src.flv", flv));
        for (const std::string& name : names) {
            fs::copy_file(app_ + "/src.flv", app_ + "/" + name + ".flv");
            AddFile(app_ + "/" + name + ".flv", TimeText(static_cast<int>(flv.seconds)));
        }
    }
    // A copy of a generated file as a row.
    std::string AddRow(const std::string& name, const char* end = "0:00:03",
                       const std::string& from = "short.flv") {
        const std::string path = app_ + "/" + name;
        fs::copy_file(media_ + "/" + from, path);
        AddFile(path, end);
        return path;
    }
    // A row whose file the encoder cannot read.
    std::string AddBrokenRow(const std::string& name) {
        const std::string path = AddRow(name);
        std::ofstream(path, std::ios::binary | std::ios::trunc) << std::string(4096, '\x5a');
        return path;
    }
    std::string Status(int row) { return rows_.At(row, kStatus); }
    void Run() { batch_.Run(); }

    static inline std::string media_;
    std::string app_ = vxtest::MakeTempFolder("vx-batch-app");
    std::string out_;
    SourceList rows_;
    OptionSheet sheet_;
    ToolControl tools_;
    RecordingView view_;
    BatchRun batch_{rows_, sheet_, tools_, view_, app_};
};

} // namespace vxtest

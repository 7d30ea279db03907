// The real program killed while it converts: its tools end with it, nothing
// appears under a final name, and the next start offers its list without the
// half-written files it can tell are still its own.
#include "IniFile.h"
#include "KeptList.h"
#include "TestMedia.h"
#include "XSession.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>
#include <tuple>

namespace fs = std::filesystem;

namespace {

// Processes of the session `sid` that still run (zombies have ended), by name.
std::vector<std::string> SessionProcesses(pid_t sid) {
    std::vector<std::string> names;
    for (const auto& process : vxtest::Processes())
        if (process.session == sid && process.state != 'Z') names.push_back(process.name);
    return names;
}

class KilledProgram : public ::testing::Test {
  protected:
    void SetUp() override {
        run_ = vxtest::MakeTempFolder("vx-killed");
        app_ = run_ + "/app";
        for (const char* folder : {"/app", "/media", "/out", "/home", "/state"})
            fs::create_directories(run_ + folder);
        fs::copy_file(std::string(VX_APP_DIR) + "/vantorix", app_ + "/vantorix");
        vxtest::LinkTools(app_, VX_APP_DIR);
        std::ofstream(app_ + "/settings.dat")
            << "[set]\nprofile=4\nparallel=2\nexistedfile=1\noutputfolder=" << run_ << "/out\n";
        for (const char* name : {"a", "b", "c"})
            ASSERT_TRUE(vxtest::MakeFlv(run_ + "/media/" + name + ".flv",
                                        {.seconds = name[0] == 'b' ? 3.0 : 90.0}));
        ASSERT_TRUE(x_.Start(run_ + "/xvfb.log"));
        // The list of an earlier run that ended: a.flv trimmed to 0:00:10 - 0:01:30.
        vx::KeptState earlier;
        earlier.entry = 4;
        for (const auto& [name, start, end] : {std::tuple{"a", "0:00:10", "0:01:30"},
                                               {"b", "0:00:00", "0:00:03"},
                                               {"c", "0:00:00", "0:01:30"}}) {
            vx::KeptRow row;
            row.columns = {run_ + "/media/" + name + ".flv", start, end, "", "FLV", "", end};
            earlier.rows.push_back(row);
        }
        fs::create_directories(run_ + "/state/vantorix");
        ASSERT_TRUE(vx::WriteFileAtomically(run_ + "/state/vantorix/list-1.vxlist",
                                            vx::EncodeKeptList(earlier)));
    }
    void TearDown() override {
        program_.reset();
        if (HasFailure()) std::cerr << vxtest::ReadFile(run_ + "/program.log");
        vxtest::RemoveFolder(run_);
    }
    void Start() {
        const std::string home = run_ + "/home";
        program_ = std::make_unique<vxtest::SessionProcess>();
        ASSERT_TRUE(program_->Start(
            {"/usr/bin/env", "-i", "HOME=" + home, "XDG_STATE_HOME=" + run_ + "/state",
             "XDG_CONFIG_HOME=" + home + "/.config", "DISPLAY=" + x_.Display(),
             "QT_QPA_PLATFORM=xcb", "PATH=/usr/bin:/bin", "LANG=C.UTF-8", app_ + "/vantorix",
             "--new-window"},
            run_ + "/media", run_ + "/program.log"));
    }
    std::optional<vx::KeptState> KeptList() const {
        return vx::DecodeKeptList(vxtest::ReadFile(run_ + "/state/vantorix/list-" +
                                                   std::to_string(program_->Pid()) + ".vxlist"));
    }
    // Answers Yes to the question about an earlier list; gives the main window.
    std::string RestoreEarlierList() {
        const std::string question = x_.WaitForWindow("Vantorix", 60);
        if (question.empty()) return {};
        if (!x_.Answer(question, "Vantorix")) return {}; // Yes, the default
        return x_.WaitForWindow("Vantorix 2.00", 20);
    }
    // Presses Convert Now! until the kept list shows a row converted and two rows
    // being written; gives their working files.
    std::vector<std::string> ConvertUntilTwoRunAfterOne(const std::string& window) {
        for (int look = 0; look < 1200; ++look) {
            if (look % 40 == 0) x_.Keys(window, {"ctrl+n"}); // taken once the window has the keys
            std::vector<std::string> outputs;
            const auto kept = KeptList();
            for (const auto& row : kept ? kept->rows : std::vector<vx::KeptRow>{})
                if (!row.output.empty() && row.outputIdentity) outputs.push_back(row.output);
            const auto running = SessionProcesses(program_->Pid());
            if (outputs.size() == 2 && kept->rows[1].columns[vx::kStatus] == "OK" &&
                std::count(running.begin(), running.end(), "ffmpeg") == 2)
                return outputs;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return {};
    }
    std::string run_, app_;
    vxtest::PrivateXServer x_;
    std::unique_ptr<vxtest::SessionProcess> program_;
};

} // namespace

TEST_F(KilledProgram, ItsToolsEndWithItAndTheNextStartRestoresWhatWasNotConverted) {
    Start();
    const std::string main = RestoreEarlierList();
    ASSERT_FALSE(main.empty());
    const std::vector<std::string> halfWritten = ConvertUntilTwoRunAfterOne(main);
    ASSERT_EQ(halfWritten.size(), 2u) << "a and c were never converted at once after b";

    const pid_t killed = program_->Pid();
    kill(killed, SIGKILL);
    EXPECT_NE(program_->WaitForExit(5), -1);
    std::vector<std::string> left;
    vxtest::WaitUntil([&] { return (left = SessionProcesses(killed)).empty(); },
                      std::chrono::seconds(2), std::chrono::milliseconds(100));
    EXPECT_TRUE(left.empty()) << "still running 2 s later: " << left.front();
    for (const char* name : {"a.mp4", "c.mp4"})
        EXPECT_FALSE(fs::exists(run_ + "/out/" + name)) << "a cut file under a final name";

    // The user converted c again meanwhile: a whole file now lies where its
    // working file was, and it stays.
    const std::string b = run_ + "/out/b.mp4";
    const std::string bWhole = vxtest::Sha256(b);
    const std::string& later = halfWritten[1];
    fs::copy_file(b, run_ + "/out/later");
    fs::rename(run_ + "/out/later", later);

    // The next start removes the half-written file still its own, then asks; Yes
    // gives the rows not converted, with their trims and the entry, as its own list.
    Start();
    ASSERT_FALSE(x_.WaitForWindow("Vantorix", 60).empty()) << "no question about the list";
    EXPECT_FALSE(fs::exists(halfWritten[0])) << halfWritten[0];
    EXPECT_EQ(vxtest::Sha256(later), bWhole) << "a file made since is not ours to remove";
    const std::string again = RestoreEarlierList();
    ASSERT_FALSE(again.empty());
    std::optional<vx::KeptState> restored;
    vxtest::WaitUntil([&] { return (restored = KeptList()).has_value(); }, std::chrono::seconds(2));
    ASSERT_TRUE(restored);
    // a with its trim and c: their outputs' lengths below; the entry, ListRecoveryTest.
    ASSERT_EQ(restored->rows.size(), 2u);
    const std::string completed = x_.KeysUntilWindow(again, {"ctrl+n"}, "Vantorix", 12, 60);
    ASSERT_FALSE(completed.empty()) << "the restored rows were not converted";
    ASSERT_TRUE(x_.Answer(completed, "Vantorix"));
    for (const auto& [name, seconds] : {std::pair{"a", 80}, {"b", 3}, {"c", 90}}) {
        const vxtest::ProbeInfo info = vxtest::ProbeFile(run_ + "/out/" + name + ".mp4");
        EXPECT_TRUE(info.ok) << name;
        EXPECT_NEAR(info.duration, seconds, 1) << name;
    }
    EXPECT_EQ(vxtest::Sha256(b), bWhole) << "a file converted before is not converted again";
    EXPECT_EQ(vxtest::Sha256(later), bWhole);
    x_.Keys(again, {"ctrl+x"});
    ASSERT_EQ(program_->WaitForExit(30), 0);
    for (const auto& entry : fs::directory_iterator(run_ + "/state/vantorix"))
        EXPECT_NE(entry.path().extension(), ".vxlist") << "a normal end leaves no list";
}

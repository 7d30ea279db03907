// The kept list: its format, its writer killed at any moment, the lists of
// programs that ended, and what a restart makes of them.
#include "KeptList.h"
#include "KeptListTestState.h"
#include "Spawn.h"
#include "TestMedia.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <thread>

namespace fs = std::filesystem;

namespace {

class KeptListFolder : public ::testing::Test {
  protected:
    pid_t StartWriter(const char* mode = "loop") {
        return vx::Spawn({{VX_LIST_WRITER, folder_, mode}, {}, -1, -1});
    }
    std::string ListOf(pid_t pid) const {
        return folder_ + "/list-" + std::to_string(pid) + ".vxlist";
    }
    static void Kill(pid_t pid) {
        kill(pid, SIGKILL);
        vxtest::Reap(pid);
    }
    const vxtest::TempFolder temp_{"vx-kept"};
    const std::string& folder_ = temp_.path;
};

} // namespace

TEST(KeptListFormat, ReadsBackWhatItWroteAndRefusesEveryCutOrForeignText) {
    const vx::KeptState state = vxtest::KeptListTestState(17);
    const std::string text = vx::EncodeKeptList(state);
    EXPECT_EQ(vx::DecodeKeptList(text), state);
    for (std::size_t size = 0; size < text.size(); ++size)
        EXPECT_FALSE(vx::DecodeKeptList(text.substr(0, size))) << size;
    std::string why;
    std::string newer = text;
    newer.replace(0, 15, "vantorix-list 9");
    EXPECT_FALSE(vx::DecodeKeptList(newer, &why));
    EXPECT_EQ(why, "written by a newer version");
    EXPECT_FALSE(vx::DecodeKeptList("\x89PNG garbage\n"));
    // A list of the first version (rows without the probe's sound and reason) still reads.
    const auto first =
        vx::DecodeKeptList("vantorix-list 1\nentry\t4\nrow\t/m/a.flv\t\t\t\t\t\t\t\t0\nend\t3\n");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->rows.at(0).columns[vx::kFileName], "/m/a.flv");
    // So does one of the second (rows without the folder they were added with, the
    // output a final name without identity).
    const auto second = vx::DecodeKeptList(
        "vantorix-list 2\nentry\t4\nrow\t/m/b.flv\t\t\t\t\t\t\t/o/b.mp4\t1\t85\t\nend\t3\n");
    ASSERT_TRUE(second);
    EXPECT_EQ(second->rows.at(0).audioFormat, "85");
    EXPECT_EQ(second->rows.at(0).root, "");
    EXPECT_EQ(second->rows.at(0).output, "/o/b.mp4");
    EXPECT_TRUE(second->rows.at(0).outputNew && !second->rows.at(0).outputIdentity);
    std::string extraLine = text;
    extraLine.insert(text.find("row"), "row\tonly\n");
    EXPECT_FALSE(vx::DecodeKeptList(extraLine));
}

TEST_F(KeptListFolder, AWriterKilledAtAnyMomentLeavesAWholeListOfOneState) {
    std::mt19937 random(20261208);
    for (int round = 0; round < 200; ++round) {
        const pid_t pid = StartWriter();
        ASSERT_GT(pid, 0);
        const std::string path = ListOf(pid);
        // Once it writes, at a random moment of its writing loop.
        for (int look = 0; look < 1000 && !fs::exists(path); ++look)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
        Kill(pid);
        const auto kept = vx::DecodeKeptList(vxtest::ReadFile(path));
        ASSERT_TRUE(kept) << "round " << round << ": " << vxtest::ReadFile(path);
        EXPECT_EQ(*kept, vxtest::KeptListTestState(kept->entry)) << "round " << round;
        // The killed writer's list is now an orphan: claimed once, then gone.
        auto orphans = vx::ClaimOrphanLists(folder_);
        ASSERT_EQ(orphans.size(), 1u);
        vx::FinishOrphans(orphans, false);
    }
    for (const auto& entry : fs::directory_iterator(folder_))
        EXPECT_NE(entry.path().extension(), ".vxlist") << entry.path();
}

// Two running programs keep two lists, and only an ended one's is offered. A
// named pipe or a folder where a list should be is set aside at once, never
// waited on (a pipe without a writer would hold the start for ever).
TEST_F(KeptListFolder, OnlyTheListOfAnEndedProgramIsOfferedNeverAPipeOrAFolder) {
    const pid_t first = StartWriter("hold"), second = StartWriter("hold");
    const std::string pipe = folder_ + "/list-1.vxlist";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    fs::create_directories(folder_ + "/list-2.vxlist");
    for (int i = 0; i < 100 && !(fs::exists(ListOf(first)) && fs::exists(ListOf(second))); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_TRUE(fs::exists(ListOf(first)) && fs::exists(ListOf(second)));
    EXPECT_TRUE(vx::ClaimOrphanLists(folder_).empty());
    EXPECT_TRUE(fs::is_fifo(pipe + ".unreadable"));
    EXPECT_TRUE(fs::is_directory(folder_ + "/list-2.vxlist.unreadable"));
    Kill(first);
    auto orphans = vx::ClaimOrphanLists(folder_);
    ASSERT_EQ(orphans.size(), 1u);
    EXPECT_EQ(orphans[0].path, ListOf(first));
    EXPECT_TRUE(vx::ClaimOrphanLists(folder_).empty()) << "a claimed list is offered once";
    vx::FinishOrphans(orphans, true);
    EXPECT_TRUE(fs::exists(ListOf(first) + ".bak"));
    EXPECT_FALSE(fs::exists(ListOf(first)));
    Kill(second);
}

// A restart removes a recorded file only while it is the working file recorded,
// in the folder recorded with it; whatever it leaves, the question names with
// the reason.
TEST_F(KeptListFolder, TheRestartRemovesOnlyWorkingFilesThatAreStillTheOnesRecorded) {
    const std::string out = folder_ + "/out";
    fs::create_directories(out);
    vx::OrphanList list;
    auto record = [&](const std::string& path, const std::string& recordedFolder,
                      std::optional<vx::FileIdentity> identity) {
        vx::KeptRow row;
        row.columns[vx::kFileName] = path + ".flv";
        row.columns[vx::kStatus] = "Processing";
        row.output = path;
        row.outputFolder = recordedFolder;
        row.outputIdentity = identity;
        row.outputNew = !identity; // as an earlier version wrote it
        list.state.rows.push_back(row);
    };
    // A file of that name that is not ours is never written over.
    std::ofstream(out + "/ours.vxpart.mp4") << "the user's";
    const auto ours = vx::CreateWorkingFile(out + "/ours.mp4");
    ASSERT_TRUE(ours && ours->path == out + "/ours.vxpart-1.mp4");
    const auto replaced = vx::CreateWorkingFile(out + "/later.mp4");
    const auto moved = vx::CreateWorkingFile(out + "/moved.mp4");
    const auto gone = vx::CreateWorkingFile(out + "/gone.mp4");
    ASSERT_TRUE(ours && replaced && moved && gone);
    // The user converted again since: a whole file now lies at the recorded path.
    std::ofstream(out + "/whole") << "a later, complete file";
    fs::rename(out + "/whole", replaced->path);
    fs::remove(gone->path);
    std::ofstream(out + "/final.mp4") << "a final name";
    std::ofstream(out + "/old.mp4") << "named by an earlier version";
    record(ours->path, out + "/", ours->identity);
    record(replaced->path, out, replaced->identity);
    record(moved->path, folder_, moved->identity); // not the folder it lies in
    record(gone->path, out, gone->identity);
    record(out + "/final.mp4", out, vx::IdentityOf(out + "/final.mp4"));
    record(out + "/old.mp4", "", std::nullopt);

    const vx::RecoveryPlan plan = vx::PlanRecovery({list});
    EXPECT_EQ(plan.restore.size(), 6u);
    const vx::CleanUp cleanUp = vx::RemoveHalfWritten(plan);
    EXPECT_EQ(cleanUp.removed, 1);
    EXPECT_FALSE(fs::exists(ours->path));
    EXPECT_EQ(vxtest::ReadFile(out + "/ours.vxpart.mp4"), "the user's");
    EXPECT_EQ(vxtest::ReadFile(replaced->path), "a later, complete file");
    for (const char* name : {"/moved.vxpart.mp4", "/final.mp4", "/old.mp4"})
        EXPECT_TRUE(fs::exists(out + name)) << name;
    const std::string question = vx::RecoveryQuestion(plan, cleanUp);
    EXPECT_NE(question.find("Half-written output files removed: 1."), std::string::npos);
    for (const std::string& path :
         {replaced->path, moved->path, out + "/final.mp4", out + "/old.mp4"})
        EXPECT_NE(question.find("\n" + path + " ("), std::string::npos) << question;
    EXPECT_EQ(cleanUp.left.size(), 4u);
}

// Collecting what a drop or a command line names: natural order, hidden
// entries, links that lead back, unreadable folders, a cancelled scan.
#include "FolderScan.h"
#include "TestMedia.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace vx;
namespace fs = std::filesystem;

// A tree as downloads leave it: numbered parts, sub-folders, hidden entries,
// other files, a link back to the top and a folder nobody may read.
TEST(FolderScanTest, AFolderGivesItsFlashVideoInNaturalOrder) {
    vxtest::TempFolder temp("vx-scan");
    const fs::path root = fs::path(temp.path) / "archive";
    const auto touch = [](const fs::path& path) {
        fs::create_directories(path.parent_path());
        std::ofstream(path) << "x";
    };
    for (const char* name : {"part10.flv", "part2.flv", "Part1.FLV", "b/clip.f4v", "a/x.flv",
                             ".hidden.flv", ".cache/y.flv", "notes.txt", "a/movie.mp4"})
        touch(root / name);
    fs::create_directory_symlink(root, root / "a" / "loop");
    touch(root / "closed" / "z.flv");
    fs::permissions(root / "closed", fs::perms::none);
    const bool superUser = ::geteuid() == 0; // reads every folder
    int progress = -1;
    const ScanResult result =
        CollectSources({root.string() + "/"}, {nullptr, [&](int found) { progress = found; }});
    fs::permissions(root / "closed", fs::perms::owner_all);

    std::vector<std::string> expected = {"a/x.flv", "b/clip.f4v"};
    if (superUser) expected.push_back("closed/z.flv");
    expected.insert(expected.end(), {"Part1.FLV", "part2.flv", "part10.flv"});
    std::vector<std::string> found;
    for (const FoundFile& file : result.files) {
        found.push_back(fs::path(file.path).lexically_relative(root).string());
        EXPECT_EQ(file.root, root.string());
    }
    EXPECT_EQ(found, expected);
    EXPECT_EQ(progress, static_cast<int>(expected.size()));
    EXPECT_TRUE(result.refused.empty()); // a folder's other files are simply not taken
    ASSERT_EQ(result.notes.size(), superUser ? 1u : 2u);
    EXPECT_NE(result.notes[0].find("/a/loop"), std::string::npos) << result.notes[0];
    EXPECT_NE(result.notes.back().find(superUser ? "/a/loop" : "/closed"), std::string::npos);
    // A cancelled scan stops. (Named files among folders, and the others refused by
    // name: the window's drop test.)
    std::atomic<bool> cancelled{true};
    EXPECT_TRUE(CollectSources({root.string()}, {&cancelled, {}}).files.empty());
}

// Collecting the files a drop or a command line names: natural order, hidden
// entries, links that lead back, unreadable folders and refused files.
#include "FolderScan.h"
#include "TestMedia.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace vx;
namespace fs = std::filesystem;

namespace {

void Touch(const fs::path& path) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << "x";
}

std::vector<std::string> Below(const ScanResult& result, const std::string& root) {
    std::vector<std::string> names;
    for (const FoundFile& file : result.files)
        names.push_back(fs::path(file.path).lexically_relative(root).string());
    return names;
}

} // namespace

TEST(FolderScanTest, NaturalOrderComparesNumbersByValue) {
    EXPECT_TRUE(NaturalLess("part2.flv", "part10.flv"));
    EXPECT_FALSE(NaturalLess("part10.flv", "part2.flv"));
    EXPECT_TRUE(NaturalLess("Alpha.flv", "beta.flv")); // case does not decide first
    EXPECT_TRUE(NaturalLess("clip9", "clip010"));
    EXPECT_TRUE(NaturalLess("a", "a1"));
    EXPECT_FALSE(NaturalLess("same", "same"));
    EXPECT_TRUE(HasFlashVideoExtension("a.F4V"));
    EXPECT_FALSE(HasFlashVideoExtension("aflv"));
}

// A tree as downloads leave it: numbered parts, a sub-folder, hidden entries,
// other files, a link back to the top and a folder nobody may read.
TEST(FolderScanTest, AFolderGivesItsFlashVideoInNaturalOrder) {
    vxtest::TempFolder temp("vx-scan");
    const fs::path root = fs::path(temp.path) / "archive";
    for (const char* name : {"part10.flv", "part2.flv", "part1.FLV", "b/clip.f4v", "a/x.flv",
                             ".hidden.flv", ".cache/y.flv", "notes.txt", "a/movie.mp4"})
        Touch(root / name);
    fs::create_directory_symlink(root, root / "a" / "loop");
    fs::create_directories(root / "closed");
    Touch(root / "closed" / "z.flv");
    fs::permissions(root / "closed", fs::perms::none);
    const bool rootUser = ::geteuid() == 0; // root reads every folder

    std::vector<int> progress;
    ScanControl control;
    control.progress = [&](int found) { progress.push_back(found); };
    const ScanResult result = CollectSources({root.string()}, control);
    fs::permissions(root / "closed", fs::perms::owner_all);

    std::vector<std::string> expected = {"a/x.flv", "b/clip.f4v"};
    if (rootUser) expected.push_back("closed/z.flv");
    for (const char* name : {"part1.FLV", "part2.flv", "part10.flv"})
        expected.push_back(name);
    EXPECT_EQ(Below(result, root.string()), expected);
    for (const FoundFile& file : result.files)
        EXPECT_EQ(file.root, root.string());
    EXPECT_TRUE(result.refused.empty()); // a folder's other files are simply not taken
    ASSERT_EQ(result.notes.size(), rootUser ? 1u : 2u);
    EXPECT_NE(result.notes[0].find("/a/loop"), std::string::npos) << result.notes[0];
    if (!rootUser) {
        EXPECT_NE(result.notes[1].find("/closed"), std::string::npos);
    }
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), static_cast<int>(expected.size()));
}

// Files named on their own keep their place between folders; others are refused
// by name, once each; a cancelled scan stops.
TEST(FolderScanTest, NamedFilesKeepTheirPlaceAndOthersAreNamed) {
    vxtest::TempFolder temp("vx-scan-mixed");
    const fs::path folder = fs::path(temp.path) / "dir/";
    Touch(folder / "in.flv");
    const std::string a = temp.path + "/a.mp4", b = temp.path + "/first.flv",
                      c = temp.path + "/notes.txt";
    for (const std::string& file : {a, b, c})
        Touch(file);
    const ScanResult result = CollectSources({b, a, folder.string(), c});
    ASSERT_EQ(result.files.size(), 2u);
    EXPECT_EQ(result.files[0], (FoundFile{b, ""}));
    EXPECT_EQ(result.files[1], (FoundFile{temp.path + "/dir/in.flv", temp.path + "/dir"}));
    EXPECT_EQ(RefusedSentence(result.refused),
              "Only FLV files are allowed! Not added: a.mp4, notes.txt");

    std::atomic<bool> cancelled{true};
    ScanControl control;
    control.cancelled = &cancelled;
    EXPECT_TRUE(CollectSources({folder.string()}, control).files.empty());
}

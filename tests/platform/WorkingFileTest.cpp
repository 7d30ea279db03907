// The working file of an output: its name keeps the extension and is never a
// final name; making one never replaces a file; only the very file made goes.
#include "WorkingFile.h"
#include "TestMedia.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace vx;

TEST(WorkingFile, KeepsTheExtensionAndIsNeverTakenForAFinalName) {
    const std::pair<const char*, const char*> names[] = {
        {"/o/clip.mp4", "/o/clip.vxpart.mp4"},
        {"/o.d/clip", "/o.d/clip.vxpart"}, // a dot in the folder is no extension
        {"/o/.hidden", "/o/.hidden.vxpart"},
        {"/o/a.b.mkv", "/o/a.b.vxpart.mkv"},
    };
    for (const auto& [final, working] : names) {
        EXPECT_EQ(WorkingName(final), working);
        EXPECT_TRUE(IsWorkingName(working)) << working;
        EXPECT_TRUE(IsWorkingName(WorkingName(final, 12))) << WorkingName(final, 12);
        EXPECT_FALSE(IsWorkingName(final)) << final;
    }
    for (const char* final : {"/o.vxpart/clip.mp4", "/o/clip.vxpart-.mp4", "/o/x.vxpart.y.mp4",
                              "/o/.vxpart.mp4", "/o/clip.vxpartial.mp4"})
        EXPECT_FALSE(IsWorkingName(final)) << final;
}

TEST(WorkingFile, NeverReplacesAFileAndRemovesOnlyTheFileItMade) {
    const vxtest::TempFolder folder("vx-working");
    const std::string final = folder.path + "/clip.mp4";
    std::ofstream(WorkingName(final)) << "the user's own";
    const auto made = CreateWorkingFile(final);
    ASSERT_TRUE(made);
    EXPECT_EQ(made->path, WorkingName(final, 1));
    EXPECT_EQ(vxtest::ReadFile(WorkingName(final)), "the user's own");
    EXPECT_EQ(IdentityOf(made->path), made->identity);

    // Replaced by another file: neither renamed over the final name nor removed.
    std::ofstream(folder.path + "/other") << "another";
    fs::rename(folder.path + "/other", made->path);
    EXPECT_TRUE(PromoteWorkingFile(*made, final).has_value());
    EXPECT_FALSE(RemoveIfSame(made->path, made->identity));
    EXPECT_FALSE(fs::exists(final));
    EXPECT_EQ(vxtest::ReadFile(made->path), "another");

    // Its own file takes the final name in one step, over an earlier one.
    const auto second = CreateWorkingFile(final);
    ASSERT_TRUE(second);
    std::ofstream(final) << "earlier";
    std::ofstream(second->path) << "whole";
    EXPECT_EQ(PromoteWorkingFile(*second, final), std::nullopt);
    EXPECT_EQ(vxtest::ReadFile(final), "whole");
    EXPECT_FALSE(fs::exists(second->path));

    std::string reason;
    EXPECT_FALSE(CreateWorkingFile(folder.path + "/missing/clip.mp4", &reason));
    EXPECT_FALSE(reason.empty());
}

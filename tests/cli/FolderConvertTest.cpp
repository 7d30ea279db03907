// vantorix-convert given folders, F4V files and files it cannot take, with the
// real encoder and player.
#include "ConvertProgram.h"
#include "TestMedia.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

class FolderConvert : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        media_ = vxtest::MakeTempFolder("vx-cli-folders");
        ASSERT_TRUE(vxtest::MakeFlv(media_ + "/short.flv", {.seconds = 2}));
    }
    static void TearDownTestSuite() { vxtest::RemoveFolder(media_); }

    void SetUp() override {
        vxtest::LinkTools(app_, VX_APP_DIR);
        unsetenv("DISPLAY");
    }
    std::string Source(const std::string& below) {
        const fs::path path = fs::path(app_) / below;
        fs::create_directories(path.parent_path());
        fs::copy_file(media_ + "/short.flv", path);
        return path.string();
    }
    int RunHere(std::vector<std::string> arguments) {
        last_ = vxtest::Capture([&](std::FILE* out, std::FILE* err) {
            return vx::RunConvert(arguments, app_, {out, err, false, -1});
        });
        return last_.status;
    }
    bool Made(const std::string& below) { return vxtest::ProbeFile(app_ + "/" + below).ok; }

    static inline std::string media_;
    const vxtest::TempFolder folder_{"vx-cli-folders-app"};
    const std::string& app_ = folder_.path;
    vxtest::Captured last_;
};

// Two files of one name in two folders of a tree: side by side with "_New"
// without kept folders, each in its own folder with them; a file given on its
// own goes to the output folder itself either way.
TEST_F(FolderConvert, ATreeWithTwoSameNamedFilesWithAndWithoutKeptFolders) {
    Source("tree/2009/party.flv");
    Source("tree/2010/party.flv");
    Source("tree/2010/.trash/party.flv"); // hidden: never converted
    Source("tree/top.flv");
    const std::string alone = Source("alone.flv");
    const std::string tree = app_ + "/tree";

    ASSERT_EQ(RunHere({"-p", "94", "-o", app_ + "/flat", tree, alone}), 0) << last_.err;
    EXPECT_NE(last_.err.find("4 of 4 files converted"), std::string::npos) << last_.err;
    for (const char* name : {"party.mkv", "party_New.mkv", "top.mkv", "alone.mkv"})
        EXPECT_TRUE(Made("flat/" + std::string(name))) << name;

    const std::vector<std::string> kept = {"-p", "94", "-o", app_ + "/kept", "--keep-folders",
                                           tree, alone};
    ASSERT_EQ(RunHere(kept), 0) << last_.err;
    for (const char* name : {"2009/party.mkv", "2010/party.mkv", "top.mkv", "alone.mkv"})
        EXPECT_TRUE(Made("kept/" + std::string(name))) << name;
    EXPECT_FALSE(fs::exists(app_ + "/kept/party.mkv"));
    EXPECT_FALSE(fs::exists(app_ + "/kept/2010/.trash"));
    // Again: the "_New" rule works inside each kept folder.
    ASSERT_EQ(RunHere(kept), 0) << last_.err;
    EXPECT_TRUE(Made("kept/2009/party_New.mkv"));
    EXPECT_TRUE(Made("kept/2010/party_New.mkv"));
    EXPECT_TRUE(Made("kept/alone_New.mkv"));
}

// Files that are no Flash Video are named once and left out; with nothing left
// the run is a usage error, otherwise the rest converts and the status says 1.
TEST_F(FolderConvert, OtherFilesAreNamedAndLeftOut) {
    const std::string flv = Source("a.flv"), mp4 = app_ + "/a.mp4", txt = app_ + "/notes.txt";
    std::ofstream(txt) << "notes";
    fs::copy_file(flv, mp4);
    const std::string sentence = "Only FLV files are allowed! Not added: a.mp4, notes.txt";
    EXPECT_EQ(RunHere({"-p", "94", "-o", app_ + "/out", mp4, txt}), vx::kExitUsage);
    EXPECT_NE(last_.err.find(sentence), std::string::npos) << last_.err;
    EXPECT_FALSE(fs::exists(app_ + "/out"));
    fs::create_directories(app_ + "/empty");
    EXPECT_EQ(RunHere({"-p", "94", "-o", app_ + "/out", app_ + "/empty"}), vx::kExitUsage);

    EXPECT_EQ(RunHere({"-p", "94", "-o", app_ + "/out", mp4, flv, txt}), vx::kExitFailed);
    EXPECT_NE(last_.err.find(sentence), std::string::npos) << last_.err;
    EXPECT_TRUE(Made("out/a.mkv"));
    EXPECT_FALSE(fs::exists(app_ + "/out/a_New.mkv")); // the MP4 was not converted
}

// Flash's MP4-based files probe, trim and convert as FLV files do; copying
// their H.264 and AAC streams gives MP4.
TEST_F(FolderConvert, F4vFilesConvertAsFlvFilesDo) {
    const std::string f4v = app_ + "/clip.F4V";
    const auto made = vxtest::Run({"ffmpeg",
                                   "-v",
                                   "error",
                                   "-f",
                                   "lavfi",
                                   "-i",
                                   "testsrc=size=320x240:rate=25:duration=4",
                                   "-f",
                                   "lavfi",
                                   "-i",
                                   "sine=frequency=440:sample_rate=44100:duration=4",
                                   "-c:v",
                                   "libx264",
                                   "-g",
                                   "25",
                                   "-c:a",
                                   "aac",
                                   "-f",
                                   "f4v",
                                   f4v});
    ASSERT_EQ(made.exitCode, 0) << made.output;
    ASSERT_EQ(RunHere({"-p", "94", "-o", app_ + "/copy", f4v}), 0) << last_.err;
    const auto copied = vxtest::ProbeFile(app_ + "/copy/clip.mp4");
    ASSERT_TRUE(copied.ok);
    EXPECT_EQ(copied.videoCodec, "h264");
    EXPECT_EQ(copied.audioCodec, "aac");
    EXPECT_NEAR(copied.duration, 4, 0.3);
    ASSERT_EQ(RunHere({"-p", "86", "-o", app_ + "/trim", "--start", "1", "--end", "3", f4v}), 0)
        << last_.err;
    const auto trimmed = vxtest::ProbeFile(app_ + "/trim/clip.mp4");
    ASSERT_TRUE(trimmed.ok);
    EXPECT_NEAR(trimmed.duration, 2, 0.3);
}

} // namespace

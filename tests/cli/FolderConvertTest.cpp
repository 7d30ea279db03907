// vantorix-convert given folders, F4V files and files it cannot take, with the
// real encoder and player.
#include "CliFixture.h"

#include <fstream>

namespace {

using namespace vxtest;

class FolderConvert : public Cli {
  protected:
    static void SetUpTestSuite() { MakeMedia({{"short.flv", {.seconds = 2}}}); }
    bool Made(const std::string& below) { return ProbeFile(app_ + "/" + below).ok; }
};

// Two files of one name in two folders of a tree: side by side with "_New"
// without kept folders, each in its own folder with them, where "_New" works
// too; a file given on its own goes to the output folder itself either way.
TEST_F(FolderConvert, ATreeWithTwoSameNamedFilesAndAMixedList) {
    for (const char* name : {"tree/2009/party.flv", "tree/2010/party.flv", "tree/.trash/party.flv"})
        Source(name);
    const std::string tree = app_ + "/tree", alone = Source("alone.flv");
    ASSERT_EQ(RunHere({"-p", "94", "-o", app_ + "/flat", tree, alone}), 0) << last_.err;
    EXPECT_NE(last_.err.find("3 of 3 files converted"), std::string::npos) << last_.err;
    for (const char* name : {"party.mkv", "party_New.mkv", "alone.mkv"})
        EXPECT_TRUE(Made("flat/" + std::string(name))) << name;

    const std::vector<std::string> kept = {"-p", "94", "-o", app_ + "/kept", "--keep-folders",
                                           tree, alone};
    ASSERT_EQ(RunHere(kept), 0) << last_.err;
    ASSERT_EQ(RunHere(kept), 0) << last_.err;
    for (const char* name : {"2009/party", "2010/party", "alone"}) {
        EXPECT_TRUE(Made("kept/" + std::string(name) + ".mkv")) << name;
        EXPECT_TRUE(Made("kept/" + std::string(name) + "_New.mkv")) << name;
    }
    EXPECT_FALSE(fs::exists(app_ + "/kept/party.mkv"));

    // Other files are named once and left out: with nothing left the run is a
    // usage error, otherwise the rest converts and the status says 1.
    const std::string mp4 = app_ + "/a.mp4", txt = app_ + "/notes.txt";
    fs::copy_file(alone, mp4);
    std::ofstream(txt) << "notes";
    const std::string sentence = "Only FLV files are allowed! Not added: a.mp4, notes.txt";
    EXPECT_EQ(RunHere({"-p", "94", "-o", app_ + "/out", mp4, txt}), vx::kExitUsage);
    EXPECT_NE(last_.err.find(sentence), std::string::npos) << last_.err;
    EXPECT_EQ(RunHere({"-p", "94", "-o", app_ + "/out", mp4, alone, txt}), vx::kExitFailed);
    EXPECT_NE(last_.err.find(sentence), std::string::npos) << last_.err;
    EXPECT_TRUE(Made("out/alone.mkv"));
    EXPECT_FALSE(fs::exists(app_ + "/out/a.mkv")); // the MP4 was not converted
}

// Flash's MP4-based files probe, trim and convert as FLV files do; copying
// their H.264 and AAC streams gives MP4.
TEST_F(FolderConvert, F4vFilesConvertAsFlvFilesDo) {
    const std::string f4v = app_ + "/clip.F4V";
    ASSERT_TRUE(MakeFlv(f4v, {.seconds = 4,
                              .videoCodec = "libx264",
                              .audioCodec = "aac",
                              .keyInterval = 25,
                              .container = "f4v"}));
    ASSERT_EQ(RunHere({"-p", "94", "-o", app_ + "/copy", f4v}), 0) << last_.err;
    const auto copied = ProbeFile(app_ + "/copy/clip.mp4");
    EXPECT_EQ(copied.videoCodec + " " + copied.audioCodec, "h264 aac");
    EXPECT_NEAR(copied.duration, 4, 0.3);
    ASSERT_EQ(RunHere({"-p", "86", "-o", app_ + "/trim", "--start", "1", "--end", "3", f4v}), 0)
        << last_.err;
    EXPECT_NEAR(ProbeFile(app_ + "/trim/clip.mp4").duration, 2, 0.3);
}

} // namespace

// The user's own profiles: their files, their checks and what they apply.
#include "UserProfiles.h"
#include "IniFile.h"
#include "OptionSets.h"
#include "SheetLayout.h"
#include "TestMedia.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace vx;
using namespace std::string_literals;
namespace fs = std::filesystem;

class UserProfiles : public ::testing::Test {
  protected:
    void Write(const std::string& name, const std::string& content) {
        fs::create_directories(folder_);
        std::ofstream(folder_ + "/" + name, std::ios::binary) << content;
    }
    static OptionSheet Sheet(int position) {
        OptionSheet sheet;
        FillDefaultLayout(sheet);
        ApplyOptionSet(sheet, position);
        return sheet;
    }
    const vxtest::TempFolder temp_{"vx-user-profiles"};
    const std::string& root_ = temp_.path;
    std::string folder_ = root_ + "/profiles";
    UserProfileStore store_{folder_};
};

// Saved: exactly what differs from the base; applied: the base's set, then those values,
// whatever the sheet held before.
TEST_F(UserProfiles, AProfileHoldsWhatDiffersFromItsBaseAndAppliesItOnTop) {
    OptionSheet sheet = Sheet(59); // Xbox MPEG-4: 1280x720, aac 128
    sheet.SetValue(sheet.Find("Video Options", "Video Size"), "720x480");
    sheet.SetValue(sheet.Find("Audio Options", "Audio Channel"), "1");
    const std::vector<OptionValue> changed{{"Video Size", "720x480"}, {"Audio Channel", "1"}};
    EXPECT_EQ(ChangedValues(sheet, 59), changed);
    EXPECT_TRUE(ChangedValues(Sheet(59), 59).empty());

    OptionSheet other = Sheet(88); // an audio profile first: its lists and values differ
    ASSERT_TRUE(ApplyUserProfile(other, {"Couch", 59, changed, {}}));
    EXPECT_EQ(ReadConversionOptions(other)->VideoSize, "720x480");
    EXPECT_EQ(ReadConversionOptions(other)->AudioChannel, "1");
    EXPECT_EQ(ReadConversionOptions(other)->VideoCodec, ReadConversionOptions(sheet)->VideoCodec);
    EXPECT_FALSE(ApplyUserProfile(other, {"Bad", 79, {}, {}})); // a heading
    EXPECT_FALSE(ApplyUserProfile(other, {"Bad", 59, {{"Video Size", "huge"}}, {}}));
}

// Today's formats show their quality as "Quality"; a profile saved when it was
// captioned "Video Bitrate" still loads, and an older entry has no "Quality".
TEST_F(UserProfiles, TheQualityOfTodaysFormatsHasItsOwnCaption) {
    Write("Old.vxprofile", "[Profile]\nbase=98\nname=Old\n[Options]\nVideo Bitrate=Small\n");
    const auto old = ReadProfileFile(folder_ + "/Old.vxprofile", nullptr);
    ASSERT_TRUE(old);
    EXPECT_EQ(old->values, (std::vector<OptionValue>{{"Quality", "Small"}}));
    OptionSheet sheet = Sheet(86); // a bitrate entry before it: the caption changes on applying
    ASSERT_TRUE(ApplyUserProfile(sheet, *old));
    EXPECT_EQ(sheet.Find("Video Options", "Quality")->value, "Small");
    EXPECT_EQ(ChangedValues(sheet, 98), old->values);
    EXPECT_EQ(ReadConversionOptions(sheet)->VideoBitrate, "Small");
    EXPECT_FALSE(OptionsProblem(99, {{"Quality", "High"}}));
    EXPECT_TRUE(OptionsProblem(86, {{"Quality", "High"}}));
}

TEST_F(UserProfiles, FilesThatHoldNoUsableProfileAreSkippedWithTheirReason) {
    EXPECT_TRUE(store_.Load().empty()); // no folder yet: no profiles, nothing wrong
    Write("Phone.vxprofile", "; by hand\n[Profile]\nbase=86\nname=Phone\n\n[Options]\n"
                             "Video Size=640x480\nAudio Bitrate=96\n");
    Write("Stem.vxprofile", "[profile]\nBASE=2\n"); // no name: the file's
    Write("notes.txt", "not a profile");
    const std::pair<std::string, const char*> bad[] = {
        {"[Profile]\nbase=999\nname=a\n", "names no output profile"},
        {"[Profile]\nname=b\n", "names no output profile"},
        {"[Profile]\nbase=79\nname=c\n", "heading \"Common Used Video Formats\""},
        {"[Profile]\nbase=2\nname=d\n[Options]\nColour=red\n", "\"Colour\" is unknown"},
        {"[Profile]\nbase=2\nname=e\n[Options]\nItem Name=x\n", "\"Item Name\" is unknown"},
        {"[Profile]\nbase=2\nname=f\n[Options]\nVideo Size=huge\n", "\"huge\" is no value"},
        {"[Profile]\nbase=2\nname=g\n[Options]\nVideo Size=640x480\nVideo Size=320x240\n",
         "given twice"},
        {"[Profile]\nbase=2\nname=h\ngarbage\n", "damaged: line 4"},
        {"[Profile]\nbase=2\nname=i\0\x01\x02"s, "damaged: it is not a text file"},
        {"[Options]\nVideo Size=640x480\n", "no [Profile] section"},
        {"[Profile]\nbase=2\nname=Phone\n", "another file holds a profile named \"Phone\""},
    };
    int n = 10; // z10, z11, ...: in the order of the table
    for (const auto& [content, reason] : bad)
        Write("z" + std::to_string(n++) + ".vxprofile", content);
    const auto rejected = store_.Load();
    ASSERT_EQ(rejected.size(), std::size(bad));
    for (std::size_t i = 0; i < rejected.size(); ++i)
        EXPECT_NE(rejected[i].reason.find(bad[i].second), std::string::npos)
            << rejected[i].file << ": " << rejected[i].reason;
    ASSERT_EQ(store_.Profiles().size(), 2u);
    const UserProfile* phone = store_.Find("Phone");
    ASSERT_TRUE(phone);
    EXPECT_EQ(phone->base, 86);
    EXPECT_EQ(phone->values,
              (std::vector<OptionValue>{{"Video Size", "640x480"}, {"Audio Bitrate", "96"}}));
    EXPECT_EQ(store_.Find("Stem")->base, 2);
}

TEST_F(UserProfiles, SaveRenameRemoveImportAndExportKeepOneFilePerProfile) {
    const std::vector<OptionValue> values{{"Video Size", "640x480"}, {"A/V Sync", "Default"}};
    ASSERT_TRUE(store_.Save({"Couch", 59, values, {}}));
    EXPECT_EQ(vxtest::ReadFile(folder_ + "/Couch.vxprofile"),
              "[Profile]\nbase=59\nname=Couch\n[Options]\n"
              "Video Size=640x480\nA/V Sync=Default\n");
    // Any character a file name may hold, but "/" and line breaks.
    for (const std::string name : {" blank ", "\"quoted\"", "-x $(rm) ;'", "Ünïcode ✓", "a=b"})
        ASSERT_TRUE(store_.Save({name, 2, {}, {}})) << name;
    for (const std::string& name : {"a/b"s, ""s, ".."s, "two\nlines"s, std::string(250, 'x')})
        EXPECT_FALSE(store_.Save({name, 2, {}, {}})) << name;
    EXPECT_FALSE(store_.Save({"Heading", 1, {}, {}}));
    UserProfileStore again(folder_);
    EXPECT_TRUE(again.Load().empty());
    EXPECT_EQ(again.Profiles().size(), 6u);
    EXPECT_TRUE(again.Find(" blank ") && again.Find("\"quoted\"") && again.Find("a=b"));

    EXPECT_FALSE(store_.Rename("Couch", "a=b")); // taken
    ASSERT_TRUE(store_.Rename("Couch", "Sofa"));
    EXPECT_FALSE(fs::exists(folder_ + "/Couch.vxprofile"));
    EXPECT_EQ(store_.Find("Sofa")->values, values);
    ASSERT_TRUE(store_.Export("Sofa", root_ + "/shared.vxprofile"));
    ASSERT_TRUE(store_.Remove("Sofa"));
    EXPECT_FALSE(store_.Find("Sofa") || fs::exists(folder_ + "/Sofa.vxprofile"));
    std::string imported;
    ASSERT_TRUE(store_.Import(root_ + "/shared.vxprofile", &imported));
    EXPECT_EQ(imported, "Sofa");
    EXPECT_EQ(store_.Find("Sofa")->values, values);
    std::ofstream(root_ + "/foreign.vxprofile") << "[Profile]\nbase=0\n";
    EXPECT_FALSE(store_.Import(root_ + "/foreign.vxprofile"));
    int files = 0; // no temporary file is left behind
    for (const auto& entry : fs::directory_iterator(folder_))
        files += entry.path().extension() == ".vxprofile" ? 1 : 100;
    EXPECT_EQ(files, 6);
}

// Each entry takes only the values its own sheet offers: the later entries'
// choices ("Kept as it is", ...) mean nothing to the first 92, and a later entry
// takes only its own. A saved profile or --set holding another is refused with
// its reason and applies nothing (files and --set: the window and CLI tests).
TEST_F(UserProfiles, EachEntryTakesOnlyTheValuesItsSheetOffers) {
    const std::pair<OptionValue, int> refused[] = {
        {{"Video Bitrate", "Kept as it is"}, 84},
        {{"Video Size", "Kept as it is"}, 84},
        {{"Sample Rate", "Same as source"}, 2},
        {{"Video Codec", "AV1 (SVT-AV1)"}, 86},
        {{"Video Codec", "xvid"}, 98},
        {{"Video Bitrate", "256"}, 101},
        {{"Video Size", "720p"}, 94},
    };
    for (const auto& [option, base] : refused) {
        const auto problem = OptionsProblem(base, {option});
        ASSERT_TRUE(problem) << option.value << " on " << base;
        EXPECT_NE(problem->find("\"" + option.value + "\" is no value of \"" + option.caption +
                                "\" for \""),
                  std::string::npos)
            << *problem;
    }
    EXPECT_FALSE(OptionsProblem(98, {{"Video Size", "720p"}, {"Video Bitrate", "Small"}}));
    EXPECT_FALSE(OptionsProblem(88, {{"Video Codec", "WMV V9"}})); // the first 92 share theirs

    OptionSheet sheet = Sheet(2);
    EXPECT_FALSE(ApplyOptions(sheet, 84, {{"Video Bitrate", "Kept as it is"}}));
    EXPECT_EQ(ReadConversionOptions(sheet)->VideoBitrate, "512"); // nothing applied
}

// Only regular files are read as profiles and settings: a named pipe (which
// would hold a reader without a writer for ever), a folder or a device named
// like one is refused at once with its reason, and never replaced by a write.
TEST_F(UserProfiles, OnlyRegularFilesAreRead) {
    fs::create_directories(root_ + "/folder.vxprofile");
    const std::string pipe = root_ + "/pipe.vxprofile";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const std::pair<std::string, const char*> cases[] = {
        {pipe, "it is a named pipe"},
        {root_ + "/folder.vxprofile", "it is a folder"},
        {"/dev/zero", "it is a device"},
    };
    for (const auto& [path, reason] : cases) {
        std::string why;
        EXPECT_FALSE(ReadProfileFile(path, &why)) << path;
        EXPECT_NE(why.find(reason), std::string::npos) << why;
        const ProfileOutcome imported = store_.Import(path);
        EXPECT_FALSE(imported);
        EXPECT_NE(imported.reason.find(reason), std::string::npos) << imported.reason;
        EXPECT_EQ(ReadSetting(path, "set", "profile"), "");
        EXPECT_FALSE(WriteSetting(path, "set", "profile", "2"));
    }
    EXPECT_FALSE(WriteFileAtomically(pipe, "x"));
    EXPECT_TRUE(fs::is_fifo(pipe)); // left as it was
}

#include "OptionSets.h"
#include "Catalog.h"
#include "OfferedValues.h"
#include "SheetLayout.h"

#include <gtest/gtest.h>

using namespace vx;

namespace {

using Choices = std::vector<std::string>;

struct Sheet {
    OptionSheet sheet;
    Sheet() { FillDefaultLayout(sheet); }
    std::string Video(const char* item) { return sheet.Find("Video Options", item)->value; }
    std::string Audio(const char* item) { return sheet.Find("Audio Options", item)->value; }
    Choices VideoChoices(const char* item) { return sheet.Find("Video Options", item)->choices; }
    Choices AudioChoices(const char* item) { return sheet.Find("Audio Options", item)->choices; }
    // Every value and list of the sheet, for whole-sheet comparisons.
    std::vector<std::pair<std::string, Choices>> Snapshot() {
        std::vector<std::pair<std::string, Choices>> all;
        for (const auto& group : sheet.Groups())
            for (const auto& item : group->items)
                all.emplace_back(item->caption + "=" + item->value, item->choices);
        return all;
    }
    void Pick(int position) { ASSERT_TRUE(ApplyOptionSet(sheet, position)); }
};

} // namespace

TEST(DeviceSets, LeaveUnchangedCellsAsTheLastEntrySetThem) {
    Sheet s;
    s.Pick(18); // Sony PSP MPEG-4
    s.Pick(27); // Walkman WMV9 leaves the frame rate
    EXPECT_EQ(s.Video("Video Framerate"), "29.97");
    EXPECT_EQ(s.Video("Video Codec"), "WMV V9");
    EXPECT_EQ(s.VideoChoices("Video Codec"), Choices{"WMV V9"});

    s.Pick(19);
    s.Pick(29); // Zune WMV leaves audio bit rate and sample rate
    EXPECT_EQ(s.Audio("Audio Bitrate"), "64");
    EXPECT_EQ(s.Audio("Sample Rate"), "48000");

    s.Pick(2);
    s.Pick(61); // Wii leaves the sample rate
    EXPECT_EQ(s.Audio("Sample Rate"), "44100");
    s.Pick(18);
    s.Pick(70); // Nokia N-Series leaves frame rate and sample rate
    EXPECT_EQ(s.Video("Video Framerate"), "29.97");
    EXPECT_EQ(s.Audio("Sample Rate"), "24000");
    EXPECT_EQ(s.Video("Video Size"), "320x176");
}

TEST(DeviceSets, VideoBitrateAppendsAccumulateAndReplacesReset) {
    Sheet s;
    const Choices defaults = s.VideoChoices("Video Bitrate");
    s.Pick(78); // Gigabeat: B3 replace
    EXPECT_EQ(s.VideoChoices("Video Bitrate"), (Choices{"768", "512", "384", "256"}));
    EXPECT_EQ(s.Video("Video Bitrate"), "512");
    s.Pick(21); // PS3: B1 append
    EXPECT_EQ(s.VideoChoices("Video Bitrate"),
              (Choices{"768", "512", "384", "256", "2000", "2500", "3000"}));
    s.Pick(22); // PS3 again appends again
    EXPECT_EQ(s.VideoChoices("Video Bitrate").size(), 10u);
    s.Pick(72); // Windows Mobile: B2 append
    EXPECT_EQ(s.VideoChoices("Video Bitrate").back(), "384");
    EXPECT_EQ(s.VideoChoices("Video Bitrate").size(), 11u);
    s.Pick(84); // Customized AVI: exactly the eight choices of its replace
    EXPECT_EQ(s.VideoChoices("Video Bitrate"),
              (Choices{"768", "2000", "4000", "5000", "6000", "8000", "10000", "12000"}));

    Sheet fresh;
    fresh.Pick(20); // a heading appends like its first profile
    Choices expected = defaults;
    expected.insert(expected.end(), {"2000", "2500", "3000"});
    EXPECT_EQ(fresh.VideoChoices("Video Bitrate"), expected);
}

TEST(DeviceSets, HeadingsApplyTheirFirstProfilesSet) {
    for (int p = 1; p <= ProfileCatalog::kCount; ++p) {
        if (!ProfileCatalog::IsHeading(p)) continue;
        SCOPED_TRACE(p);
        Sheet heading, profile;
        heading.Pick(p);
        profile.Pick(p + 1);
        if (p == 1) {
            EXPECT_EQ(heading.Audio("Audio Bitrate"), "128");
            EXPECT_EQ(profile.Audio("Audio Bitrate"), "64");
            heading.sheet.SetValue(heading.sheet.Find("Audio Options", "Audio Bitrate"), "64");
        }
        EXPECT_EQ(heading.Snapshot(), profile.Snapshot());
    }
}

TEST(DeviceSets, NexusOneGetsItsSiblingsCodecList) {
    Sheet s;
    s.Pick(16);
    EXPECT_EQ(s.Video("Video Codec"), "x264");
    EXPECT_EQ(s.VideoChoices("Video Codec"), (Choices{"xvid", "x264", "mpeg4"}));
    EXPECT_EQ(s.Video("Video Size"), "800x480");
    EXPECT_EQ(s.Video("Video Bitrate"), "1200");
}

TEST(DeviceSets, PhonesUseNarrowBandAudioValues) {
    for (int p : {63, 64}) {
        Sheet s;
        s.Pick(p);
        EXPECT_EQ(s.Audio("Audio Bitrate"), "12.2");
        EXPECT_EQ(s.Audio("Sample Rate"), "8000");
        EXPECT_EQ(s.AudioChoices("Audio Codec"), (Choices{"amr_nb", "faac"}));
    }
}

TEST(CommonSets, HeadingsAndDvdFrameRates) {
    Sheet heading, ntsc;
    heading.Pick(79);
    ntsc.Pick(80);
    EXPECT_EQ(heading.Snapshot(), ntsc.Snapshot());
    EXPECT_EQ(ntsc.VideoChoices("Video Framerate"), Choices{"25"});
    EXPECT_EQ(ntsc.Video("Video Framerate"), "25");

    Sheet pal;
    const Choices framerates = pal.VideoChoices("Video Framerate");
    pal.Pick(81);
    EXPECT_EQ(pal.Video("Video Framerate"), "25");
    EXPECT_EQ(pal.VideoChoices("Video Framerate"), framerates);
    EXPECT_EQ(pal.AudioChoices("Audio Bitrate"), (Choices{"128", "192"}));

    Sheet audioHeading, mp3;
    audioHeading.Pick(87);
    mp3.Pick(88);
    EXPECT_EQ(audioHeading.Snapshot(), mp3.Snapshot());
}

TEST(CommonSets, AudioOnlyProfilesLeaveEveryVideoItem) {
    for (int p = 88; p <= 92; ++p) {
        SCOPED_TRACE(p);
        Sheet s;
        s.Pick(23); // a video profile first
        const auto before = s.Snapshot();
        s.Pick(p);
        const auto after = s.Snapshot();
        for (std::size_t i = 0; i < 8; ++i)
            EXPECT_EQ(before[i], after[i]);     // General..Video Options
        EXPECT_EQ(before.back(), after.back()); // A/V Sync
    }
}

TEST(CommonSets, WmaAudioChangesOnlyTheAudioCodec) {
    Sheet s;
    s.Pick(19);
    auto expected = s.Snapshot();
    s.Pick(92);
    expected[8] = {"Audio Codec=WMA9", {"WMA9"}};
    EXPECT_EQ(s.Snapshot(), expected);
}

TEST(CommonSets, CustomizedWmvAndMpegSets) {
    Sheet s;
    s.Pick(18);
    s.Pick(85);
    EXPECT_EQ(s.Audio("Audio Codec"), "WMA");
    EXPECT_EQ(s.Video("Video Framerate"), "29.97");
    EXPECT_EQ(s.Audio("Sample Rate"), "24000");
    s.Pick(82);
    EXPECT_EQ(s.Video("Video Framerate"), "29.970");
    s.Pick(83);
    s.Pick(83);
    const Choices bitrates = s.VideoChoices("Video Bitrate");
    EXPECT_EQ(bitrates[bitrates.size() - 1], "1800");
    EXPECT_EQ(bitrates[bitrates.size() - 2], "1800");
    // The sizes list keeps its duplicates.
    const Choices sizes = s.VideoChoices("Video Size");
    ASSERT_EQ(sizes.size(), 18u);
    EXPECT_EQ(sizes[8], "720x480");
    EXPECT_EQ(sizes[12], "720x480");
    EXPECT_EQ(sizes[9], "720x576");
    EXPECT_EQ(sizes[13], "720x576");
}

TEST(OptionSetTables, EveryReplacedValueIsOneOfItsNewChoices) {
    for (const auto* table : {&DeviceOptionSets(), &CommonFormatOptionSets()})
        for (const OptionSet& set : *table)
            for (const OptionCell* cell :
                 {&set.videoCodec, &set.videoBitrate, &set.videoFramerate, &set.videoSize,
                  &set.audioCodec, &set.audioBitrate, &set.sampleRate}) {
                if (!cell->list) continue;
                SCOPED_TRACE(set.profile);
                ASSERT_NE(cell->value, nullptr);
                bool found = false;
                for (const char* choice : cell->list->choices)
                    found = found || std::string(choice) == cell->value;
                EXPECT_TRUE(found || cell->list->action == ChoiceAction::Append) << cell->value;
            }
}

TEST(OptionSetTables, DeviceSetsReplaceCodecSizeAndAudioCodecEverywhere) {
    for (const OptionSet& set : DeviceOptionSets()) {
        SCOPED_TRACE(set.profile);
        for (const OptionCell* cell : {&set.videoCodec, &set.videoSize, &set.audioCodec}) {
            ASSERT_NE(cell->list, nullptr);
            EXPECT_EQ(cell->list->action, ChoiceAction::Replace);
        }
        EXPECT_EQ(set.videoFramerate.list, nullptr);
        EXPECT_EQ(set.audioBitrate.list, nullptr);
        EXPECT_EQ(set.sampleRate.list, nullptr);
    }
}

TEST(OptionSets, PositionsWithoutASetChangeNothing) {
    Sheet s;
    const auto before = s.Snapshot();
    EXPECT_FALSE(ApplyOptionSet(s.sheet, 0));
    EXPECT_FALSE(ApplyOptionSet(s.sheet, ProfileCatalog::kEntryCount + 1));
    EXPECT_EQ(s.Snapshot(), before);
    OptionSheet empty; // not yet filled: nothing to find, nothing breaks
    EXPECT_FALSE(ApplyOptionSet(empty, 2));
    EXPECT_TRUE(empty.Groups().empty());
}

// The later entries: copies say every item is kept; today's formats offer sizes
// and quality levels.
TEST(LaterSets, CopiesKeepEverythingAndDesignedSetsFollowAsFromTheDefaults) {
    Sheet s;
    s.Pick(93); // the heading applies its first profile's set
    for (const char* item : {"Video Codec", "Video Size", "Video Bitrate", "Video Framerate"})
        EXPECT_EQ(s.VideoChoices(item), Choices{"Kept as it is"}) << item;
    EXPECT_EQ(s.Audio("Audio Bitrate"), "Kept as it is");
    s.Pick(100);
    EXPECT_EQ(s.Video("Quality"), "Standard"); // a quality level, captioned as one
    EXPECT_EQ(s.VideoChoices("Quality"), (Choices{"High", "Standard", "Small"}));
    EXPECT_EQ(s.VideoChoices("Video Size"),
              (Choices{"Same as source", "1080p", "720p", "480p", "360p"}));
    EXPECT_EQ(s.Audio("Audio Codec"), "opus");
}

// A designed set picked after a later entry finds the sheet as from the defaults,
// even where a frame rate put back by hand left the other items as the later
// set made them: no value or choice of the later entries stays.
TEST(LaterSets, ADesignedSetPickedAfterThemIsAsPickedAlone) {
    for (int later = ProfileCatalog::kCount + 1; later <= ProfileCatalog::kEntryCount; ++later)
        for (int designed = 1; designed <= ProfileCatalog::kCount; ++designed) {
            Sheet s, fresh;
            s.Pick(later);
            s.sheet.SetValue(s.sheet.Find("Video Options", "Video Framerate"), "25");
            s.Pick(designed);
            fresh.Pick(designed);
            EXPECT_EQ(s.Snapshot(), fresh.Snapshot()) << later << " then " << designed;
            for (const auto& group : s.sheet.Groups())
                for (const auto& item : group->items) {
                    EXPECT_FALSE(OnlyLaterEntriesOffer(item->caption, item->value))
                        << later << " then " << designed << ": " << item->value;
                    for (const std::string& choice : item->choices)
                        EXPECT_FALSE(OnlyLaterEntriesOffer(item->caption, choice))
                            << later << " then " << designed << ": " << choice;
                }
        }
}

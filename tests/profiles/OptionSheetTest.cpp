#include "OptionSheet.h"
#include "SheetLayout.h"

#include <gtest/gtest.h>

using namespace vx;

TEST(OptionSheet, DefaultLayoutHoldsTheDesignedValues) {
    OptionSheet sheet;
    FillDefaultLayout(sheet);
    ASSERT_EQ(sheet.Groups().size(), 4u);
    EXPECT_EQ(sheet.Groups()[0]->caption, "General");
    EXPECT_EQ(sheet.Groups()[3]->caption, "Audio Options");
    EXPECT_EQ(sheet.Groups()[3]->items.size(), 6u);
    const auto options = ReadConversionOptions(sheet);
    ASSERT_TRUE(options);
    EXPECT_EQ(options->VideoCodec, "xvid");
    EXPECT_EQ(options->VideoSize, "320x240");
    EXPECT_EQ(options->VideoBitrate, "256");
    EXPECT_EQ(options->VideoFramerate, "29.97");
    EXPECT_EQ(options->AudioCodec, "aac");
    EXPECT_EQ(options->AudioBitrate, "128");
    EXPECT_EQ(options->SampleRate, "44100");
    EXPECT_EQ(options->AudioChannel, "2");
    EXPECT_EQ(options->DisableAudio, "No");
    EXPECT_EQ(options->AVSync, "Basic");
    EXPECT_EQ(OptionSheet::GetValue(sheet.Find("General", "Item Name")), "Auto");
    const auto& bitrates = sheet.Find("Video Options", "Video Bitrate")->choices;
    ASSERT_EQ(bitrates.size(), 11u);
    EXPECT_EQ(bitrates[9], "1152"); // after "1500", not in numeric order
}

TEST(OptionSheet, OnlyTheFourMirrorItemsAreReadOnly) {
    OptionSheet sheet;
    FillDefaultLayout(sheet);
    int readOnly = 0;
    for (const auto& group : sheet.Groups())
        for (const auto& item : group->items) {
            readOnly += item->readOnly;
            EXPECT_EQ(item->readOnly,
                      group->caption == "General" || group->caption == "Output Duration");
        }
    EXPECT_EQ(readOnly, 4);
    // SetValue still writes a read-only item.
    EXPECT_TRUE(sheet.SetValue(sheet.Find("General", "Item Name"), "/x.flv"));
    EXPECT_EQ(OptionSheet::GetValue(sheet.Find("General", "Item Name")), "/x.flv");
}

TEST(OptionSheet, MissingGroupsAndItemsFailCleanly) {
    OptionSheet sheet;
    EXPECT_EQ(sheet.FindGroup("Video Options"), nullptr);
    EXPECT_EQ(OptionSheet::FindItem(nullptr, "Video Codec"), nullptr);
    EXPECT_FALSE(sheet.SetValue(nullptr, "x"));
    EXPECT_FALSE(sheet.ClearChoices(nullptr));
    EXPECT_FALSE(sheet.AddChoice(nullptr, "x"));
    EXPECT_FALSE(sheet.SetReadOnly(nullptr));
    EXPECT_EQ(OptionSheet::GetValue(nullptr), "");
    EXPECT_FALSE(ReadConversionOptions(sheet));
    FillDefaultLayout(sheet);
    EXPECT_EQ(sheet.Find("Video Options", "Video codec"), nullptr); // exact captions only
    EXPECT_EQ(sheet.Find("Audio Options", "Video Codec"), nullptr);
}

TEST(OptionSheet, ChoicesKeepOrderAndDuplicatesAndSetValueLeavesThem) {
    OptionSheet sheet;
    OptionGroup* group = sheet.AddGroup("G");
    OptionItem* item = sheet.AddItem(group, "I", "a", ItemKind::Choice);
    EXPECT_TRUE(item->choices.empty());
    sheet.AddChoice(item, "b");
    sheet.AddChoice(item, "a");
    sheet.AddChoice(item, "b");
    sheet.SetValue(item, "zzz");
    EXPECT_EQ(item->choices, (std::vector<std::string>{"b", "a", "b"}));
    EXPECT_EQ(item->value, "zzz");
    sheet.ClearGroups();
    EXPECT_TRUE(sheet.Groups().empty());
}

TEST(OptionSheet, TellsItsListenerOfEveryChange) {
    OptionSheet sheet;
    int structural = 0, items = 0;
    sheet.SetListener([&](const OptionItem* item) { item ? ++items : ++structural; });
    FillDefaultLayout(sheet);
    EXPECT_GT(structural, 0);
    items = 0;
    sheet.SetValue(sheet.Find("Audio Options", "Audio Codec"), "mp3");
    EXPECT_EQ(items, 1);
}

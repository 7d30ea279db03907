#include "Catalog.h"
#include "OptionSets.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

using namespace vx;

namespace {

const char* const kPatterns[] = {"(*.mp4)", "(*.avi)", "(*.wmv)", "(*.3gp)", "(*.3g2)",
                                 "(*.flv)", "(*.swf)", "(*.mpg)", "(*.mp3)", "(*.ogg)",
                                 "(*.wav)", "(*.aac)", "(*.wma)"};

bool EndsWithPattern(const std::string& text) {
    for (const std::string pattern : kPatterns)
        if (text.size() > pattern.size() && text.ends_with(pattern)) return true;
    return false;
}

} // namespace

TEST(Catalog, HoldsTwentyTwoHeadingsAndSeventyProfilesInOrder) {
    int headings = 0;
    for (int p = 1; p <= ProfileCatalog::kCount; ++p) {
        const CatalogEntry* entry = ProfileCatalog::At(p);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->position, p);
        headings += entry->kind == EntryKind::Heading;
    }
    EXPECT_EQ(headings, 22);
    EXPECT_EQ(ProfileCatalog::At(0), nullptr);
    EXPECT_EQ(ProfileCatalog::At(ProfileCatalog::kEntryCount + 1), nullptr);
    EXPECT_EQ(ProfileCatalog::At(-1), nullptr);
    EXPECT_STREQ(ProfileCatalog::At(79)->text, "Common Used Video Formats");
    EXPECT_STREQ(ProfileCatalog::At(42)->text, "Creative Zen Vison Movie(*.avi)");
    EXPECT_STREQ(ProfileCatalog::At(66)->text, "Nokia N-series MPEG-4 Movie(*.mp4)");
    EXPECT_STREQ(ProfileCatalog::At(70)->text, "Nokia N-Series MPEG-4 Movie(*.mp4)");
    EXPECT_STREQ(ProfileCatalog::At(5)->text, "Apple iPod Movie for 576p TV Out(*.mp4)");
}

TEST(Catalog, DisplayTextsFollowTheirRules) {
    for (int p = 1; p <= ProfileCatalog::kCount; ++p) {
        const CatalogEntry* entry = ProfileCatalog::At(p);
        const std::string text = entry->text;
        SCOPED_TRACE(text);
        if (entry->kind == EntryKind::Heading) {
            EXPECT_EQ(text.find('.'), std::string::npos);
            EXPECT_GE(entry->picture, 1);
            EXPECT_LE(entry->picture, ProfileCatalog::kPictureCount);
            EXPECT_FALSE(OutputExtension(text));
        } else {
            EXPECT_TRUE(EndsWithPattern(text));
            EXPECT_EQ(text.find('.'), text.rfind("(*.") + 2); // no "." before the pattern
            EXPECT_EQ(entry->picture, 0);
            EXPECT_EQ(*OutputExtension(text), text.substr(text.size() - 5, 4));
        }
    }
}

TEST(Catalog, HeadingsSharingAPictureAreIRiverAndWindowsMobile) {
    std::multiset<int> pictures;
    for (int p = 1; p <= ProfileCatalog::kCount; ++p)
        if (ProfileCatalog::IsHeading(p)) pictures.insert(ProfileCatalog::At(p)->picture);
    EXPECT_EQ(pictures.count(31), 2u);
    EXPECT_EQ(std::set<int>(pictures.begin(), pictures.end()).size(), 21u);
}

TEST(Catalog, OutputExtensionIsFourCharactersFromTheFirstDot) {
    EXPECT_EQ(OutputExtension("Apple iPod Video MPEG-4 Movie(*.mp4)"), ".mp4");
    EXPECT_EQ(OutputExtension("Sony PS3 MPEG-4 AVC Movie(720p)(*.mp4)"), ".mp4");
    EXPECT_EQ(OutputExtension("a.b"), ".b");
    EXPECT_FALSE(OutputExtension("Apple iPod"));
}

TEST(Catalog, EveryOptionSetRowNamesItsCatalogEntry) {
    for (const auto* table : {&DeviceOptionSets(), &CommonFormatOptionSets()})
        for (const OptionSet& set : *table) {
            const CatalogEntry* entry = ProfileCatalog::At(set.position);
            ASSERT_NE(entry, nullptr);
            EXPECT_STREQ(entry->text, set.profile);
            EXPECT_EQ(entry->kind, EntryKind::Profile);
        }
    EXPECT_EQ(DeviceOptionSets().size() + CommonFormatOptionSets().size(), 70u);
}

// After the 92: two headings with pictures of their own, whose profiles take
// their extension from the row, not from the display text.
TEST(Catalog, LaterEntriesFollowTheDesignedOnes) {
    std::set<int> designedPictures;
    for (int p = 1; p <= ProfileCatalog::kCount; ++p) {
        EXPECT_FALSE(IsModernPosition(p));
        designedPictures.insert(ProfileCatalog::At(p)->picture);
    }
    int headings = 0;
    for (int p = ProfileCatalog::kCount + 1; p <= ProfileCatalog::kEntryCount; ++p) {
        const CatalogEntry* entry = ProfileCatalog::At(p);
        ASSERT_NE(entry, nullptr);
        EXPECT_TRUE(IsModernPosition(p));
        if (entry->kind == EntryKind::Heading) {
            ++headings;
            EXPECT_EQ(designedPictures.count(entry->picture), 0u);
            EXPECT_LE(entry->picture, ProfileCatalog::kPictureCount);
        }
    }
    EXPECT_EQ(headings, 2);
    EXPECT_STREQ(ProfileCatalog::At(93)->text, "Keep quality (no re-encoding)");
    EXPECT_STREQ(ProfileCatalog::At(101)->text, "WebM AV1/Opus(*.webm)");
}

#include "AppFolder.h"
#include "CommandLine.h"
#include "Numbers.h"
#include "TimeText.h"

#include <gtest/gtest.h>

using namespace vx;

TEST(NumberReading, TakesTheLeadingNumberWithADot) {
    EXPECT_DOUBLE_EQ(ReadNumber("12.2"), 12.2);
    EXPECT_DOUBLE_EQ(ReadNumber("  4 cores"), 4);
    EXPECT_DOUBLE_EQ(ReadNumber("-1"), -1);
    EXPECT_DOUBLE_EQ(ReadNumber("2,5"), 2); // a comma is no decimal separator
    EXPECT_DOUBLE_EQ(ReadNumber(".5x"), 0.5);
    EXPECT_DOUBLE_EQ(ReadNumber("1e3"), 1000);
    EXPECT_DOUBLE_EQ(ReadNumber("3e"), 3);
    EXPECT_DOUBLE_EQ(ReadNumber("abc"), 0);
    EXPECT_DOUBLE_EQ(ReadNumber(""), 0);
    EXPECT_DOUBLE_EQ(ReadNumber("-"), 0);
}

TEST(SixteenBitConversion, RoundsHalvesToEvenAndFailsOutsideTheRange) {
    EXPECT_EQ(ToInt16("12.2"), 12);
    EXPECT_EQ(ToInt16("2.5"), 2);
    EXPECT_EQ(ToInt16("3.5"), 4);
    EXPECT_EQ(ToInt16("-2.5"), -2);
    EXPECT_EQ(ToInt16(" 128 "), 128);
    EXPECT_EQ(ToInt16("32767"), 32767);
    EXPECT_EQ(ToInt16("-32768"), -32768);
    EXPECT_EQ(ToInt16("32767.4"), 32767);
    EXPECT_FALSE(ToInt16("32767.5")); // rounds to 32768
    EXPECT_FALSE(ToInt16("32768"));
    EXPECT_FALSE(ToInt16("-32769"));
    EXPECT_FALSE(ToInt16("abc"));
    EXPECT_FALSE(ToInt16("12abc"));
    EXPECT_FALSE(ToInt16(""));
    EXPECT_FALSE(ToInt16("1e400"));
    EXPECT_EQ(ToInt32("320"), 320);
    EXPECT_FALSE(ToInt32("2147483648"));
}

TEST(NumberWriting, PlainAndSignReserving) {
    EXPECT_EQ(PlainNumberText(4), "4");
    EXPECT_EQ(PlainNumberText(2.5), "2.5");
    EXPECT_EQ(PlainNumberText(-1), "-1");
    EXPECT_EQ(PlainNumberText(-0.0), "0");
    EXPECT_EQ(SignedNumberText(4), " 4");
    EXPECT_EQ(SignedNumberText(2.5), " 2.5");
    EXPECT_EQ(SignedNumberText(-1), "-1");
    EXPECT_EQ(SignedNumberText(0), " 0");
    EXPECT_EQ(SignedNumberText(123456789), " 123456789");
    // Never an exponent, whatever the size: a thread count, a window handle.
    EXPECT_EQ(PlainNumberText(100000), "100000");
    EXPECT_EQ(SignedNumberText(52000000), " 52000000");
    EXPECT_EQ(SignedNumberText(4294967296.0), " 4294967296");
    EXPECT_EQ(PlainNumberText(9007199254740992.0), "9007199254740992");
    EXPECT_EQ(PlainNumberText(1e300).size(), 301u);
    EXPECT_EQ(PlainNumberText(0.0001), "0.0001");
    EXPECT_EQ(PlainNumberText(-1e-7), "-0.0000001");
    EXPECT_EQ(ReadNumber(PlainNumberText(123456.789)), 123456.789);
}

TEST(TimeText, WritesHoursUnpaddedAndWrapsAtADay) {
    EXPECT_EQ(TimeText(0), "0:00:00");
    EXPECT_EQ(TimeText(95), "0:01:35");
    EXPECT_EQ(TimeText(86399), "23:59:59");
    EXPECT_EQ(TimeText(86400), "0:00:00");
    EXPECT_EQ(TimeText(86400 + 61), "0:01:01");
    EXPECT_EQ(TimeText(-30), "23:59:30");
    EXPECT_EQ(LengthTimeText(125.4), "0:02:05");
    EXPECT_EQ(LengthTimeText(7.9), "0:00:07");
    EXPECT_EQ(LengthTimeText(90000.5), "1:00:00");
}

TEST(TimeText, NarrowsTo16BitsWhereTheTimersDo) {
    EXPECT_EQ(TimeText16(32767), "9:06:07");
    EXPECT_FALSE(TimeText16(32768));
    EXPECT_FALSE(TimeText16(-32769));
}

TEST(TimeText, ReadsBackOnlyTimesOfDay) {
    EXPECT_EQ(ReadTimeOfDay("0:00:00"), 0);
    EXPECT_EQ(ReadTimeOfDay("00:00:00"), 0);
    EXPECT_EQ(ReadTimeOfDay("0:01:30"), 90);
    EXPECT_EQ(ReadTimeOfDay("23:59:59"), 86399);
    EXPECT_EQ(ReadTimeOfDay("1:30"), 5400);
    EXPECT_EQ(ReadTimeOfDay(" 0:00:10 "), 10);
    EXPECT_FALSE(ReadTimeOfDay("24:00:00"));
    EXPECT_FALSE(ReadTimeOfDay("0:60:00"));
    EXPECT_FALSE(ReadTimeOfDay("0:00:60"));
    EXPECT_FALSE(ReadTimeOfDay(""));
    EXPECT_FALSE(ReadTimeOfDay("10"));
    EXPECT_FALSE(ReadTimeOfDay("1:2:3:4"));
    EXPECT_FALSE(ReadTimeOfDay("a:bc:de"));
    EXPECT_FALSE(ReadTimeOfDay("-1:00:00"));
    EXPECT_FALSE(ReadTimeOfDay("1::00"));
}

TEST(ApplicationFolder, IsTheProgramFolderWithOneTrailingSeparator) {
    const std::string raw = ApplicationFolderRaw();
    ASSERT_FALSE(raw.empty());
    EXPECT_NE(raw.back(), '/');
    EXPECT_EQ(ApplicationFolder(), raw + "/");
    EXPECT_EQ(WithTrailingSeparator("/"), "/");
    EXPECT_EQ(WithTrailingSeparator("/opt/vx"), "/opt/vx/");
}

// Every path a Linux name can form comes back byte for byte from its quoted
// text; a plain path is simply put between double quotes.
TEST(CommandLineQuoting, EveryPathComesBackFromItsQuotedText) {
    EXPECT_EQ(Quoted("/in/a b.flv"), "\"/in/a b.flv\"");
    EXPECT_EQ(Quoted("/in/x\\y.flv"),
              "\"/in/x\\y.flv\""); // a backslash before no quote stays single
    EXPECT_EQ(Quoted("say \"hi\""), "\"say \\\"hi\\\"\"");
    std::string everyByte;
    for (int c = 1; c < 256; ++c)
        everyByte.push_back(static_cast<char>(c));
    for (const std::string& path :
         {std::string("say \"hi\".flv"), std::string("a\\\"b"), std::string("trailing\\"),
          std::string("two\\\\\""), std::string("\\\\\\"), std::string("  blanks  \t tab"),
          std::string("\xc3\xa9t\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac"), std::string("\""),
          std::string(), std::string("new\nline\r"), everyByte}) {
        const std::string line = "\"/app/fp.dll\" -i " + Quoted(path) + " -y " + Quoted(path);
        const std::vector<std::string> args = SplitCommandLine(line);
        ASSERT_EQ(args.size(), 5u) << line;
        EXPECT_EQ(args[2], path);
        EXPECT_EQ(args[4], path);
    }
    // The splitting rules themselves: 2n backslashes before a quote give n and a
    // quote that groups, 2n+1 give n and a quote of the argument.
    EXPECT_EQ(SplitCommandLine("a\\\\\"b c\""), (std::vector<std::string>{"a\\b c"}));
    EXPECT_EQ(SplitCommandLine("a\\\\\\\"b c"), (std::vector<std::string>{"a\\\"b", "c"}));
    EXPECT_EQ(SplitCommandLine("c:\\dir\\ x"), (std::vector<std::string>{"c:\\dir\\", "x"}));
}

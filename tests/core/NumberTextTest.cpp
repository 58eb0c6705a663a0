#include "core/AppInfo.h"
#include "core/Failure.h"
#include "core/NumberText.h"

#include <gtest/gtest.h>

using namespace orvella::core;

namespace {

TEST(NumberText, Numeric)
{
    for (const char *yes : {"5", " 5 ", "-3", "+2", "2.5", ".5", "5.", "1e3", "1E-2", "-0", "007"})
        EXPECT_TRUE(isNumeric(QString::fromUtf8(yes))) << yes;
    for (const char *no : {"", " ", "5x", "x5", "1.2.3", ".", "e5", "1 2", "\xD9\xA3", "--1", "1e"})
        EXPECT_FALSE(isNumeric(QString::fromUtf8(no))) << no;
}

TEST(NumberText, LeadingNumber)
{
    struct Case {
        const char *text;
        double value;
    };
    for (const Case &c : {Case{"1", 1}, Case{"01", 1}, Case{"1.0", 1}, Case{"1 x", 1}, Case{"2", 2},
                          Case{"-1", -1}, Case{"", 0}, Case{"True", 0}, Case{"  3abc", 3}, Case{"1e2x", 100}})
        EXPECT_DOUBLE_EQ(leadingNumber(QString::fromUtf8(c.text)), c.value) << c.text;
}

TEST(NumberText, TruthValue)
{
    EXPECT_EQ(readTruthValue(u"True"), true);
    EXPECT_EQ(readTruthValue(u"tRUE"), true);
    EXPECT_EQ(readTruthValue(u"FALSE"), false);
    EXPECT_EQ(readTruthValue(u"0"), false);
    EXPECT_EQ(readTruthValue(u"1"), true);
    EXPECT_EQ(readTruthValue(u"-1"), true);
    EXPECT_EQ(readTruthValue(u"banana"), std::nullopt);
    EXPECT_EQ(readTruthValue(u""), std::nullopt);
}

TEST(NumberText, SixteenBitWholeNumberHalvesToEven)
{
    struct Case {
        const char *text;
        int value;
    };
    for (const Case &c : {Case{"2.5", 2}, Case{"3.5", 4}, Case{"-2.5", -2}, Case{"0.5", 0}, Case{"1.5", 2},
                          Case{"-0", 0}, Case{" 7 ", 7}, Case{"32767", 32767}, Case{"-32768", -32768},
                          Case{"32767.4", 32767}})
        EXPECT_EQ(readInt16(QString::fromUtf8(c.text)), c.value) << c.text;
    for (const char *bad : {"", "40000", "32767.5", "-32769", "1e9", "abc", "\xD9\xA3"})
        EXPECT_THROW(readInt16(QString::fromUtf8(bad)), Failure) << bad;
}

TEST(AppInfo, TitleCutsAtLastBlank)
{
    EXPECT_EQ(applicationTitle("Orvella"), "Orvella");
    EXPECT_EQ(applicationTitle("Orvella Name Sorter"), "Orvella Name");
    EXPECT_EQ(applicationTitle(QString(30, 'a') + " " + QString(20, 'b') + " c"), QString(30, 'a'));
}

} // namespace

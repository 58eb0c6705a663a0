#include "core/NaturalOrder.h"

#include <gtest/gtest.h>

#include <QString>

using orvella::core::naturalCompare;

// Each pair in the order a reader expects; the reverse compares the other way, and a
// text equals itself.
TEST(NaturalOrder, DigitRunsCompareByValue)
{
    const struct {
        const char *before;
        const char *after;
    } cases[] = {
        {"7B", "10A"},       {"9", "10"},           {"Room 9", "Room 10"}, {"2", "2A"},
        {"10A", "10B"},      {"10a", "10B"},        {"007", "8"},          {"1.9", "1.10"},
        {"", "1"},           {"1", "A"},            {"Year 12", "year 13"}, {"007", "7"},
        {"10A", "10a"},      {"99999999999999999999", "100000000000000000000"},
    };
    for (const auto &c : cases) {
        const QString before = QString::fromUtf8(c.before);
        const QString after = QString::fromUtf8(c.after);
        EXPECT_LT(naturalCompare(before, after), 0) << c.before << " < " << c.after;
        EXPECT_GT(naturalCompare(after, before), 0) << c.after << " > " << c.before;
        EXPECT_EQ(naturalCompare(before, before), 0) << c.before;
    }
}

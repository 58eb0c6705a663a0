#include "names/FiledAs.h"
#include "names/NameReading.h"
#include "names/NameWords.h"
#include "names/SortKeys.h"
#include "ReadingLists.h"

#include <gtest/gtest.h>

using namespace orvella::names;
using namespace reading_lists;

namespace {

const FiledAsList &entries()
{
    static const FiledAsList list({
        {"Debbie Wasserman Schultz", "Wasserman Schultz", ""},
        {"Ludwig van Beethoven", "van Beethoven", ""},
        {"Van Morrison", "Morrison", "Van"},
        {"Smith, John", "Smith", "John"},
        {"Lee Ann", "Lee Ann", ""}, // the whole name: nothing is left for the tie
    });
    return list;
}

struct FiledCase {
    const char *name;
    const char *sortedUnder; // "" : the list does not hold the name
    const char *then;
};

class FiledAs : public ::testing::TestWithParam<FiledCase> {};

// An entry files its name alike in every reading and under every choice; a name it
// does not hold is read as without the list.
TEST_P(FiledAs, EntryComesBeforeEveryRule)
{
    const FiledCase c = GetParam();
    const QString name = QString::fromUtf8(c.name);
    const WordTests without{listedSuffix, defaultParticle, defaultTitle};
    WordTests with = without;
    with.filedAs = &entries();
    const SortOptions readings[] = {{SortBy::FirstLast, LastWordReading::SkipSuffixes},
                                    {SortBy::LastFirst, LastWordReading::LastWord},
                                    {SortBy::LastFirst, LastWordReading::SkipSuffixes}};
    for (const SortOptions &options : readings) {
        for (int bits = 0; bits < 32; ++bits) {
            ReadingChoices choices;
            choices.order = bits & 1 ? NameOrder::Alphabetical : NameOrder::Exact;
            choices.lastCommaFirst = bits & 2;
            choices.keepParticles = bits & 4;
            choices.stepOverExtras = bits & 8;
            choices.twoFamilyNames = bits & 16;
            const NameReading read = readName(name, options, choices, with);
            QString key;
            KeyNote note;
            buildReadingKeyInto(key, name, options, choices, with, &note);
            const NameReading fromKey = readingOfKey(key);
            if (*c.sortedUnder == 0) {
                EXPECT_EQ(read.sortedUnder, readName(name, options, choices, without).sortedUnder) << c.name;
                EXPECT_FALSE(read.filedAsSet || fromKey.filedAsSet || note.filedAsSet) << c.name;
                continue;
            }
            EXPECT_EQ(read.sortedUnder, QString::fromUtf8(c.sortedUnder)) << c.name << bits;
            EXPECT_EQ(read.then, QString::fromUtf8(c.then)) << c.name << bits;
            EXPECT_TRUE(read.filedAsSet && note.filedAsSet && note.ownText) << c.name << bits;
            EXPECT_EQ(fromKey.sortedUnder, read.sortedUnder) << c.name << bits;
            EXPECT_EQ(fromKey.then, read.then) << c.name << bits;
            EXPECT_TRUE(fromKey.filedAsSet && fromKey.stepped.isEmpty()) << c.name << bits;
            EXPECT_TRUE(sortedUnderText(fromKey).endsWith(QStringLiteral(", filed as you set"))) << c.name;
            EXPECT_EQ(note.shown, choices.stepOverExtras ? tidySpaces(name) : name) << c.name << bits;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, FiledAs,
    ::testing::Values(FiledCase{"Debbie Wasserman Schultz", "Wasserman Schultz", "Debbie"},
                      FiledCase{"Ludwig van Beethoven", "van Beethoven", "Ludwig"},
                      FiledCase{"Van Morrison", "Morrison", "Van"},
                      FiledCase{"Smith, John", "Smith", "John"},
                      FiledCase{"Lee Ann", "Lee Ann", ""},
                      // Found with its white space tidied.
                      FiledCase{"  Debbie \t Wasserman  Schultz ", "Wasserman Schultz", "Debbie"},
                      // Matched as written: letter case and other words count.
                      FiledCase{"debbie wasserman schultz", "", ""},
                      FiledCase{"Dr. Debbie Wasserman Schultz", "", ""},
                      FiledCase{"Sheila Jackson Lee", "", ""}));

// Names that file under the same words keep their order by the rest, before names
// filed after them.
TEST(FiledAsList, KeysOrderByTheWordsSetThenByTheRest)
{
    const FiledAsList list({{"Ann Wasserman Schultz", "Wasserman Schultz", ""},
                            {"Debbie Wasserman Schultz", "Wasserman Schultz", ""}});
    WordTests tests{listedSuffix, defaultParticle, defaultTitle, &list};
    const SortOptions options{SortBy::LastFirst, LastWordReading::SkipSuffixes};
    QString debbie, ann, walker;
    buildReadingKeyInto(debbie, u"Debbie Wasserman Schultz", options, {}, tests);
    buildReadingKeyInto(ann, u"Ann Wasserman Schultz", options, {}, tests);
    buildReadingKeyInto(walker, u"Ann Walker", options, {}, tests);
    EXPECT_LT(walker, ann);
    EXPECT_LT(ann, debbie);
}

// The stored and file form: one entry a line, fields between TABs; bad lines dropped,
// fields tidied, a later entry for a name replacing an earlier one.
TEST(FiledAsList, LinesReadAndWritten)
{
    const QList<FiledAsEntry> read = FiledAsList::readLines(
        u"Van Morrison\tMorrison\tVan\r\n\nno tab here\n  Ludwig  van Beethoven \tvan Beethoven\n"
        u"\tEmpty name\nEmpty words\t \nVan Morrison\tVan Morrison");
    const QList<FiledAsEntry> expected{{"Van Morrison", "Morrison", "Van"},
                                       {"Ludwig van Beethoven", "van Beethoven", ""},
                                       {"Van Morrison", "Van Morrison", ""}};
    EXPECT_EQ(read, expected);
    EXPECT_EQ(FiledAsList::readLines(FiledAsList::lines(read)), read);
    EXPECT_EQ(FiledAsList::lines(read).count(u'\n'), 2);

    const FiledAsList list(read);
    ASSERT_EQ(list.entries().size(), 2);
    ASSERT_TRUE(list.find(u"Van Morrison"));
    EXPECT_EQ(list.find(u"Van Morrison")->fileUnder, QStringLiteral("Van Morrison"));
    EXPECT_FALSE(list.find(u"Van"));
    EXPECT_FALSE(FiledAsList().find(u"Van Morrison"));
}

TEST(FiledAsList, RestIsTheNameWithoutTheWordsSet)
{
    const struct {
        const char *name, *fileUnder, *rest;
    } cases[] = {
        {"Debbie Wasserman Schultz", "Wasserman Schultz", "Debbie"},
        {"Anna Lee Leeds", "Lee", "Anna Leeds"},
        {"Anna Leeds Lee", "Lee", "Anna Leeds"},
        {"Maria Garcia", "Garcia Lopez", "Maria Garcia"},
        {"Prince", "Prince", ""},
        {"Smith, John, Jr.", "Smith", "John, Jr."},
    };
    for (const auto &c : cases)
        EXPECT_EQ(restOfName(QString::fromUtf8(c.name), QString::fromUtf8(c.fileUnder)), QString::fromUtf8(c.rest))
            << c.name;
}

} // namespace

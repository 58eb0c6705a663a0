// A name taken apart into the export's name columns under each reading: the parts are
// those the reading itself found, so that each column says what the sort used.

#include "names/NameParts.h"

#include "ReadingLists.h"

#include <gtest/gtest.h>

using namespace orvella::names;
using namespace reading_lists;

namespace {

const SortOptions kSkipSuffix{SortBy::LastFirst, LastWordReading::SkipSuffixes};
const SortOptions kLastWord{SortBy::LastFirst, LastWordReading::LastWord};
const SortOptions kFirstLast{SortBy::FirstLast, LastWordReading::SkipSuffixes};

struct PartsCase {
    const char *name; // "Last|Given|Suffix" for a name from name columns
    bool fromColumns;
    SortOptions options;
    int choices;
    const char *title;
    const char *first;
    const char *middle;
    const char *last;
    const char *suffix;
    const char *nickname;
    const char *lastFirst;
};

const PartsCase kPartsCases[] = {
    // The option buttons alone: what the name files under is the last name, the rest the first.
    {"John Smith Jr.", false, kSkipSuffix, Neither, "", "John", "", "Smith Jr.", "", "", "Smith Jr., John"},
    {"John Smith Jr.", false, kLastWord, Neither, "", "John Smith", "", "Jr.", "", "", "Jr., John Smith"},
    {"John Smith Jr.", false, kFirstLast, Neither, "", "Smith Jr.", "", "John", "", "", "John, Smith Jr."},
    {"Cher", false, kSkipSuffix, Neither, "", "", "", "Cher", "", "", "Cher"},
    // "Last, First" lines: the part before the comma, then the given names; a suffix
    // after a second comma is one where the reading steps over suffixes.
    {"Smith, John Paul, Jr.", false, kSkipSuffix, Comma, "", "John", "Paul", "Smith", "Jr.", "", "Smith, John Paul"},
    {"Smith, John Paul, Jr.", false, kLastWord, Comma, "", "John", "Paul Jr.", "Smith", "", "", "Smith, John Paul Jr."},
    {"Smith, John Paul", false, kFirstLast, Comma, "", "Paul Smith", "", "John", "", "", "John, Paul Smith"},
    // Particles go with the last name.
    {"Oscar de la Hoya", false, kSkipSuffix, Particles, "", "Oscar", "", "de la Hoya", "", "", "de la Hoya, Oscar"},
    {"Oscar de la Hoya", false, kLastWord, Both, "", "Oscar", "", "de la Hoya", "", "", "de la Hoya, Oscar"},
    // Word by word: titles, nicknames and every suffix stepped over are parts of their own.
    {"Dr. John (Jack) Paul Smith Jr. PhD", false, kSkipSuffix, Steps, "Dr.", "John", "Paul", "Smith", "Jr. PhD",
     "Jack", "Smith, John Paul"},
    {"Dr. Ann Marie Lee", false, kFirstLast, Steps, "Dr.", "Marie Lee", "", "Ann", "", "", "Ann, Marie Lee"},
    {"Lee, Dr. Ann \u201CAnnie\u201D", false, kSkipSuffix, Comma | Steps, "Dr.", "Ann", "", "Lee", "", "Annie",
     "Lee, Ann"},
    {"Luis Garc\u00eda y Vega", false, kSkipSuffix, Particles | Steps, "", "Luis", "", "Garc\u00eda y Vega", "", "",
     "Garc\u00eda y Vega, Luis"},
    // Family name first: the first word is the last name.
    {"\u7530\u4e2d \u88d5\u5b50", false, kLastWord, Family, "", "\u88d5\u5b50", "", "\u7530\u4e2d", "", "",
     "\u7530\u4e2d, \u88d5\u5b50"},
    // Names from name columns: the last-name cell, the given names, the suffix cell.
    {"King|Martin Luther|Jr.", true, kSkipSuffix, Neither, "", "Martin", "Luther", "King", "Jr.", "",
     "King, Martin Luther"},
    {"de la Cruz|Juan|", true, kLastWord, Steps, "", "Juan", "", "de la Cruz", "", "", "de la Cruz, Juan"},
};

TEST(NameParts, EachPartIsWhatTheReadingFound)
{
    const WordTests lists{listedSuffix, defaultParticle, defaultTitle};
    for (const PartsCase &c : kPartsCases) {
        SCOPED_TRACE(c.name);
        ReadingChoices choices;
        choices.lastCommaFirst = c.choices & Comma;
        choices.keepParticles = c.choices & Particles;
        choices.stepOverExtras = c.choices & Steps;
        choices.familyNameFirst = c.choices & Family;
        const NamePartsReader reader(c.options, choices, lists);
        const ColumnName columns(c.fromColumns ? c.name : "||");
        const NamePartTexts parts = c.fromColumns ? reader.read(columns.name, &columns.parts, true)
                                                  : reader.read(QString::fromUtf8(c.name));
        EXPECT_EQ(parts.title, QString::fromUtf8(c.title));
        EXPECT_EQ(parts.first, QString::fromUtf8(c.first));
        EXPECT_EQ(parts.middle, QString::fromUtf8(c.middle));
        EXPECT_EQ(parts.last, QString::fromUtf8(c.last));
        EXPECT_EQ(parts.suffix, QString::fromUtf8(c.suffix));
        EXPECT_EQ(parts.nickname, QString::fromUtf8(c.nickname));
        EXPECT_EQ(parts.lastFirst(), QString::fromUtf8(c.lastFirst));
    }
}

} // namespace

#include "names/LikelyDuplicates.h"
#include "names/Nicknames.h"
#include "ReadingLists.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace orvella::names;
using namespace reading_lists;

namespace {

// The groups of a list as "reason: name | name".
QStringList groupsOf(const QStringList &names, const QStringList &cells = {},
                     const NicknameSet &nicknames = NicknameSet())
{
    DuplicateSearch search;
    search.count = names.size();
    search.nameAt = [&names](qsizetype i) { return QStringView(names[i]); };
    if (!cells.isEmpty())
        search.cellAt = [&cells](qsizetype i) { return cells[i]; };
    search.words = {listedSuffix, defaultParticle, defaultTitle, nullptr, reading_lists::defaultDesignations()};
    search.nicknames = &nicknames;
    QStringList found;
    for (const DuplicateGroup &group : findLikelyDuplicates(search)) {
        QStringList members;
        for (const qsizetype m : group.members)
            members << names[m];
        found << reasonText(group.reason) + ": " + members.join(" | ");
    }
    return found;
}

struct PairCase {
    const char *first;
    const char *second;
    const char *reason; // "" : no group
};

class DuplicatePairs : public ::testing::TestWithParam<PairCase> {};

TEST_P(DuplicatePairs, FoundWithTheirReasonOrLeftApart)
{
    const PairCase c = GetParam();
    const QStringList names{QString::fromUtf8(c.first), "Someone Else", QString::fromUtf8(c.second)};
    const QStringList expected = *c.reason == 0 ? QStringList()
                                                : QStringList{QString::fromUtf8(c.reason) + ": " + names[0] + " | " +
                                                              names[2]};
    EXPECT_EQ(groupsOf(names), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DuplicatePairs,
    ::testing::Values(PairCase{"Ann Lee", "Ann  Lee", "written the same"},
                      PairCase{"Ann Lee", "ann lee", "only case, accents or spacing differ"},
                      PairCase{"José Pérez", "Jose Perez", "only case, accents or spacing differ"},
                      PairCase{"Mary Ann Lee", "Mary Annlee", "only case, accents or spacing differ"},
                      PairCase{"Smith, John", "John Smith", "the same words in another order"},
                      PairCase{"SMITH, John", "john smith", "the same words in another order"},
                      PairCase{"Dr. Ann Lee", "Ann Lee, PhD", "only a title, suffix or nickname differs"},
                      PairCase{"Robert (Bob) Smith", "Robert Smith", "only a title, suffix or nickname differs"},
                      PairCase{"John Smith Jr.", "Smith, John", "only a title, suffix or nickname differs"},
                      PairCase{"Bob Lee", "Robert Lee", "a common nickname"},
                      PairCase{"Liz Taylor", "Elizabeth Taylor", "a common nickname"},
                      PairCase{"Pepe García", "José García", "a common nickname"},
                      PairCase{"Lee, Bill", "Dr. William Lee", "a common nickname"},
                      // Near misses.
                      PairCase{"Ann Lee", "Ann Leeds", ""},
                      PairCase{"Ann Lee", "Anne Lee", ""},
                      PairCase{"Bob Lee", "Bob Leigh", ""},
                      PairCase{"Bob Lee", "Robert Leeds", ""},
                      PairCase{"Ann Lee", "Lee Ann Smith", ""},
                      PairCase{"", "", ""}));

// Groups join every name that is like one of them, under the loosest likeness; a chosen
// column joins rows with the same cell, and an empty cell joins nothing.
TEST(LikelyDuplicates, GroupsJoinAndCellsCount)
{
    EXPECT_EQ(groupsOf({"Ann Lee", "Bo Ray", "Lee, Ann", "Dr. Ann Lee", "Zed"}),
              QStringList{"only a title, suffix or nickname differs: Ann Lee | Lee, Ann | Dr. Ann Lee"});
    EXPECT_EQ(groupsOf({"Ann Lee", "A. Lee", "Bob Ray", "Robert Ray"}, {"ann@x.org", "ANN@x.org ", "", ""}),
              (QStringList{"the same cell in the chosen column: Ann Lee | A. Lee", "a common nickname: Bob Ray | Robert Ray"}));
}

// The nickname list: pairs read from lines, in any case and with or without accents;
// a list of one's own replaces the shipped one.
TEST(Nicknames, ListLoadedEditedAndUsed)
{
    const NicknameSet shipped;
    EXPECT_GT(shipped.entries().size(), 300);
    EXPECT_EQ(shipped.fullNameOf("bob"), "robert");
    EXPECT_EQ(shipped.fullNameOf("pepe"), "jose");
    EXPECT_EQ(shipped.fullNameOf("robert"), "robert");
    EXPECT_EQ(shipped.fullNameOf("zebedee"), "zebedee");
    const NicknameSet own({"Zeb  Zebedee", "zeb zebedee", "lonely", "", "Bob Roberto", "Bob Robert"});
    EXPECT_EQ(own.entries(), (QStringList{"Zeb Zebedee", "Bob Roberto", "Bob Robert"}));
    EXPECT_EQ(own.fullNameOf("bob"), "roberto"); // the first full name listed
    EXPECT_EQ(own.fullNameOf("liz"), "liz");
    EXPECT_EQ(groupsOf({"Zeb Kay", "Zebedee Kay", "Liz Kay", "Elizabeth Kay"}, {}, own),
              QStringList{"a common nickname: Zeb Kay | Zebedee Kay"});
}

} // namespace

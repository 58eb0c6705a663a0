#include "lists/NameListModel.h"
#include "support/CommandFixture.h"
#include "support/MemorySettings.h"
#include "lists/SuffixList.h"
#include "suffixes/SuffixStore.h"

#include <gtest/gtest.h>

using namespace orvella;
using namespace orvella::testing;

namespace {

const QString D = QStringLiteral("!!!TWINE!!!");

QStringList loaded(MemorySettings &settings)
{
    lists::NameListModel list(QStringLiteral("Suffix List"));
    list.appendMany(suffixes::storedSuffixList(settings));
    return itemsOf(list);
}

TEST(SuffixStore, DefaultListHas77EntriesInOrder)
{
    const QList<QString> &d = suffixes::defaultSuffixes();
    ASSERT_EQ(d.size(), 77);
    EXPECT_EQ(d.first(), "BVM");
    EXPECT_EQ(d[1], "B.V.M.");
    EXPECT_EQ(d[32], "Jr.");
    EXPECT_EQ(d[48], "Ph.D.");
    EXPECT_EQ(d[53], "RGS");
    EXPECT_EQ(d.last(), "USNR");
    EXPECT_EQ(QSet<QString>(d.begin(), d.end()).size(), 77);
}

struct LoadCase {
    const char *what;
    std::optional<QString> stored;
    QStringList expected; // empty: the default list
};

class LoadSuffixList : public ::testing::TestWithParam<LoadCase> {};

TEST_P(LoadSuffixList, FromStoredForm)
{
    MemorySettings settings;
    if (GetParam().stored)
        settings.values.insert("SuffixList", *GetParam().stored);
    const QStringList expected = GetParam().expected.isEmpty()
        ? QStringList(suffixes::defaultSuffixes().begin(), suffixes::defaultSuffixes().end())
        : GetParam().expected;
    EXPECT_EQ(loaded(settings), expected) << GetParam().what;
    EXPECT_TRUE(settings.writes.isEmpty()) << "loading never writes";
}

INSTANTIATE_TEST_SUITE_P(
    Table, LoadSuffixList,
    ::testing::Values(LoadCase{"first run", std::nullopt, {}}, LoadCase{"empty value", QString(), {}},
                      LoadCase{"one entry", "Jr.", {"Jr."}},
                      LoadCase{"two delimiters in a row", "Jr." + D + D + "Sr.", {"Jr.", "", "Sr."}},
                      LoadCase{"leading and trailing delimiter", D + "Jr." + D, {"", "Jr.", ""}},
                      LoadCase{"duplicates kept in order", "Sr." + D + "Jr." + D + "Sr.", {"Sr.", "Jr.", "Sr."}},
                      LoadCase{"only a delimiter", D, {"", ""}}));

TEST(SuffixStore, SaveJoinsBetweenEntriesOnly)
{
    MemorySettings settings;
    lists::NameListModel list(QStringLiteral("Suffix List"));
    suffixes::saveSuffixList(list.items(), settings);
    EXPECT_EQ(settings.values.value("SuffixList"), QString());
    list.append("Jr.");
    suffixes::saveSuffixList(list.items(), settings);
    EXPECT_EQ(settings.values.value("SuffixList"), "Jr.");
    list.append("Sr.");
    suffixes::saveSuffixList(list.items(), settings);
    EXPECT_EQ(settings.values.value("SuffixList"), "Jr." + D + "Sr.");
}

// Saved and loaded again, a list comes back as it was, except an entry holding the
// delimiter (split in two) and a list of one empty entry (stored as "", read as none:
// the defaults).
TEST(SuffixStore, RoundTrips)
{
    const QStringList defaults(suffixes::defaultSuffixes().begin(), suffixes::defaultSuffixes().end());
    const std::vector<std::pair<QStringList, QStringList>> cases = {
        {{"Jr.", "Sr."}, {"Jr.", "Sr."}},
        {{"a", "", "b"}, {"a", "", "b"}},
        {{"x y", "  ", "\tz"}, {"x y", "  ", "\tz"}},
        {defaults, defaults},
        {{"A" + D + "B"}, {"A", "B"}},
        {{""}, defaults},
    };
    for (const auto &[entries, back] : cases) {
        MemorySettings settings;
        lists::NameListModel list(QStringLiteral("Suffix List"));
        list.appendMany(entries);
        suffixes::saveSuffixList(list.items(), settings);
        EXPECT_EQ(loaded(settings), back) << entries.join('|').toStdString();
    }
}

TEST(SuffixList, LookupIgnoresCaseButNotDots)
{
    lists::SuffixList list;
    list.model().appendMany(suffixes::defaultSuffixes());
    EXPECT_TRUE(list.IsSuffix(u"JR."));
    EXPECT_TRUE(list.IsSuffix(u"ph.d."));
    EXPECT_FALSE(list.IsSuffix(u"J.R."));
    EXPECT_FALSE(list.IsSuffix(u" Jr."));
    EXPECT_FALSE(list.IsSuffix(u""));
    list.model().clear();
    EXPECT_FALSE(list.IsSuffix(u"Jr."));
    list.model().append("Jr");
    EXPECT_TRUE(list.IsSuffix(u"jr"));
    EXPECT_FALSE(list.IsSuffix(u"jr."));
}

TEST(SuffixList, LookupIgnoresCaseBeyondAsciiAndAcrossManyWords)
{
    lists::SuffixList list;
    list.model().appendMany(QStringList{"Ångström", "İİ", "Esq.", "ß", "`x", "{x"});
    const std::pair<const char16_t *, bool> cases[] = {
        {u"ÅNGSTRÖM", true}, {u"ångström", true}, {u"Angstrom", false}, {u"ESQ.", true}, {u"esq", false},
        {u"ß", true},        {u"SS", false},      {u"Esq.x", false},    {u"`X", true},    {u"{X", true},
        {u"@X", false},      {u"[X", false},
    };
    // Each word twice, in turn with the others: one answer must not leak into the next.
    for (int round = 0; round < 2; ++round) {
        for (const auto &[word, expected] : cases)
            EXPECT_EQ(list.IsSuffix(word), expected) << QString::fromUtf16(word).toStdString();
    }
    EXPECT_EQ(list.IsSuffix(u"İİ"), list.IsSuffix(QString::fromUtf16(u"İİ").toLower()));
}

TEST(SuffixList, LookupFollowsEditsAndRemovals)
{
    lists::SuffixList list;
    list.model().appendMany({"Jr.", "Sr.", "III"});
    EXPECT_TRUE(list.IsSuffix(u"sr."));
    list.model().setItem(2, "IV");
    EXPECT_FALSE(list.IsSuffix(u"sr."));
    EXPECT_TRUE(list.IsSuffix(u"iv"));
    list.model().removeAt(1);
    EXPECT_FALSE(list.IsSuffix(u"jr."));
    EXPECT_EQ(itemsOf(list.model()), (QStringList{"IV", "III"}));
}

TEST(SuffixList, LargeListsHaveNoLimit)
{
    lists::SuffixList list;
    QList<QString> many;
    for (int i = 0; i < 40000; ++i)
        many << QStringLiteral("S%1").arg(i);
    list.model().appendMany(many);
    EXPECT_TRUE(list.IsSuffix(u"s39999"));
}

} // namespace

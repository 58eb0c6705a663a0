#include "sorting/KeySort.h"

#include <QRandomGenerator>
#include <QStringList>
#include <gtest/gtest.h>

using namespace orvella::sorting;

namespace {

// The plain exchange sort the fast sort must agree with: passes over neighbouring
// pairs until a pass exchanges nothing; equal neighbours are never exchanged.
std::vector<QString> exchangeSort(std::vector<QString> keys)
{
    bool swapped = true;
    while (swapped) {
        swapped = false;
        for (size_t i = 0; i + 1 < keys.size(); ++i) {
            if (compareKeys(keys[i], keys[i + 1]) > 0) {
                std::swap(keys[i], keys[i + 1]);
                swapped = true;
            }
        }
    }
    return keys;
}

// Keys drawn from a small alphabet rich in the characters that matter: space, "!",
// digits, both cases, a letter beyond ASCII and a surrogate pair. Every key carries a
// tag after a tab so that the test can tell equal keys apart.
std::vector<QString> randomKeys(QRandomGenerator &random, int count)
{
    static const QStringList pieces = {QStringLiteral(" "), QStringLiteral("!"), QStringLiteral("!!!TWINE!!!"),
                                       QStringLiteral("a"), QStringLiteral("A"), QStringLiteral("Smith"),
                                       QStringLiteral("smith"), QStringLiteral("1"), QStringLiteral("é"),
                                       QString::fromUtf8("\xF0\x9F\x98\x80"), QStringLiteral("Z")};
    std::vector<QString> keys;
    for (int i = 0; i < count; ++i) {
        QString key;
        const int length = random.bounded(4);
        for (int j = 0; j < length; ++j)
            key += pieces[random.bounded(pieces.size())];
        keys.push_back(key);
    }
    return keys;
}

TEST(KeySort, AgreesWithExchangeSortOnRandomInputs)
{
    QRandomGenerator random(20261207);
    for (int round = 0; round < 300; ++round) {
        std::vector<QString> keys = randomKeys(random, random.bounded(1, 120));
        // Every other round the keys share a long prefix, past the depth where the
        // sort changes its method.
        if (round % 2 == 1) {
            for (QString &key : keys)
                key.prepend(QString(70, u'k'));
        }
        // Tag each key with its input position, invisible to the order: equal keys
        // must come out in input order, which the tags then show.
        std::vector<std::pair<QString, int>> tagged;
        for (size_t i = 0; i < keys.size(); ++i)
            tagged.emplace_back(keys[i], static_cast<int>(i));
        const std::vector<QString> expected = exchangeSort(keys);
        std::vector<QString> actual = keys;
        sortKeysStable(actual, {});
        ASSERT_EQ(actual, expected) << "round " << round;

        // Stability: for equal keys the first occurrence in input comes first.
        std::stable_sort(tagged.begin(), tagged.end(), [](const auto &a, const auto &b) {
            return compareKeys(a.first, b.first) < 0;
        });
        std::vector<QString> fromTags;
        for (const auto &t : tagged)
            fromTags.push_back(t.first);
        ASSERT_EQ(actual, fromTags);
    }
}

TEST(KeySort, EqualKeysKeepTheirInputOrder)
{
    // Equal as keys but distinguishable as objects: compare by identity of the data.
    std::vector<QString> keys = {QStringLiteral("b"), QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("a")};
    const void *firstB = keys[0].constData();
    const void *firstA = keys[1].constData();
    sortKeysStable(keys, {});
    EXPECT_EQ(keys[0].constData(), firstA);
    EXPECT_EQ(keys[2].constData(), firstB);
}

struct OrderCase {
    const char *before;
    const char *after;
};

class KeyOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(KeyOrder, CodeUnitOrder)
{
    const QString a = QString::fromUtf8(GetParam().before);
    const QString b = QString::fromUtf8(GetParam().after);
    EXPECT_LT(compareKeys(a, b), 0);
    EXPECT_GT(compareKeys(b, a), 0);
    std::vector<QString> keys = {b, a};
    sortKeysStable(keys, {});
    EXPECT_EQ(keys, (std::vector<QString>{a, b}));
}

INSTANTIATE_TEST_SUITE_P(
    Table, KeyOrder,
    ::testing::Values(OrderCase{"Zed", "adam"}, OrderCase{"Smith Jr.!!!TWINE!!!Al", "Smith!!!TWINE!!!Bob"},
                      OrderCase{"Smith!!!TWINE!!!", "Smithers!!!TWINE!!!"}, OrderCase{"a", "ab"},
                      OrderCase{"", "a"}, OrderCase{" ", "!"}, OrderCase{"!", "0"}, OrderCase{"9", "A"},
                      // A surrogate pair (D83D...) sorts by code unit, before U+FF21.
                      OrderCase{"\xF0\x9F\x98\x80", "\xEF\xBC\xA1"}));

TEST(KeySort, YieldsWhileSortingLargeInputs)
{
    for (int count : {15000, 300000}) {
        int yields = 0;
        std::vector<QString> keys;
        for (int i = 0; i < count; ++i)
            keys.push_back(QString::number((i * 7919) % count));
        sortKeysStable(keys, [&] { ++yields; });
        EXPECT_GE(yields, 2) << count;
        EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end(),
                                   [](const QString &a, const QString &b) { return compareKeys(a, b) < 0; }));
    }
}

TEST(KeySort, LargeInputsAgreeWithAComparisonSort)
{
    // Above the size where the work moves to worker threads.
    QRandomGenerator random(99);
    std::vector<QString> keys = randomKeys(random, 60000);
    std::vector<QString> expected = keys;
    std::stable_sort(expected.begin(), expected.end(),
                     [](const QString &a, const QString &b) { return compareKeys(a, b) < 0; });
    std::vector<const void *> expectedData;
    for (const QString &k : expected)
        expectedData.push_back(k.constData());
    sortKeysStable(keys, [] {});
    std::vector<const void *> actualData;
    for (const QString &k : keys)
        actualData.push_back(k.constData());
    EXPECT_EQ(actualData, expectedData) << "same keys, and equal keys in input order";
}

TEST(KeySort, KeysWithNulUnitsAndLongSharedPrefixes)
{
    const QString a = QString(QChar(u'A'));
    const QString aNul = a + QChar(u'\0');
    const QString aNulNul = aNul + QChar(u'\0');
    const QString longA = QString(1000, u'x') + "a";
    const QString longB = QString(1000, u'x') + "b";
    const QString longAB = QString(1000, u'x') + "ab";
    std::vector<QString> keys = {aNulNul, longB, aNul, longAB, a, longA, QString(1000, u'x')};
    sortKeysStable(keys, {});
    EXPECT_EQ(keys, (std::vector<QString>{a, aNul, aNulNul, QString(1000, u'x'), longA, longAB, longB}));
}

TEST(KeySort, SmallInputsYieldOnlyAtTheStart)
{
    int yields = 0;
    std::vector<QString> keys;
    for (int i = 0; i < 1000; ++i)
        keys.push_back(QString::number(i % 7));
    sortKeysStable(keys, [&] { ++yields; });
    EXPECT_EQ(yields, 1);
    EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end(),
                               [](const QString &a, const QString &b) { return compareKeys(a, b) < 0; }));
}

TEST(KeySort, EmptyAndSingleInputsYieldOnce)
{
    for (size_t n : {0u, 1u}) {
        int yields = 0;
        std::vector<QString> keys(n, QStringLiteral("x"));
        sortKeysStable(keys, [&] { ++yields; });
        EXPECT_EQ(yields, 1);
        EXPECT_EQ(keys.size(), n);
    }
}

} // namespace

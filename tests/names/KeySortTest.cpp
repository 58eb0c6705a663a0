#include "names/AlphabeticalOrder.h"
#include "names/KeySort.h"
#include "names/KeyTexts.h"
#include "names/MsdSort.h"
#include "names/SortKeys.h"

#include <QCollator>

#include <QRandomGenerator>
#include <QStringList>
#include <gtest/gtest.h>
#include <unicode/ucol.h>

using namespace orvella::names;

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
            keys.push_back(QString::number(qint64(i) * 7919 % count));
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

// ---- Alphabetical order ------------------------------------------------------------

// "!" in a table entry stands for the field delimiter.
QString keyText(const char *text)
{
    return QString::fromUtf8(text).replace(QStringLiteral("!"), kFieldDelimiter);
}

std::vector<QString> inAlphabeticalOrder(std::vector<QString> keys, const QByteArray &locale)
{
    applyOrder(keys, alphabeticalOrder(keys, locale, {}));
    return keys;
}

struct AlphaCase {
    const char *locale;
    std::vector<const char *> keys;     // in input order
    std::vector<const char *> expected; // in alphabetical order
};

class AlphabeticalOrder : public ::testing::TestWithParam<AlphaCase> {};

TEST_P(AlphabeticalOrder, OrdersLikeADictionary)
{
    const AlphaCase c = GetParam();
    std::vector<QString> keys, expected;
    for (const char *k : c.keys)
        keys.push_back(keyText(k));
    for (const char *k : c.expected)
        expected.push_back(keyText(k));
    EXPECT_EQ(inAlphabeticalOrder(keys, c.locale), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, AlphabeticalOrder,
    ::testing::Values(
        AlphaCase{"en_US",
                  {"Adams!Zach", "smith!ann", "Álvarez!Ángel", "Smith!Bob", "Żak!Łukasz"},
                  {"Adams!Zach", "Álvarez!Ángel", "smith!ann", "Smith!Bob", "Żak!Łukasz"}},
        // The root collation for C and POSIX orders the same way, not by character codes.
        AlphaCase{"", {"Zed", "Żak", "adam", "Ángel"}, {"adam", "Ángel", "Żak", "Zed"}},
        // Swedish files Å, Ä and Ö after Z.
        AlphaCase{"sv_SE", {"Öberg", "Åberg", "Zorn", "Olsson"}, {"Olsson", "Zorn", "Åberg", "Öberg"}},
        // Numbers by their value.
        AlphaCase{"en_US", {"Henry 10", "Henry 8", "Henry 9b"}, {"Henry 8", "Henry 9b", "Henry 10"}},
        // The head field first, then the tail: the delimiter takes no part.
        AlphaCase{"en_US",
                  {"Smith!Bob", "Smith Jr.!Al", "Smithers!Al", "Smith!Ann"},
                  {"Smith!Ann", "Smith!Bob", "Smith Jr.!Al", "Smithers!Al"}},
        AlphaCase{"en_US", {"Lee!b", "Lee", "Lee!", "Lee!a"}, {"Lee", "Lee!", "Lee!a", "Lee!b"}},
        // The whole name by its letters first, then accents, then case.
        AlphaCase{"en_US",
                  {"Smith!Robert", "smith!ali", "SMITH!ALAN", "Smith!Adam", "Smíth!Ali", "Smith!Ali"},
                  {"Smith!Adam", "SMITH!ALAN", "smith!ali", "Smith!Ali", "Smíth!Ali", "Smith!Robert"}},
        // Equal under the collator (a composed and a decomposed é): exact order.
        AlphaCase{"en_US", {"Ren\xC3\xA9", "Rene\xCC\x81", "Rene"}, {"Rene", "Rene\xCC\x81", "Ren\xC3\xA9"}},
        // A head field of characters the collator ignores still comes after an empty one.
        AlphaCase{"en_US", {"\x01!Ann", "!Bob"}, {"!Bob", "\x01!Ann"}},
        // Names in other scripts and empty keys.
        AlphaCase{"en_US", {"Ωmega", "", "Alpha", "Яков"}, {"", "Alpha", "Ωmega", "Яков"}}));

TEST(AlphabeticalOrder, EqualKeysKeepTheirInputOrder)
{
    const std::vector<QString> keys = {"b", "a", "b", "a", "B"};
    EXPECT_EQ(alphabeticalOrder(keys, "en_US", {}), (orvella::names::KeyOrder{1, 3, 0, 2, 4}));
}

// The order agrees with QCollator::compare (numbers by value) for the same locale,
// on pairs where languages, case, accents, numbers and punctuation matter.
TEST(AlphabeticalOrder, AgreesWithQCollator)
{
    const char *words[] = {"Åberg", "Zorn", "Öberg", "Oberg", "Müller", "Mueller", "Muller", "Straße", "Strasse",
                           "smith", "Smith", "SMITH", "de la Hoya", "Delacroix", "O'Neil", "Oneil", "ONeil",
                           "Łukasz", "Lukasz", "Lee1", "Lee10", "Lee9", "Lee 9", "ǅemal", "Dzemal", "Çelik",
                           "Celik", "İnan", "Inan", "ıspir", "Ähtäri", "Ahtari", "Ørsted", "Orsted", "Ñúñez",
                           "Nunez", "Chen", "Ch", "Cz", "Vo", "Võ", "Vũ", "Ωmega", "Яков", "Jakov", "李", "王",
                           "Zoë", "Zoe", "", " ", "-", "A-B", "AB", "\x01", "\x01\x02"};
    for (const char *locale : {"en_US", "sv_SE", "de_DE", "tr_TR", "cs_CZ", "es_ES", "vi_VN"}) {
        QCollator collator{QLocale(QString::fromLatin1(locale))};
        collator.setNumericMode(true);
        for (const char *a : words) {
            for (const char *b : words) {
                const QString x = QString::fromUtf8(a), y = QString::fromUtf8(b);
                const int expected = collator.compare(x, y) != 0 ? collator.compare(x, y) : compareKeys(x, y);
                const orvella::names::KeyOrder order = alphabeticalOrder({x, y}, locale, {});
                const bool xFirst = order[0] == 0;
                if (expected != 0)
                    EXPECT_EQ(xFirst, expected < 0) << locale << ": " << a << " / " << b;
            }
        }
    }
}

TEST(AlphabeticalOrder, LocaleFromTheEnvironmentValue)
{
    const std::pair<QByteArray, const char *> cases[] = {
        {"en_US.UTF-8", "en_US"}, {"de_DE@euro", "de_DE"}, {"sv_SE.ISO-8859-1@x", "sv_SE"}, {"C", ""},
        {"POSIX", ""},           {"C.UTF-8", ""},        {"", ""},                       {"tr", "tr"},
        // Names ICU cannot open at all, too long or malformed, take the root collation.
        {"en_US" + QByteArray(300, 'x') + ".UTF-8", ""}, {"?xx1? Z=?xZ=.UTF-8", ""}};
    for (const auto &[value, locale] : cases)
        EXPECT_EQ(collationLocaleFrom(value), QByteArray(locale)) << value.constData();
}

// The alphabetical order by plain comparison of whole sort keys: each key's head and
// tail sort keys (numbers by value; an empty field before any other; the tail without
// spaces at its ends) merged by ICU so that each level spans both fields, then exact
// order, then input order.
orvella::names::KeyOrder collatorOrder(const std::vector<QString> &keys, const QString &locale)
{
    UErrorCode status = U_ZERO_ERROR;
    UCollator *collator = ucol_open(locale.toLatin1().constData(), &status);
    ucol_setAttribute(collator, UCOL_NUMERIC_COLLATION, UCOL_ON, &status);
    const auto sortKey = [&](QStringView field) {
        std::vector<uint8_t> bytes(1024);
        const int32_t length = ucol_getSortKey(collator, reinterpret_cast<const UChar *>(field.utf16()),
                                               int32_t(field.size()), bytes.data() + 1, int32_t(bytes.size() - 1));
        bytes.resize(std::size_t(length) + 1);
        bytes[0] = field.isEmpty() ? 3 : 4; // below every byte of a key's first level
        return bytes;
    };
    std::vector<std::vector<uint8_t>> merged;
    for (const QString &key : keys) {
        const QStringView head = headField(key);
        const QStringView tail = trimSpaces(
            head.size() < key.size() ? QStringView(key).mid(head.size() + kFieldDelimiter.size()) : QStringView());
        const std::vector<uint8_t> a = sortKey(head), b = sortKey(tail);
        std::vector<uint8_t> both(a.size() + b.size() + 8);
        const int32_t length = ucol_mergeSortkeys(a.data(), int32_t(a.size()), b.data(), int32_t(b.size()),
                                                  both.data(), int32_t(both.size()));
        both.resize(std::size_t(length));
        merged.push_back(both);
    }
    ucol_close(collator);
    orvella::names::KeyOrder expected(keys.size());
    for (std::uint32_t i = 0; i < expected.size(); ++i)
        expected[i] = i;
    std::stable_sort(expected.begin(), expected.end(), [&](std::uint32_t a, std::uint32_t b) {
        if (merged[a] != merged[b])
            return merged[a] < merged[b];
        return compareKeys(keys[a], keys[b]) < 0;
    });
    return expected;
}

TEST(AlphabeticalOrder, LargeInputsOnWorkersAgreeWithAComparisonSortAndYield)
{
    // Above the size where the work moves to worker threads.
    QRandomGenerator random(5);
    static const QStringList pieces = {"a", "A", "á", "Ø", "z", "Ž", "1", "10", "2", " ", "-", "!!!TWINE!!!", "é",
                                       "e\u0301", "ß", "ss"};
    std::vector<QString> keys;
    for (int i = 0; i < 40000; ++i) {
        QString key;
        for (int j = random.bounded(5); j > 0; --j)
            key += pieces[random.bounded(pieces.size())];
        keys.push_back(key);
    }
    int yields = 0;
    EXPECT_EQ(alphabeticalOrder(keys, "en_US", [&] { ++yields; }), collatorOrder(keys, "en_US"));
    EXPECT_GE(yields, 1);
}

TEST(AlphabeticalOrder, FieldsAlikeWhereverTheyLieInExactOrder)
{
    // Each field's place is worked out once per run of equal fields in exact order. A
    // head can lie in runs apart ("Smith" alone, then "Smith !", then "Smith" with a
    // tail), and heads that differ only in composition or in numbers' leading zeros
    // share a place: all must still order as the collator has it.
    const QString d = kFieldDelimiter;
    const std::vector<std::vector<QString>> cases = {
        {"Smith" + d + "John", "Smith !", "Smith", "Smith" + d + "Al", "Smith !" + d + "Bo", "Smith" + d},
        {"Zo\u00eb" + d + "b", "Zoe\u0308" + d + "a", "Zo\u00eb" + d + "a", "Zoe\u0308"},
        {"Item 010" + d + "x", "Item 10" + d + "x", "Item 9" + d + "x", "Item 10", "Item 010"},
        {d + "John", "" , d, "!" + d + "!", "!!" + d},
    };
    for (const std::vector<QString> &keys : cases) {
        KeyTexts texts;
        for (const QString &key : keys)
            texts.append(key);
        const orvella::names::KeyOrder expected = collatorOrder(keys, "en_US");
        EXPECT_EQ(alphabeticalOrder(keys, "en_US", {}), expected) << keys.front().toStdString();
        EXPECT_EQ(alphabeticalOrder(texts, "en_US", {}), expected) << keys.front().toStdString();
    }
}

TEST(KeyTexts, KeysReadBackAcrossBlocksAndAfterTheLastIsReplaced)
{
    KeyTexts keys;
    std::vector<QString> plain;
    const int count = 3 * int(KeyTexts::kBlockKeys) + 5;
    for (int i = 0; i < count; ++i) {
        keys.appendEmpty();
        plain.emplace_back();
        if (i % 5 == 0)
            continue; // stays empty
        QString key = QStringLiteral("k%1").arg(i) + QString(i % 13, QChar(u'x'));
        // Keys with one delimiter, several, one at either end, and none.
        if (i % 3 == 0)
            key.insert(2, kFieldDelimiter);
        if (i % 7 == 0)
            key.append(kFieldDelimiter + "y" + kFieldDelimiter);
        if (i % 11 == 0)
            key.prepend(kFieldDelimiter);
        keys.setLast(u"a first key that is replaced");
        keys.setLast(key);
        plain.back() = key;
    }
    ASSERT_EQ(keys.size(), plain.size());
    for (size_t i = 0; i < plain.size(); ++i)
    {
        ASSERT_EQ(keys[i].toString(), plain[i]) << "key " << i;
        ASSERT_EQ(keys[i].head, headField(plain[i])) << "key " << i;
        ASSERT_EQ(keys[i].size(), plain[i].size()) << "key " << i;
    }
    keys.clear();
    EXPECT_TRUE(keys.empty());
}

TEST(KeyParts, ReadLikeTheWholeKey)
{
    // Units, packed units at every depth and the order of pairs, against the key as one
    // text; the random keys hold delimiters, "!" and heads that begin other heads.
    QRandomGenerator random(16);
    std::vector<QString> keys = randomKeys(random, 400);
    for (const QString &extra : {QString("Smith!!!TWINE!!!John"), QString("Smith!!!!TWINE!!!John"),
                                 QString("Smith!!!TWINE!!"), QString("Smith!"), QString("!!!TWINE!!!")})
        keys.push_back(extra);
    const auto sign = [](int v) { return (v > 0) - (v < 0); };
    for (const QString &a : keys) {
        const KeyParts parts = splitKey(a);
        ASSERT_EQ(parts.toString(), a);
        for (qsizetype i = 0; i < a.size(); ++i)
            ASSERT_EQ(parts.unit(i), a.at(i).unicode()) << a.toStdString() << " at " << i;
        for (qsizetype depth = 0; depth <= a.size() + 8; ++depth) {
            using orvella::names::msd::packUnits;
            const auto *units = reinterpret_cast<const char16_t *>(a.constData());
            char16_t seen[4] = {};
            ASSERT_EQ(packUnits<4>(parts, depth, seen[0]), packUnits<4>(units, std::uint32_t(a.size()), depth, seen[1]))
                << a.toStdString() << " from " << depth;
            ASSERT_EQ(packUnits<8>(parts, depth, seen[2]), packUnits<8>(units, std::uint32_t(a.size()), depth, seen[3]))
                << a.toStdString() << " from " << depth;
            ASSERT_EQ(seen[0], seen[1]);
        }
    }
    for (const QString &a : keys) {
        for (int j = 0; j < 40; ++j) {
            const QString &b = keys[random.bounded(int(keys.size()))];
            ASSERT_EQ(sign(compareKeys(splitKey(a), splitKey(b))), sign(compareKeys(a, b)))
                << a.toStdString() << " / " << b.toStdString();
        }
    }
}

TEST(KeyTexts, OrdersAgreeWithTheSameKeysAsStrings)
{
    // The plain stable comparison sort of the whole keys against the sort of the same
    // keys kept in blocks.
    const auto expectOrdered = [](const std::vector<QString> &strings, const char *what) {
        KeyTexts texts;
        for (const QString &key : strings)
            texts.append(key);
        orvella::names::KeyOrder expected(strings.size());
        for (std::uint32_t i = 0; i < expected.size(); ++i)
            expected[i] = i;
        std::stable_sort(expected.begin(), expected.end(), [&](std::uint32_t a, std::uint32_t b) {
            return compareKeys(strings[a], strings[b]) < 0;
        });
        int yields = 0;
        EXPECT_EQ(exactOrder(texts, [&] { ++yields; }), expected) << what;
        EXPECT_GE(yields, 1);
        if (strings.size() < 10000)
            EXPECT_EQ(alphabeticalOrder(texts, "en_US", {}), alphabeticalOrder(strings, "en_US", {}));
    };
    // Below and above the size where the work moves to worker threads; long shared
    // prefixes take the sort past its cached units.
    QRandomGenerator random(7);
    for (const int count : {3000, 60000}) {
        std::vector<QString> strings = randomKeys(random, count);
        strings[count / 2] = QString(300, u'x') + "b";
        strings[count / 3] = QString(300, u'x') + "a";
        expectOrdered(strings, count == 3000 ? "3,000 random keys" : "60,000 random keys");
    }
    // Keys whose units all fit a byte but one key's in the second half: both threads
    // must read their halves alike.
    std::vector<QString> narrow;
    for (int i = 0; i < 40000; ++i)
        narrow.push_back(QString::number(random.bounded(1000)) + QStringLiteral("é") + QString::number(i % 7));
    narrow[39990] = QStringLiteral("5\u03A9");
    narrow[39991] = QStringLiteral("5\u00FF");
    expectOrdered(narrow, "narrow keys but one");
}

} // namespace

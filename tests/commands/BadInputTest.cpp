// Input nobody should type but files and stored settings can hold: huge names, names
// of spaces, control characters, byte-order marks, right-to-left text, combining
// marks, characters outside the BMP, the field delimiter itself; suffix lists that are
// empty, tiny or huge, with empty entries and the delimiter inside an entry; limit
// texts that are no 16-bit number. Each runs through the real sort command (and, where
// it comes from a file, the real reader) and must give the result the key rules give,
// with no report unless a rule asks for one.

#include "core/ErrorReport.h"
#include "lists/ListFileReader.h"
#include "lists/NameListModel.h"
#include "commands/SortCommand.h"
#include "commands/SortControls.h"
#include "commands/SortFixture.h"
#include "lists/SuffixList.h"
#include "suffixes/SuffixStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

using namespace orvella;
using namespace orvella::testing;

namespace {

const QString D = QStringLiteral("!!!TWINE!!!");
const QChar kNul(u'\0');

QString u(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

// ---- Names ------------------------------------------------------------------------

struct NameCase {
    const char *what;
    Reading reading;
    std::function<QStringList()> input;
    std::function<QStringList()> expected;
    bool removeDuplicates = false;
};

class BadNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(BadNames, SortLikeTheKeyRulesSay)
{
    const NameCase &c = GetParam();
    SortFixture f;
    f.read(c.reading);
    f.controls.noDuplicates = c.removeDuplicates;
    EXPECT_EQ(f.sort(c.input()), c.expected());
    EXPECT_TRUE(f.desktop.errorReports().empty()) << f.reportPlaces().join(", ").toStdString();
    EXPECT_EQ(f.desktop.messageTexts().last(), "Done.");
    for (const QString &shown : f.results())
        EXPECT_FALSE(shown.contains(D));
}

QString megabyteName()
{
    return QStringLiteral("Ann ") + QString(1 << 20, QLatin1Char('x')) + QStringLiteral(" Lee");
}

INSTANTIATE_TEST_SUITE_P(
    Table, BadNames,
    ::testing::Values(
        // A million-character name sorts by its last word and shows unchanged.
        NameCase{"MegabyteNameLastWord", Reading::LastWord, [] { return QStringList{"Bob Lee", megabyteName()}; },
                 [] { return QStringList{megabyteName(), "Bob Lee"}; }},
        NameCase{"MegabyteNameFirstLast", Reading::FirstLast,
                 [] { return QStringList{megabyteName(), "Al Zed", QString(1 << 20, QLatin1Char('B'))}; },
                 [] { return QStringList{"Al Zed", megabyteName(), QString(1 << 20, QLatin1Char('B'))}; }},
        // Only spaces: every word is empty, the display name is empty and, its key
        // starting with the delimiter or a space, it comes first.
        NameCase{"OnlySpacesLastWord", Reading::LastWord, [] { return QStringList{"Bob Young", "   ", "Ann Lee"}; },
                 [] { return QStringList{"", "Ann Lee", "Bob Young"}; }},
        NameCase{"OnlySpacesSkipSuffix", Reading::SkipSuffix, [] { return QStringList{"Bob Young", " ", "Ann Lee"}; },
                 [] { return QStringList{"", "Ann Lee", "Bob Young"}; }},
        NameCase{"OnlySpacesFirstLast", Reading::FirstLast, [] { return QStringList{"Bob Young", "  ", "Ann Lee"}; },
                 [] { return QStringList{"", "Ann Lee", "Bob Young"}; }},
        // A tab is part of a word: "Zed\tAl" is one last name, after "Lee".
        NameCase{"TabInsideAWord", Reading::LastWord, [] { return QStringList{"Ann Zed\tAl", "Bob Lee"}; },
                 [] { return QStringList{"Bob Lee", "Ann Zed\tAl"}; }},
        // NUL and a lone CR are characters like others, below the space and "!".
        NameCase{"NulSortsFirst", Reading::FirstLast,
                 [] { return QStringList{"Ann Zed", QStringLiteral("Ann") + kNul + QStringLiteral(" Bob")}; },
                 [] { return QStringList{QStringLiteral("Ann") + kNul + QStringLiteral(" Bob"), "Ann Zed"}; }},
        NameCase{"LoneCrInsideAWord", Reading::FirstLast, [] { return QStringList{"Ann Bob", "Ann\rX Bob"}; },
                 [] { return QStringList{"Ann\rX Bob", "Ann Bob"}; }},
        // U+FEFF is a character of the word it stands in, not a mark to drop.
        NameCase{"ByteOrderMarkCharacter", Reading::LastWord,
                 [] { return QStringList{u("\uFEFFZed Lee"), "Ann Lee"}; },
                 [] { return QStringList{"Ann Lee", u("\uFEFFZed Lee")}; }},
        // Right-to-left names keep their stored (logical) order of words; Arabic
        // letters come after Latin ones by code unit.
        NameCase{"RightToLeftLastWord", Reading::LastWord,
                 [] { return QStringList{u("علي أحمد"), u("زيد أحمد"), "Ann Lee"}; },
                 [] { return QStringList{"Ann Lee", u("زيد أحمد"), u("علي أحمد")}; }},
        // No normalisation: a combining accent is its own code unit, e + U+0301 sorts
        // before the precomposed é, and the duplicate filter keeps both spellings.
        NameCase{"CombiningMarks", Reading::FirstLast,
                 [] { return QStringList{u("Zoé Lee"), u("Zoe\u0301 Lee"), u("Zoé Lee")}; },
                 [] { return QStringList{u("Zoe\u0301 Lee"), u("Zoé Lee")}; }, true},
        // Outside the BMP: a surrogate pair (U+D83D...) sorts before U+E000 and U+FF21,
        // although its code point is higher.
        NameCase{"SurrogatePairsByCodeUnit", Reading::FirstLast,
                 [] { return QStringList{u("\uFF21 Lee"), u("😀 Lee"), u("\uE000 Lee")}; },
                 [] { return QStringList{u("😀 Lee"), u("\uE000 Lee"), u("\uFF21 Lee")}; }},
        // The delimiter inside a name splits it there; the text never reaches the list.
        NameCase{"DelimiterInANameLastWord", Reading::LastWord,
                 [] { return QStringList{"Ann!!!TWINE!!!Bee Cole", "Al Bo"}; },
                 [] { return QStringList{"Al Bo", "Bee Ann Cole"}; }},
        NameCase{"DelimiterInANameFirstLast", Reading::FirstLast,
                 [] { return QStringList{"Ann!!!TWINE!!!Bee Cole", "Al Bo"}; },
                 [] { return QStringList{"Al Bo", "Ann Bee Cole"}; }}),
    [](const auto &info) { return std::string(info.param.what); });

// The same kinds of names, read from a UTF-8 file and sorted: what the file holds is
// what the results show.
TEST(BadNamesFromAFile, ReadAndSortedUnchanged)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("names.txt"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(u("\uFEFFZed Lee\r\n"   // the byte-order mark at the start is dropped
                     "Émile\u00A0Zola Ray\r"  // no-break space: part of the word
                     "\tTab Ray\n"
                     "   \r\n"
                     "E\u0301mile Zola\r\n"
                     "😀 Zola\r\n"
                     "علي أحمد\r\n")
                       .toUtf8());
    }
    SortFixture f;
    f.read(Reading::LastWord);
    lists::ReadListFile(f.inputList, path, f.desktop, f.context.title);
    ASSERT_EQ(f.inputList.count(), 7);
    f.command.run();
    EXPECT_EQ(f.results(), (QStringList{"", "Zed Lee", u("\tTab Ray"), u("Émile\u00A0Zola Ray"), u("E\u0301mile Zola"),
                                        u("😀 Zola"), u("علي أحمد")}));
    EXPECT_TRUE(f.desktop.messages.size() == 1 && f.desktop.messageTexts()[0] == "Done.");
}

// ---- Suffix lists -------------------------------------------------------------------

struct SuffixCase {
    const char *what;
    std::function<QStringList()> entries;
    QStringList input;
    QStringList expected;
    bool unique = false;
};

class OddSuffixLists : public ::testing::TestWithParam<SuffixCase> {};

TEST_P(OddSuffixLists, SkippingReadingStepsOverExactlyTheEntries)
{
    const SuffixCase &c = GetParam();
    SortFixture f;
    f.read(Reading::SkipSuffix);
    f.suffixList(c.entries());
    f.controls.uniqueLastNames = c.unique;
    EXPECT_EQ(f.sort(c.input), c.expected);
    EXPECT_TRUE(f.desktop.errorReports().empty()) << f.reportPlaces().join(", ").toStdString();
}

QStringList fortyThousandEntries()
{
    QStringList entries;
    for (int i = 0; i < 39'999; ++i)
        entries << QStringLiteral("S%1").arg(i);
    entries << QStringLiteral("Jr.");
    return entries;
}

INSTANTIATE_TEST_SUITE_P(
    Table, OddSuffixLists,
    ::testing::Values(
        // No entries: the last word is the last name, as in the plain reading.
        SuffixCase{"NoEntries", [] { return QStringList{}; }, {"John Smith Jr.", "Ann Lee"},
                   {"John Smith Jr.", "Ann Lee"}},
        SuffixCase{"OneEntry", [] { return QStringList{"Jr."}; }, {"John Smith Jr.", "Ann Lee", "Cy Lee III"},
                   {"Cy Lee III", "Ann Lee", "John Smith Jr."}},
        // Beyond the 32766 entries the classic lookup could count: the last one still counts.
        SuffixCase{"FortyThousandEntries", fortyThousandEntries, {"John Smith Jr.", "Ann Lee", "Cy Lee III"},
                   {"Cy Lee III", "Ann Lee", "John Smith Jr."}},
        // An empty entry matches the empty last word of a name that ends in a space:
        // the head field is then the word before it with that space.
        SuffixCase{"EmptyEntry", [] { return QStringList{"Jr.", ""}; }, {"John Smith ", "Ann Smith", "Bob "},
                   {"Bob", "John Smith", "Ann Smith"}, true},
        SuffixCase{"WithoutTheEmptyEntry", [] { return QStringList{"Jr."}; }, {"John Smith ", "Ann Smith", "Bob "},
                   {"Bob", "Ann Smith"}, true},
        // An entry holding the delimiter matches only that whole word, not its pieces;
        // a name ending in that word is then split at the delimiter like any other.
        SuffixCase{"DelimiterInsideAnEntry", [] { return QStringList{"Jr.!!!TWINE!!!Sr."}; },
                   {"John Smith Jr.", "Al Doe Jr.!!!TWINE!!!Sr."}, {"Al Sr. Doe Jr.", "John Smith Jr."}}),
    [](const auto &info) { return std::string(info.param.what); });

// The stored form of a list of forty thousand entries, empty ones at both ends and in
// the middle included, comes back entry for entry.
TEST(OddSuffixLists, FortyThousandEntriesWithEmptyOnesRoundTrip)
{
    QStringList entries = fortyThousandEntries();
    entries.prepend(QString());
    entries.insert(20'000, QString());
    entries.append(QString());
    lists::NameListModel saved(QStringLiteral("Suffix List"));
    saved.appendMany(entries);
    MemorySettings settings;
    suffixes::saveSuffixList(saved.items(), settings);
    EXPECT_EQ(settings.values.value("SuffixList").count(D), entries.size() - 1);

    lists::NameListModel loaded(QStringLiteral("Suffix List"));
    loaded.appendMany(suffixes::storedSuffixList(settings));
    EXPECT_EQ(itemsOf(loaded), entries);
}

// ---- Limit texts ----------------------------------------------------------------------

struct LimitCase {
    const char *what;
    QString text;
    QStringList expected;
    bool reported; // the text is no 16-bit number: reported at line 180
};

class OddLimits : public ::testing::TestWithParam<LimitCase> {};

TEST_P(OddLimits, ReadAsA16BitWholeNumberOrReported)
{
    const LimitCase &c = GetParam();
    SortFixture f;
    f.read(Reading::LastWord);
    f.controls.perLastName = true;
    f.controls.limit = c.text;
    EXPECT_EQ(f.sort({"A X", "B X", "C X", "D X", "E Y", "F Y"}), c.expected);
    const QStringList places = f.reportPlaces();
    if (c.reported) {
        ASSERT_FALSE(places.isEmpty());
        for (const QString &place : places)
            EXPECT_EQ(place, "Form1.PushButton17_Click at line 180");
    } else {
        EXPECT_TRUE(places.isEmpty()) << places.join(", ").toStdString();
    }
    EXPECT_EQ(f.desktop.messageTexts().last(), "Done.");
}

const QStringList kEveryName = {"A X", "B X", "C X", "D X", "E Y", "F Y"};

INSTANTIATE_TEST_SUITE_P(
    Table, OddLimits,
    ::testing::Values(LimitCase{"Empty", "", kEveryName, true},
                      LimitCase{"Billion", "1e9", kEveryName, true},
                      LimitCase{"MinusZero", "-0", {"A X", "E Y"}, false},
                      LimitCase{"TwoAndAHalfToEven", "2.5", {"A X", "B X", "E Y", "F Y"}, false},
                      LimitCase{"ArabicIndicDigit", u("٣"), kEveryName, true},
                      // Too large even for a double: an overflow, not a limit of 0.
                      LimitCase{"BeyondDouble", "1e400", kEveryName, true},
                      LimitCase{"FourHundredDigits", "1" + QString(400, QLatin1Char('0')), kEveryName, true},
                      LimitCase{"TinyRoundsToZero", "1e-400", {"A X", "E Y"}, false}),
    [](const auto &info) { return std::string(info.param.what); });

} // namespace

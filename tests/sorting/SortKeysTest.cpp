#include "sorting/SortKeys.h"

#include <gtest/gtest.h>

using namespace orvella::sorting;

namespace {

const SortOptions kFirstLast{false, true, true, false};
const SortOptions kLastWord{true, false, false, true};
const SortOptions kSkipSuffix{true, false, true, false};

bool defaultSuffix(QStringView word)
{
    const QString lower = word.toString().toLower();
    return lower == u"jr." || lower == u"jr" || lower == u"iii" || lower == u"ph.d.";
}

QString key(const QString &name, const SortOptions &options)
{
    return buildSortKey(name, options, defaultSuffix);
}

// "!" stands for the delimiter and "_" for a space, to keep the table readable.
QString expand(QString text)
{
    text.replace(QLatin1Char('_'), QLatin1Char(' '));
    text.replace(QStringLiteral("!"), kFieldDelimiter);
    return text;
}

struct KeyCase {
    const char *name;
    const char *firstLast;
    const char *lastWord;
    const char *skipSuffix;
};

class SortKeyExamples : public ::testing::TestWithParam<KeyCase> {};

TEST_P(SortKeyExamples, KeysInEveryReading)
{
    const KeyCase c = GetParam();
    const QString name = QString::fromUtf8(c.name);
    EXPECT_EQ(key(name, kFirstLast), expand(QString::fromUtf8(c.firstLast)));
    EXPECT_EQ(key(name, kLastWord), expand(QString::fromUtf8(c.lastWord)));
    EXPECT_EQ(key(name, kSkipSuffix), expand(QString::fromUtf8(c.skipSuffix)));
}

INSTANTIATE_TEST_SUITE_P(
    Table, SortKeyExamples,
    ::testing::Values(KeyCase{"John Smith", "John!Smith", "Smith!John", "Smith!John"},
                      KeyCase{"Mr. Joe Tavrin", "Mr.!Joe_Tavrin", "Tavrin!Mr._Joe", "Tavrin!Mr._Joe"},
                      KeyCase{"John Smith Jr.", "John!Smith_Jr.", "Jr.!John_Smith", "Smith_Jr.!John_"},
                      KeyCase{"Smith Jr.", "Smith!Jr.", "Jr.!Smith", "Smith_Jr.!"},
                      KeyCase{"Cher", "Cher", "Cher", "Cher"},
                      KeyCase{"John  Smith", "John!_Smith", "Smith!John_", "Smith!John_"},
                      // Only the last word is tested, once: "III" is skipped, "Jr." stays in the head.
                      KeyCase{"John Smith Jr. III", "John!Smith_Jr._III", "III!John_Smith_Jr.", "Jr._III!John_Smith_"},
                      // A suffix that is not last is an ordinary word.
                      KeyCase{"John Jr. Smith", "John!Jr._Smith", "Smith!John_Jr.", "Smith!John_Jr."},
                      // Case is ignored for the suffix test, the dot is not.
                      KeyCase{"Al Doe JR.", "Al!Doe_JR.", "JR.!Al_Doe", "Doe_JR.!Al_"},
                      KeyCase{"Al Doe jr", "Al!Doe_jr", "jr!Al_Doe", "Doe_jr!Al_"},
                      KeyCase{"Al Doe Sr.", "Al!Doe_Sr.", "Sr.!Al_Doe", "Sr.!Al_Doe"},
                      // Trailing space: an empty last word.
                      KeyCase{"John Smith ", "John!Smith_", "!John_Smith", "!John_Smith"},
                      // Tabs are part of words.
                      KeyCase{"Ann\tLee Ray", "Ann\tLee!Ray", "Ray!Ann\tLee", "Ray!Ann\tLee"},
                      // A one-word name that is a suffix is keyed by itself.
                      KeyCase{"Jr.", "Jr.", "Jr.", "Jr."},
                      KeyCase{"", "", "", ""}));

TEST(SortKeys, NoReadingSelectedGivesEmptyKeyAndName)
{
    const SortOptions none{false, false, false, false};
    EXPECT_EQ(key("John Smith", none), QString());
    EXPECT_EQ(revealName(expand("Smith!John"), none), QString());
    const SortOptions lastWithoutDetail{true, false, false, false};
    EXPECT_EQ(key("John Smith", lastWithoutDetail), QString());
}

TEST(SortKeys, SuffixTestAskedOnlyInSkippingReading)
{
    int asked = 0;
    const SuffixTest counting = [&](QStringView) {
        ++asked;
        return false;
    };
    buildSortKey(u"John Smith", kLastWord, counting);
    buildSortKey(u"John Smith", kFirstLast, counting);
    EXPECT_EQ(asked, 0);
    buildSortKey(u"John Smith", kSkipSuffix, counting);
    EXPECT_EQ(asked, 1);
}

struct RevealCase {
    const char *name;
    const char *shown;
};

class RevealRoundTrip : public ::testing::TestWithParam<RevealCase> {};

TEST_P(RevealRoundTrip, KeyRevealsTheNameAsEntered)
{
    const QString name = QString::fromUtf8(GetParam().name);
    const QString shown = QString::fromUtf8(GetParam().shown);
    for (const SortOptions &options : {kFirstLast, kLastWord, kSkipSuffix})
        EXPECT_EQ(revealName(key(name, options), options), shown) << name.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Table, RevealRoundTrip,
                         ::testing::Values(RevealCase{"John Smith", "John Smith"},
                                           RevealCase{"John Smith Jr.", "John Smith Jr."},
                                           RevealCase{"Smith Jr.", "Smith Jr."},
                                           RevealCase{"Cher", "Cher"},
                                           RevealCase{"John  Smith", "John Smith"},
                                           RevealCase{" John Smith ", "John Smith"},
                                           RevealCase{"   ", ""},
                                           RevealCase{"", ""},
                                           RevealCase{"Jr.", "Jr."}));

TEST(SortKeys, SpacesInsideTheTailSurvive)
{
    // The two spaces lie inside the tail field in the Last/First readings.
    EXPECT_EQ(revealName(key("John  Paul Smith", kLastWord), kLastWord), QStringLiteral("John  Paul Smith"));
    EXPECT_EQ(revealName(key("John  Paul Smith", kSkipSuffix), kSkipSuffix), QStringLiteral("John  Paul Smith"));
    // ...but between head and tail in First/Last.
    EXPECT_EQ(revealName(key("John  Paul Smith", kFirstLast), kFirstLast), QStringLiteral("John Paul Smith"));
}

TEST(SortKeys, DelimiterInsideANameIsSplitAway)
{
    const QString name = QStringLiteral("Ann!!!TWINE!!!Bee Cole");
    const QString shown = revealName(key(name, kLastWord), kLastWord);
    EXPECT_FALSE(shown.contains(kFieldDelimiter));
    EXPECT_EQ(shown, QStringLiteral("Bee Ann Cole"));
}

TEST(SortKeys, HeadFieldIsTextBeforeFirstDelimiter)
{
    EXPECT_EQ(headField(expand("Smith_Jr.!John_")), QStringLiteral("Smith Jr."));
    EXPECT_EQ(headField(u"Cher"), QStringLiteral("Cher"));
    EXPECT_EQ(headField(u""), QString());
}

} // namespace

#include "names/NameReading.h"
#include "names/NameWords.h"
#include "names/Particles.h"
#include "names/SortKeys.h"
#include "ReadingLists.h"

#include <QRandomGenerator>
#include <QSet>

#include <gtest/gtest.h>

using namespace orvella::names;

namespace {

const SortOptions kFirstLast{SortBy::FirstLast, LastWordReading::SkipSuffixes};
const SortOptions kLastWord{SortBy::LastFirst, LastWordReading::LastWord};
const SortOptions kSkipSuffix{SortBy::LastFirst, LastWordReading::SkipSuffixes};

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
    // A one-word name has no last word to step over.
    buildSortKey(u"Jr.", kSkipSuffix, counting);
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


// ---- Reading choices: "Last, First" lines and particles --------------------------

namespace readings {

using namespace orvella::names;
using namespace reading_lists;

struct ReadingCase {
    const char *name;
    SortOptions options;
    int choices;
    // What the name is read as: head, tail, last name, suffix, particles, "Last, First" line.
    const char *sortedUnder;
    const char *then;
    const char *lastName;
    const char *suffix;
    const char *particles;
    bool commaLine;
    const char *stepped = ""; // titles, nicknames and suffixes stepped over
};

class NameReadings : public ::testing::TestWithParam<ReadingCase> {};

TEST_P(NameReadings, ReadAsTheRulesSayAndKeyedAlike)
{
    const ReadingCase c = GetParam();
    const QString name = QString::fromUtf8(c.name);
    ReadingChoices choices;
    choices.lastCommaFirst = c.choices & Comma;
    choices.keepParticles = c.choices & Particles;
    choices.stepOverExtras = c.choices & Steps;
    choices.familyNameFirst = c.choices & Family;
    choices.twoFamilyNames = c.choices & Two;
    const WordTests lists{listedSuffix, defaultParticle, defaultTitle, nullptr, reading_lists::defaultDesignations()};
    const NameReading r = readName(name, c.options, choices, lists);
    EXPECT_EQ(r.sortedUnder, QString::fromUtf8(c.sortedUnder));
    EXPECT_EQ(r.then, QString::fromUtf8(c.then));
    EXPECT_EQ(r.lastName, QString::fromUtf8(c.lastName));
    EXPECT_EQ(r.suffix, QString::fromUtf8(c.suffix));
    EXPECT_EQ(r.particles, QString::fromUtf8(c.particles));
    EXPECT_EQ(r.commaLine, c.commaLine);
    EXPECT_EQ(r.stepped, QString::fromUtf8(c.stepped));

    // The key files the name under the same fields; a name whose key does not show it
    // as read is shown by its own text.
    KeyNote note;
    note.commaLine = !c.commaLine;
    QString key;
    buildReadingKeyInto(key, name, c.options, choices, lists, &note);
    EXPECT_EQ(note.commaLine, c.commaLine);
    const NameReading fromKey = readingOfKey(key);
    EXPECT_EQ(fromKey.sortedUnder, r.sortedUnder);
    EXPECT_EQ(fromKey.then, r.then);
    EXPECT_EQ(fromKey.stepped.isEmpty(), r.stepped.isEmpty());
    if (choices.stepOverExtras)
        EXPECT_EQ(note.ownText ? note.shown : revealName(key, c.options), tidySpaces(name));
}

INSTANTIATE_TEST_SUITE_P(
    Table, NameReadings,
    ::testing::Values(
        // "Last, First" lines.
        ReadingCase{"Smith, John", kSkipSuffix, Both, "Smith", "John", "Smith", "", "", true},
        ReadingCase{"Cruz, Juan de la", kSkipSuffix, Both, "Cruz", "Juan de la", "Cruz", "", "", true},
        ReadingCase{"de la Cruz, Juan", kSkipSuffix, Both, "de la Cruz", "Juan", "de la Cruz", "", "", true},
        ReadingCase{"  de la Cruz ,  Juan ", kLastWord, Comma, "de la Cruz", "Juan", "de la Cruz", "", "", true},
        ReadingCase{"Smith,John", kLastWord, Comma, "Smith", "John", "Smith", "", "", true},
        // After the comma stands a suffix: read as without the choice.
        ReadingCase{"John Smith, Jr.", kSkipSuffix, Both, "Smith, Jr.", "John", "Smith,", "Jr.", "", false},
        ReadingCase{"John Smith, Jr.", kLastWord, Comma, "Jr.", "John Smith,", "Jr.", "", "", false},
        // A suffix after a second comma files with the last name, as "John Smith Jr." does.
        ReadingCase{"Smith, John, Jr.", kSkipSuffix, Comma, "Smith Jr.", "John", "Smith", "Jr.", "", true},
        ReadingCase{"Smith, John, Jr.", kLastWord, Comma, "Smith", "John, Jr.", "Smith", "", "", true},
        ReadingCase{"Smith, John, Paul", kSkipSuffix, Comma, "Smith", "John, Paul", "Smith", "", "", true},
        // A comma at the end, a lone comma, an empty part: no "Last, First" line.
        ReadingCase{"Smith,", kSkipSuffix, Both, "Smith,", "", "Smith,", "", "", false},
        ReadingCase{",", kSkipSuffix, Both, ",", "", ",", "", "", false},
        ReadingCase{", John", kLastWord, Both, "John", ",", "John", "", "", false},
        ReadingCase{"Smith, , Jr.", kSkipSuffix, Comma, ", Jr.", "Smith,", ",", "Jr.", "", false},
        // First/Last: the first name is the first word after the comma.
        ReadingCase{"Smith, John Paul", kFirstLast, Both, "John", "Paul Smith", "John", "", "", true},
        ReadingCase{"Smith, John, Jr.", kFirstLast, Comma, "John", "Smith Jr.", "John", "", "", true},
        ReadingCase{"Ludwig van Beethoven", kFirstLast, Both, "Ludwig", "van Beethoven", "Ludwig", "", "", false},
        // Particles.
        ReadingCase{"Ludwig van Beethoven", kLastWord, Particles, "van Beethoven", "Ludwig", "Beethoven", "", "van",
                    false},
        ReadingCase{"Oscar de la Hoya", kSkipSuffix, Both, "de la Hoya", "Oscar", "Hoya", "", "de la", false},
        ReadingCase{"Vincent van der Berg Jr.", kSkipSuffix, Particles, "van der Berg Jr.", "Vincent", "Berg", "Jr.",
                    "van der", false},
        ReadingCase{"Charles DE GAULLE", kLastWord, Particles, "DE GAULLE", "Charles", "GAULLE", "", "DE", false},
        ReadingCase{"Thomas St. John", kLastWord, Particles, "St. John", "Thomas", "John", "", "St.", false},
        // Irish surname prefixes.
        ReadingCase{"Se\u00e1n \u00d3 Briain", kLastWord, Particles, "\u00d3 Briain", "Se\u00e1n", "Briain", "",
                    "\u00d3", false},
        ReadingCase{"Nuala N\u00ed Dhomhnaill", kSkipSuffix, Both, "N\u00ed Dhomhnaill", "Nuala", "Dhomhnaill", "",
                    "N\u00ed", false},
        ReadingCase{"Aoife Mhic Aodha", kSkipSuffix, Particles | Steps, "Mhic Aodha", "Aoife", "Aodha", "", "Mhic",
                    false},
        // Particles at the very start: a name of particles and one word keeps that word.
        ReadingCase{"van Gogh", kLastWord, Particles, "Gogh", "van", "Gogh", "", "", false},
        ReadingCase{"Van Morrison", kLastWord, Particles, "Morrison", "Van", "Morrison", "", "", false},
        ReadingCase{"de la Hoya", kSkipSuffix, Particles, "Hoya", "de la", "Hoya", "", "", false},
        ReadingCase{"van Berg Jr.", kSkipSuffix, Particles, "Berg Jr.", "van", "Berg", "Jr.", "", false},
        ReadingCase{"de", kLastWord, Particles, "de", "", "de", "", "", false},
        // Only the run directly before the last name counts; an empty word ends it.
        ReadingCase{"María del Carmen García", kLastWord, Particles, "García", "María del Carmen", "García", "", "",
                    false},
        ReadingCase{"Jan de  Vries", kLastWord, Particles, "Vries", "Jan de", "Vries", "", "", false},
        // Mixed scripts.
        ReadingCase{"Ιωάννης van Ålund", kLastWord, Particles, "van Ålund", "Ιωάννης", "Ålund", "", "van", false},
        ReadingCase{"Żak, Łukasz", kSkipSuffix, Both, "Żak", "Łukasz", "Żak", "", "", true},
        // In a "Last, First" line the part before the comma is the whole last name.
        ReadingCase{"van der Berg, Vincent", kSkipSuffix, Both, "van der Berg", "Vincent", "van der Berg", "", "",
                    true},
        // Each choice acts alone.
        ReadingCase{"Smith, John", kSkipSuffix, Particles, "John", "Smith,", "John", "", "", false},
        ReadingCase{"Oscar de la Hoya", kSkipSuffix, Comma, "Hoya", "Oscar de la", "Hoya", "", "", false},
        ReadingCase{"Oscar de la Hoya", kSkipSuffix, Neither, "Hoya", "Oscar de la", "Hoya", "", "", false},
        // The option buttons' reading alone: a two-word name with a suffix, an empty last
        // word.
        ReadingCase{"Smith Jr.", kSkipSuffix, Neither, "Smith Jr.", "", "Smith", "Jr.", "", false},
        ReadingCase{"John Smith ", kLastWord, Both, "", "John Smith", "", "", "", false},
        ReadingCase{"", kSkipSuffix, Both, "", "", "", "", "", false},
        // Stepping over suffixes: after a comma, inside a "Last, First" line's last name,
        // several of them, as words and ordinals; never leaving only the first name,
        // unless a comma marks the suffix.
        ReadingCase{"John Smith, Jr.", kSkipSuffix, Steps, "Smith", "John", "Smith", "Jr.", "", false, "Jr."},
        ReadingCase{"Ann Lee, PhD, MD", kSkipSuffix, Steps | Comma, "Lee", "Ann", "Lee", "PhD MD", "", false,
                    "PhD MD"},
        ReadingCase{"Smith,Jr.", kSkipSuffix, Steps, "Smith", "", "Smith", "Jr.", "", false, "Jr."},
        ReadingCase{"SMITH JR, JOHN", kSkipSuffix, Steps | Comma, "SMITH", "JOHN", "SMITH", "JR", "", true, "JR"},
        ReadingCase{"Lee III, Ann", kSkipSuffix, Steps | Comma, "Lee", "Ann", "Lee", "III", "", true, "III"},
        ReadingCase{"Tom Ray Jr. Esq.", kSkipSuffix, Steps, "Ray", "Tom", "Ray", "Jr. Esq.", "", false, "Jr. Esq."},
        ReadingCase{"Bo Kim III, CPA", kSkipSuffix, Steps, "Kim", "Bo", "Kim", "III CPA", "", false, "III CPA"},
        ReadingCase{"Henry Ford 2nd", kSkipSuffix, Steps, "Ford", "Henry", "Ford", "2nd", "", false, "2nd"},
        ReadingCase{"Ann Lee, M.B.A.", kSkipSuffix, Steps, "Lee", "Ann", "Lee", "M.B.A.", "", false, "M.B.A."},
        ReadingCase{"JOHN Q PUBLIC OBE", kSkipSuffix, Steps, "PUBLIC", "JOHN Q", "PUBLIC", "OBE", "", false, "OBE"},
        ReadingCase{"Jack Yun MA", kSkipSuffix, Steps, "MA", "Jack Yun", "MA", "", "", false},
        // Designations and licences, several in a row, with or without commas and
        // periods; trailing phrases; degrees written with a space or joined by a period;
        // never leaving no last name.
        ReadingCase{"Ann Lee AIA NCARB", kSkipSuffix, Steps, "Lee", "Ann", "Lee", "AIA NCARB", "", false,
                    "AIA NCARB"},
        ReadingCase{"Bob Roe, CPCU, C.L.U., ChFC", kSkipSuffix, Steps | Comma, "Roe", "Bob", "Roe",
                    "CPCU C.L.U. ChFC", "", false, "CPCU C.L.U. ChFC"},
        ReadingCase{"Kim Park R.N. B.S.N.", kSkipSuffix, Steps, "Park", "Kim", "Park", "R.N. B.S.N.", "", false,
                    "R.N. B.S.N."},
        ReadingCase{"Tom Hale REALTOR GRI", kFirstLast, Steps, "Tom", "Hale", "Tom", "REALTOR GRI", "", false,
                    "REALTOR GRI"},
        ReadingCase{"Jane Doe Attorney at Law", kSkipSuffix, Steps, "Doe", "Jane", "Doe", "Attorney at Law", "",
                    false, "Attorney at Law"},
        ReadingCase{"Jane Doe, attorney-at-law", kSkipSuffix, Steps | Comma, "Doe", "Jane", "Doe",
                    "attorney-at-law", "", false, "attorney-at-law"},
        ReadingCase{"Al Fox, Deceased", kSkipSuffix, Steps, "Fox", "Al", "Fox", "Deceased", "", false, "Deceased"},
        ReadingCase{"Al Fox Ph. D.", kSkipSuffix, Steps, "Fox", "Al", "Fox", "Ph. D.", "", false, "Ph. D."},
        ReadingCase{"Al Fox M. D.", kSkipSuffix, Steps, "Fox", "Al", "Fox", "M. D.", "", false, "M. D."},
        ReadingCase{"Ruth Ames MSc.Ed.", kSkipSuffix, Steps, "Ames", "Ruth", "Ames", "MSc.Ed.", "", false,
                    "MSc.Ed."},
        ReadingCase{"Mr.Jack Smith", kSkipSuffix, Steps, "Smith", "Jack", "Smith", "", "", false, "Mr."},
        ReadingCase{"Dr.Ann Lee", kFirstLast, Steps, "Ann", "Lee", "Ann", "", "", false, "Dr."},
        // Left alone: a designation that would leave no last name, a family name that
        // looks like one in another case, a lone initial after a period, a phrase's last
        // word alone, words glued without a title.
        ReadingCase{"Ann CPA", kSkipSuffix, Steps, "CPA", "Ann", "CPA", "", "", false},
        ReadingCase{"Anh Do", kSkipSuffix, Steps, "Do", "Anh", "Do", "", "", false},
        ReadingCase{"John Q. D.", kSkipSuffix, Steps, "D.", "John Q.", "D.", "", "", false},
        ReadingCase{"Ann Law", kSkipSuffix, Steps, "Law", "Ann", "Law", "", "", false},
        ReadingCase{"Bo Ray at Law", kSkipSuffix, Steps, "Law", "Bo Ray at", "Law", "", "", false},
        ReadingCase{"J.R. Ewing", kSkipSuffix, Steps, "Ewing", "J.R.", "Ewing", "", "", false},
        ReadingCase{"St.John Rivers", kSkipSuffix, Steps, "Rivers", "St.John", "Rivers", "", "", false},
        ReadingCase{"Ann Lee AIA", kSkipSuffix, Neither, "AIA", "Ann Lee", "AIA", "", "", false},
        ReadingCase{"Rt. Hon. Tony Blair", kFirstLast, Steps, "Tony", "Blair", "Tony", "", "", false, "Rt. Hon."},
        ReadingCase{"Mary Ann Lee V", kSkipSuffix, Steps, "Lee", "Mary Ann", "Lee", "V", "", false, "V"},
        ReadingCase{"Sam Hill Junior", kSkipSuffix, Steps, "Hill", "Sam", "Hill", "Junior", "", false, "Junior"},
        ReadingCase{"John Senior", kSkipSuffix, Steps, "Senior", "John", "Senior", "", "", false},
        ReadingCase{"Ann V", kSkipSuffix, Steps, "V", "Ann", "V", "", "", false},
        ReadingCase{"Jr., PhD", kSkipSuffix, Steps, "Jr.", "", "Jr.", "PhD", "", false, "PhD"},
        ReadingCase{"John Smith,", kSkipSuffix, Steps, "Smith", "John", "Smith", "", "", false},
        ReadingCase{" , ", kLastWord, Steps | Comma, ",", "", ",", "", "", false},
        // The last-word reading keeps its last word.
        ReadingCase{"Tom Ray Jr.", kLastWord, Steps, "Jr.", "Tom Ray", "Jr.", "", "", false},
        // Titles, in every reading and before either part of a "Last, First" line; a name
        // of titles keeps its last.
        ReadingCase{"Dr. John Smith", kFirstLast, Steps, "John", "Smith", "John", "", "", false, "Dr."},
        ReadingCase{"Rev. Al Green", kLastWord, Steps | Particles, "Green", "Al", "Green", "", "", false, "Rev."},
        ReadingCase{"Mrs. Brown, Amanda", kSkipSuffix, Steps | Comma, "Brown", "Amanda", "Brown", "", "", true,
                    "Mrs."},
        ReadingCase{"Brown, Prof Amanda", kFirstLast, Steps | Comma, "Amanda", "Brown", "Amanda", "", "", true,
                    "Prof"},
        ReadingCase{"Dr. Prof.", kSkipSuffix, Steps, "Prof.", "", "Prof.", "", "", false, "Dr."},
        ReadingCase{"Dr.", kFirstLast, Steps, "Dr.", "", "Dr.", "", "", false},
        // Nicknames in parentheses or quotes, wherever they stand, nested or not closed.
        ReadingCase{"Robert (Bob) Smith", kLastWord, Steps, "Smith", "Robert", "Smith", "", "", false, "(Bob)"},
        ReadingCase{"Robert Smith (Bob)", kSkipSuffix, Steps, "Smith", "Robert", "Smith", "", "", false, "(Bob)"},
        ReadingCase{"Margaret \u201cPeggy\u201d Hill", kLastWord, Steps, "Hill", "Margaret", "Hill", "", "", false,
                    "\u201cPeggy\u201d"},
        ReadingCase{"Tom \"T.J.\" Ray", kFirstLast, Steps, "Tom", "Ray", "Tom", "", "", false, "\"T.J.\""},
        ReadingCase{"Robert (Bob \"the builder\") Smith", kLastWord, Steps, "Smith", "Robert", "Smith", "", "",
                    false, "(Bob \"the builder\")"},
        ReadingCase{"Robert (Bob Smith", kLastWord, Steps, "Smith", "Robert (Bob", "Smith", "", "", false},
        ReadingCase{"(Bob)", kLastWord, Steps, "(Bob)", "", "(Bob)", "", "", false},
        // Stray spaces and words without a letter or digit at the ends.
        ReadingCase{"John Smith ", kLastWord, Steps, "Smith", "John", "Smith", "", "", false},
        ReadingCase{"  Ann \t  Lee  ", kSkipSuffix, Steps, "Lee", "Ann", "Lee", "", "", false},
        ReadingCase{"Ann Lee *", kLastWord, Steps, "Lee", "Ann", "Lee", "", "", false, "*"},
        ReadingCase{"\U0001F642 Ann Lee", kFirstLast, Steps, "Ann", "Lee", "Ann", "", "", false, "\U0001F642"},
        // Double surnames joined by "y", "e" or "i" go with the particles, with a first
        // name left before them.
        ReadingCase{"Ana de la Cruz y P\u00e9rez", kLastWord, Particles, "de la Cruz y P\u00e9rez", "Ana",
                    "P\u00e9rez", "", "de la Cruz y", false},
        ReadingCase{"Luis Garc\u00eda y Vega", kSkipSuffix, Particles | Steps, "Garc\u00eda y Vega", "Luis",
                    "Vega", "", "Garc\u00eda y", false},
        ReadingCase{"Garc\u00eda y Vega", kLastWord, Particles, "Vega", "Garc\u00eda y", "Vega", "", "", false},
        // Family name first for Chinese, Japanese and Korean script, in Last/First readings.
        ReadingCase{"\u7530\u4e2d \u88d5\u5b50", kLastWord, Family, "\u7530\u4e2d", "\u88d5\u5b50",
                    "\u7530\u4e2d", "", "", false},
        ReadingCase{"\uae40 \ubbfc\uc900", kSkipSuffix, Family | Steps, "\uae40", "\ubbfc\uc900", "\uae40", "",
                    "", false},
        ReadingCase{"\u7530\u4e2d \u88d5\u5b50", kLastWord, Neither, "\u88d5\u5b50", "\u7530\u4e2d",
                    "\u88d5\u5b50", "", "", false},
        ReadingCase{"\u7530\u4e2d Yuko", kLastWord, Family, "Yuko", "\u7530\u4e2d", "Yuko", "", "", false},
        // Two family names: four or more words file under the last two, when both are
        // capitalised and no particles; three words, a particle, a small letter, a
        // suffix or the First/Last reading leave the name as it is.
        ReadingCase{"Mar\u00eda Jos\u00e9 Garc\u00eda P\u00e9rez", kSkipSuffix, Two, "Garc\u00eda P\u00e9rez",
                    "Mar\u00eda Jos\u00e9", "Garc\u00eda P\u00e9rez", "", "", false},
        ReadingCase{"Mar\u00eda Jos\u00e9 Garc\u00eda P\u00e9rez", kLastWord, Two | Steps,
                    "Garc\u00eda P\u00e9rez", "Mar\u00eda Jos\u00e9", "Garc\u00eda P\u00e9rez", "", "", false},
        ReadingCase{"Jo\u00e3o Carlos Silva Santos", kLastWord, Two | Particles, "Silva Santos", "Jo\u00e3o Carlos",
                    "Silva Santos", "", "", false},
        ReadingCase{"Dr. Ana Mar\u00eda L\u00f3pez Ruiz Jr.", kSkipSuffix, Two | Steps, "L\u00f3pez Ruiz",
                    "Ana Mar\u00eda", "L\u00f3pez Ruiz", "Jr.", "", false, "Dr. Jr."},
        ReadingCase{"Gabriel Garc\u00eda M\u00e1rquez", kSkipSuffix, Two, "M\u00e1rquez", "Gabriel Garc\u00eda",
                    "M\u00e1rquez", "", "", false},
        ReadingCase{"Juan Pablo de Souza", kLastWord, Two, "Souza", "Juan Pablo de", "Souza", "", "", false},
        ReadingCase{"Juan Pablo de Souza", kLastWord, Two | Particles, "de Souza", "Juan Pablo", "Souza", "", "de",
                    false},
        ReadingCase{"Ana Sofia garc\u00eda P\u00e9rez", kLastWord, Two | Steps, "P\u00e9rez", "Ana Sofia garc\u00eda",
                    "P\u00e9rez", "", "", false},
        ReadingCase{"Ana Mar\u00eda L\u00f3pez Jr.", kSkipSuffix, Two, "L\u00f3pez Jr.", "Ana Mar\u00eda",
                    "L\u00f3pez", "Jr.", "", false},
        ReadingCase{"Mar\u00eda Jos\u00e9 Garc\u00eda P\u00e9rez", kFirstLast, Two, "Mar\u00eda",
                    "Jos\u00e9 Garc\u00eda P\u00e9rez", "Mar\u00eda", "", "", false},
        ReadingCase{"Mar\u00eda Jos\u00e9 Garc\u00eda P\u00e9rez", kSkipSuffix, Neither, "P\u00e9rez",
                    "Mar\u00eda Jos\u00e9 Garc\u00eda", "P\u00e9rez", "", "", false}));

struct ColumnCase {
    const char *cells; // "Last|Given|Suffix"
    SortOptions options;
    int choices;
    const char *sortedUnder;
    const char *then;
    const char *stepped = "";
};

class ColumnReadings : public ::testing::TestWithParam<ColumnCase> {};

// The key files the name under its last-name cell, whatever commas the cells hold; the
// name shows as entered.
TEST_P(ColumnReadings, LastNameCellIsTheLastName)
{
    const ColumnCase c = GetParam();
    const ColumnName column(c.cells);
    ReadingChoices choices;
    choices.keepParticles = c.choices & Particles;
    choices.stepOverExtras = c.choices & Steps;
    const WordTests lists{listedSuffix, defaultParticle, defaultTitle};
    KeyNote note;
    QString key;
    buildReadingKeyInto(key, column.name, c.options, choices, lists, &note, &column.parts);
    const NameReading r = readingOfKey(key);
    EXPECT_EQ(r.sortedUnder, QString::fromUtf8(c.sortedUnder)) << c.cells;
    EXPECT_EQ(r.then, QString::fromUtf8(c.then)) << c.cells;
    EXPECT_EQ(r.stepped, QString::fromUtf8(c.stepped)) << c.cells;
    EXPECT_TRUE(note.commaLine) << c.cells;
    EXPECT_EQ(note.ownText ? note.shown : revealName(key, c.options), column.name) << c.cells;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ColumnReadings,
    ::testing::Values(
        // A suffix inside the last-name cell is stepped over where the reading steps
        // over suffixes, and otherwise stays part of the last name.
        ColumnCase{"Smith, Jr.|Bob Lee|", kSkipSuffix, Neither, "Smith Jr.", "Bob Lee"},
        ColumnCase{"Smith, Jr.|Bob Lee|", kLastWord, Neither, "Smith, Jr.", "Bob Lee"},
        ColumnCase{"Smith, Jr.|Bob Lee|", kSkipSuffix, Steps, "Smith", "Bob Lee", "Jr."},
        ColumnCase{"Smith, Jr.|Bob Lee|", kLastWord, Steps, "Smith Jr.", "Bob Lee"},
        ColumnCase{"Smith, Jr.|Bob Lee|", kFirstLast, Neither, "Bob", "Lee Smith, Jr."},
        ColumnCase{"Smith, Jr.|Bob Lee|", kFirstLast, Steps, "Bob", "Lee Smith", "Jr."},
        ColumnCase{"King, III|Zoe|", kSkipSuffix, Neither, "King III", "Zoe"},
        ColumnCase{"King III|Zoe|", kSkipSuffix, Steps, "King", "Zoe", "III"},
        ColumnCase{"Lee,|Al|", kSkipSuffix, Neither, "Lee", "Al"},
        ColumnCase{"Lee,|Al|", kLastWord, Steps, "Lee", "Al"},
        ColumnCase{"Jr.|Al|", kSkipSuffix, Both, "Jr.", "Al"},
        // The whole cell, particles or not; titles before it stepped over.
        ColumnCase{"de la Cruz|Juan|", kLastWord, Neither, "de la Cruz", "Juan"},
        ColumnCase{"de la Cruz|Juan|", kSkipSuffix, Particles | Steps, "de la Cruz", "Juan"},
        ColumnCase{"Dr. Ray|Tom|", kSkipSuffix, Steps, "Ray", "Tom", "Dr."},
        // A suffix cell files with the last name where suffixes are stepped over.
        ColumnCase{"King|Martin Luther|Jr.", kSkipSuffix, Neither, "King Jr.", "Martin Luther"},
        ColumnCase{"King|Martin Luther|Jr.", kLastWord, Neither, "King", "Martin Luther, Jr."},
        ColumnCase{"King|Martin Luther|Jr.", kSkipSuffix, Steps, "King", "Martin Luther", "Jr."},
        ColumnCase{"King|Martin Luther|Jr.", kFirstLast, Neither, "Martin", "Luther King Jr."},
        // Without a first name: the last name alone, in every reading.
        ColumnCase{"de la Cruz||", kLastWord, Neither, "de la Cruz", ""},
        ColumnCase{"de la Cruz||", kFirstLast, Steps, "de la Cruz", ""},
        ColumnCase{"Smith, Jr.||", kSkipSuffix, Neither, "Smith Jr.", ""},
        ColumnCase{"Smith||III", kSkipSuffix, Steps, "Smith", "", "III"}));

// A sort asks for a name's key alone: on any name, however awkward its pieces, that key
// and whether it shows its own text are those of the full reading (and nothing crashes).
TEST(NameReadings, KeyAloneAgreesWithTheFullReading)
{
    const char *pieces[] = {"Ann", "Lee", "Dr.", "Jr.", "III", "de", "la", "y", "(Bob)", "\"T\"", ",", " ", "*",
                            "\u7530\u4e2d", "O'Neil", "MBA", "MA", "Senior", "van", "Mrs", "2nd", "\u88d5\u5b50"};
    const WordTests lists{listedSuffix, defaultParticle, defaultTitle};
    QRandomGenerator random(24);
    for (int n = 0; n < 3000; ++n) {
        QString name;
        for (int w = 1 + random.bounded(5); w > 0; --w) {
            if (!name.isEmpty())
                name += random.bounded(8) == 0 ? QStringLiteral("  ") : QStringLiteral(" ");
            name += QString::fromUtf8(pieces[random.bounded(int(std::size(pieces)))]);
        }
        for (const SortOptions &options : {kSkipSuffix, kLastWord, kFirstLast}) {
            for (const int set : {int(Steps), Steps | Particles, Steps | Family, Steps | Comma | Particles | Family}) {
                ReadingChoices choices;
                choices.stepOverExtras = true;
                choices.keepParticles = set & Particles;
                choices.familyNameFirst = set & Family;
                choices.lastCommaFirst = set & Comma;
                const WordReading full = readWords(name, options, choices, lists);
                KeyNote note;
                QString key;
                buildReadingKeyInto(key, name, options, choices, lists, &note);
                EXPECT_EQ(key, full.key) << name.toStdString();
                EXPECT_EQ(note.ownText, full.ownText) << name.toStdString();
            }
        }
    }
}

// First/Last keeps the last-word choice of Last/First without using it: the "How Names
// Are Read" window's First word row is read under either.
TEST(NameReadings, FirstLastReadsAlikeUnderEitherLastWordChoice)
{
    const SortOptions skipping{SortBy::FirstLast, LastWordReading::SkipSuffixes};
    const SortOptions lastWord{SortBy::FirstLast, LastWordReading::LastWord};
    const WordTests lists{listedSuffix, defaultParticle, defaultTitle};
    for (const char *name : {"John Smith Jr.", "Smith, John, Jr.", "Smith Jr., John", "Dr. Ann (Bo) Lee III", "Jr.",
                             "Lee,  Ann  PhD", "\u7530\u4e2d \u88d5\u5b50", ""}) {
        for (const int set : {int(Neither), int(Comma), int(Steps), Steps | Comma | Family}) {
            SCOPED_TRACE(std::string(name) + " / " + std::to_string(set));
            ReadingChoices choices;
            choices.lastCommaFirst = set & Comma;
            choices.stepOverExtras = set & Steps;
            choices.familyNameFirst = set & Family;
            const QString text = QString::fromUtf8(name);
            const NameReading a = readName(text, skipping, choices, lists);
            const NameReading b = readName(text, lastWord, choices, lists);
            EXPECT_EQ(a.sortedUnder, b.sortedUnder);
            EXPECT_EQ(a.then, b.then);
            EXPECT_EQ(a.stepped, b.stepped);
            QString keyA, keyB;
            buildReadingKeyInto(keyA, text, skipping, choices, lists);
            buildReadingKeyInto(keyB, text, lastWord, choices, lists);
            EXPECT_EQ(keyA, keyB);
        }
    }
}

TEST(NameReadings, ParticleKeysRevealTheNameAsEntered)
{
    const ReadingChoices particles{NameOrder::Exact, false, true};
    for (const char *name : {"Ludwig van Beethoven", "Vincent van der Berg Jr.", "van Gogh", "Oscar de la Hoya"}) {
        for (const SortOptions &options : {kLastWord, kSkipSuffix}) {
            const QString key = buildReadingKey(QString::fromUtf8(name), options, particles, defaultSuffix,
                                                defaultParticle);
            EXPECT_EQ(revealName(key, options), QString::fromUtf8(name));
        }
    }
}

TEST(NameReadings, SortedUnderText)
{
    NameReading r;
    r.sortedUnder = QStringLiteral("de la Hoya");
    r.then = QStringLiteral("Oscar");
    EXPECT_EQ(sortedUnderText(r), QStringLiteral("Sorted under: de la Hoya, then: Oscar"));
    r.then.clear();
    EXPECT_EQ(sortedUnderText(r), QStringLiteral("Sorted under: de la Hoya"));
    EXPECT_EQ(sortedUnderText(readingOfKey(expand("Smith_Jr.!John_"))), QStringLiteral("Sorted under: Smith Jr., then: John"));
}

} // namespace readings

} // namespace

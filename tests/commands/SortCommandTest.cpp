#include "core/ErrorReport.h"
#include "core/PointerState.h"
#include "lists/NameColumns.h"
#include "lists/NameListModel.h"
#include "commands/SortCommand.h"
#include "commands/SortControls.h"
#include "commands/SortFixture.h"
#include "lists/SuffixList.h"

#include <gtest/gtest.h>

#include <atomic>
#include <new>

using namespace orvella;
using namespace orvella::testing;

namespace {

const QStringList kSamples = {"Peter Tavrin", "John Smith Jr.", "Joe Tavrin", "Mr. Joe Tavrin"};

struct OrderCase {
    Reading reading;
    QStringList input;
    QStringList expected;
};

class SortOrders : public ::testing::TestWithParam<OrderCase> {};

TEST_P(SortOrders, ResultsInKeyOrder)
{
    SortFixture f;
    f.read(GetParam().reading);
    EXPECT_EQ(f.sort(GetParam().input), GetParam().expected);
    EXPECT_EQ(f.desktop.messageTexts(), QStringList{"Done."});
}

INSTANTIATE_TEST_SUITE_P(
    Table, SortOrders,
    ::testing::Values(
        OrderCase{Reading::LastWord, kSamples, {"John Smith Jr.", "Joe Tavrin", "Mr. Joe Tavrin", "Peter Tavrin"}},
        OrderCase{Reading::SkipSuffix, kSamples, {"John Smith Jr.", "Joe Tavrin", "Mr. Joe Tavrin", "Peter Tavrin"}},
        OrderCase{Reading::FirstLast, kSamples, {"Joe Tavrin", "John Smith Jr.", "Mr. Joe Tavrin", "Peter Tavrin"}},
        OrderCase{Reading::LastWord, {"John Smith Jr.", "Ann Lee"}, {"John Smith Jr.", "Ann Lee"}},
        OrderCase{Reading::SkipSuffix, {"John Smith Jr.", "Ann Lee"}, {"Ann Lee", "John Smith Jr."}},
        OrderCase{Reading::LastWord, {"anna smith", "Bob Young"}, {"Bob Young", "anna smith"}},
        OrderCase{Reading::SkipSuffix, {"Bob Smith", "Al Smith Jr."}, {"Al Smith Jr.", "Bob Smith"}},
        OrderCase{Reading::LastWord, {"Cher"}, {"Cher"}},
        OrderCase{Reading::LastWord, {"John Smith ", "Ann Adams"}, {"John Smith", "Ann Adams"}}));

TEST(SortCommand, EmptyInputListLeavesResultsAlone)
{
    SortFixture f;
    f.resultList.append("kept");
    f.run();
    EXPECT_EQ(f.results(), QStringList{"kept"});
    ASSERT_EQ(f.desktop.messages.size(), 1u);
    EXPECT_EQ(f.desktop.messages[0].text, "You forgot to add Name in the list.");
    EXPECT_EQ(f.desktop.messages[0].style, 0);
    EXPECT_EQ(f.desktop.messages[0].title, f.context.title);
    EXPECT_TRUE(f.desktop.pointers.empty());
}

TEST(SortCommand, ProgressAndPointerDuringAndAfterRun)
{
    SortFixture f;
    QStringList texts;
    std::vector<double> positions;
    std::vector<core::Pointer> pointersAtYield;
    QObject::connect(&f.progress, &core::ProgressState::textSet, [&](const QString &t) { texts << t; });
    QObject::connect(&f.progress, &core::ProgressState::positionSet,
                     [&](double p) { positions.push_back(p); });
    f.desktop.onEveryYield = [&] { pointersAtYield.push_back(f.pointer.pointer()); };
    f.fillInput({"Ann Lee", "Bo Ray", "Cy Dee"});
    f.run();

    EXPECT_EQ(texts, (QStringList{"Processing: Ann Lee", "Processing: Bo Ray", "Processing: Cy Dee", "Progress Bar"}));
    EXPECT_EQ(positions, (std::vector<double>{33, 66, 100, 0}));
    for (core::Pointer p : pointersAtYield)
        EXPECT_EQ(p, core::Pointer::Busy);
    EXPECT_EQ(f.pointer.pointer(), core::Pointer::Default);
    EXPECT_EQ(f.progress.text(), "Progress Bar");
}

TEST(SortCommand, ProgressTextShowsTheWholeName)
{
    SortFixture f;
    QStringList texts;
    QObject::connect(&f.progress, &core::ProgressState::textSet, [&](const QString &t) { texts << t; });
    f.fillInput({"Mary Smith/Jones", "AC/DC Band/"});
    f.run();
    EXPECT_EQ(texts.mid(0, 2), (QStringList{"Processing: Mary Smith/Jones", "Processing: AC/DC Band/"}));
}

TEST(SortCommand, PointerChangedDuringYieldIsSetBackToBusy)
{
    SortFixture f;
    f.fillInput({"A B", "C D"});
    std::vector<core::Pointer> seenAtSecondName;
    f.desktop.atYield(1, [&] { f.pointer.set(core::Pointer::Custom); });
    f.desktop.atYield(2, [&] { seenAtSecondName.push_back(f.pointer.pointer()); });
    f.run();
    ASSERT_EQ(seenAtSecondName.size(), 1u);
    EXPECT_EQ(seenAtSecondName[0], core::Pointer::Busy);
}

struct FilterCase {
    const char *what;
    Reading reading;
    bool noDuplicates, uniqueLastNames, perLastName;
    QString limit;
    QStringList input;
    QStringList expected;
};

class Filters : public ::testing::TestWithParam<FilterCase> {};

TEST_P(Filters, KeepWhatTheBoxesSay)
{
    const FilterCase c = GetParam();
    SortFixture f;
    f.read(c.reading);
    f.controls.noDuplicates = c.noDuplicates;
    f.controls.uniqueLastNames = c.uniqueLastNames;
    f.controls.perLastName = c.perLastName;
    f.controls.limit = c.limit;
    EXPECT_EQ(f.sort(c.input), c.expected) << c.what;
    EXPECT_TRUE(f.desktop.errorReports().empty()) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, Filters,
    ::testing::Values(
        FilterCase{"duplicates", Reading::LastWord, true, false, false, "5",
                   {"John Smith", "john smith", "John Smith"}, {"John Smith", "john smith"}},
        FilterCase{"spaces make names differ", Reading::LastWord, true, false, false, "5",
                   {" John Smith", "John Smith"}, {"John Smith", "John Smith"}},
        FilterCase{"unique last names", Reading::LastWord, false, true, false, "5", kSamples,
                   {"John Smith Jr.", "Joe Tavrin"}},
        FilterCase{"limit 2", Reading::LastWord, false, false, true, "2", kSamples,
                   {"John Smith Jr.", "Joe Tavrin", "Mr. Joe Tavrin"}},
        FilterCase{"limit 0", Reading::LastWord, false, false, true, "0", kSamples, {"John Smith Jr.", "Joe Tavrin"}},
        FilterCase{"limit negative", Reading::LastWord, false, false, true, "-3", kSamples,
                   {"John Smith Jr.", "Joe Tavrin"}},
        FilterCase{"limit 2.5 rounds to 2", Reading::LastWord, false, false, true, "2.5", kSamples,
                   {"John Smith Jr.", "Joe Tavrin", "Mr. Joe Tavrin"}},
        FilterCase{"limit 3.5 rounds to 4", Reading::LastWord, false, false, true, "3.5",
                   {"A X", "B X", "C X", "D X", "E X"}, {"A X", "B X", "C X", "D X"}},
        // With both ticked only the unique filter acts: the limit is not even read.
        FilterCase{"Check1 wins over Check2", Reading::LastWord, false, true, true, "banana", kSamples,
                   {"John Smith Jr.", "Joe Tavrin"}},
        FilterCase{"First/Last groups by first word", Reading::FirstLast, false, true, false, "5",
                   {"Joe Tavrin", "Joe Smith"}, {"Joe Smith"}},
        FilterCase{"case makes head fields differ", Reading::LastWord, false, true, false, "5",
                   {"A Smith", "B smith", "C Smith"}, {"A Smith", "B smith"}},
        FilterCase{"suffix head fields differ", Reading::SkipSuffix, false, true, false, "5",
                   {"John Smith Jr.", "Adam Smith"}, {"John Smith Jr.", "Adam Smith"}},
        FilterCase{"empty names share the empty head field", Reading::LastWord, false, true, false, "5",
                   {"", "", "Al"}, {"", "Al"}}));

class UnreadableLimit : public ::testing::TestWithParam<const char *> {};

TEST_P(UnreadableLimit, ReportedOncePerRunAndNamesJoinAsUnderLimit)
{
    SortFixture f;
    f.read(Reading::LastWord);
    f.controls.perLastName = true;
    f.controls.limit = QString::fromUtf8(GetParam());
    f.sort({"A X", "B X", "C X", "D X", "E Y", "F Y"});
    EXPECT_EQ(f.results(), (QStringList{"A X", "B X", "C X", "D X", "E Y", "F Y"}));
    const auto reports = f.desktop.errorReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].text.contains("in Orvella2021/08/31.Form1.PushButton17_Click at line 180\r\r"));
    EXPECT_EQ(reports[0].style, 48);
    EXPECT_EQ(f.desktop.messageTexts().last(), "Done.");
}

INSTANTIATE_TEST_SUITE_P(Table, UnreadableLimit,
                         ::testing::Values("40000", "", "banana", "1e9", "\xD9\xA3", "-32769"));

// What a click during a run does (a second Start Sorting, names added, results
// cleared) is checked through the window's controls in the app's re-entry tests.

// ---- Reading choices in the run --------------------------------------------------

// Sets an environment variable for the life of the object.
class ScopedVariable {
public:
    ScopedVariable(const char *name, const QByteArray &value) : m_name(name), m_old(qgetenv(name)), m_had(qEnvironmentVariableIsSet(name))
    {
        qputenv(name, value);
    }
    ~ScopedVariable() { m_had ? qputenv(m_name, m_old) : qunsetenv(m_name); }

private:
    const char *m_name;
    QByteArray m_old;
    bool m_had;
};

struct ChoiceCase {
    const char *what;
    Reading reading;
    names::ReadingChoices choices;
    QStringList input;
    QStringList expected;
};

class ReadingChoices : public ::testing::TestWithParam<ChoiceCase> {};

const QStringList kCommaLines = {"Smith, John", "Cruz, Juan de la", "de la Cruz, Juan", "John Smith, Jr.",
                                 "Smith, John, Jr.", "Adam Smith"};
const QStringList kParticleNames = {"Ludwig van Beethoven", "Anna Beethoven", "Oscar de la Hoya", "Vincent van der Berg"};
constexpr names::NameOrder kExact = names::NameOrder::Exact;
constexpr names::NameOrder kAlphabetical = names::NameOrder::Alphabetical;

TEST_P(ReadingChoices, ResultsFollowTheChoices)
{
    const ChoiceCase c = GetParam();
    const ScopedVariable locale("LC_ALL", "en_US.UTF-8");
    SortFixture f;
    f.read(c.reading);
    f.controls.choices = c.choices;
    EXPECT_EQ(f.sort(c.input), c.expected) << c.what;
    EXPECT_EQ(f.desktop.messageTexts(), QStringList{"Done."}) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReadingChoices,
    ::testing::Values(
        ChoiceCase{"alphabetical",
                   Reading::LastWord,
                   {kAlphabetical, false, false},
                   {"Zach Adams", "ann smith", "Ángel Álvarez", "Bob Smith", "Łukasz Żak"},
                   {"Zach Adams", "Ángel Álvarez", "ann smith", "Bob Smith", "Łukasz Żak"}},
        ChoiceCase{"alphabetical, numbers by value",
                   Reading::FirstLast,
                   {kAlphabetical, false, false},
                   {"Henry 10", "Henry 8", "henry 9"},
                   {"Henry 8", "henry 9", "Henry 10"}},
        // A suffix breaks a tie only after the rest of the name; case weighs last.
        ChoiceCase{"alphabetical, suffixes and case",
                   Reading::SkipSuffix,
                   {kAlphabetical, true, false},
                   {"Zed King", "Aaron King Jr.", "Bob King", "Aaron King", "Smith, Robert", "smith, ali",
                    "SMITH, ALAN", "Smith, Adam"},
                   {"Aaron King", "Aaron King Jr.", "Bob King", "Zed King", "Smith, Adam", "SMITH, ALAN",
                    "smith, ali", "Smith, Robert"}},
        // "Last, First" lines show as entered; "John Smith, Jr." is no such line.
        ChoiceCase{"comma lines, exact",
                   Reading::SkipSuffix,
                   {kExact, true, false},
                   kCommaLines,
                   {"Cruz, Juan de la", "Smith, John, Jr.", "Adam Smith", "Smith, John", "John Smith, Jr.",
                    "de la Cruz, Juan"}},
        ChoiceCase{"comma lines, alphabetical",
                   Reading::SkipSuffix,
                   {kAlphabetical, true, false},
                   kCommaLines,
                   {"Cruz, Juan de la", "de la Cruz, Juan", "Adam Smith", "Smith, John", "Smith, John, Jr.",
                    "John Smith, Jr."}},
        ChoiceCase{"comma lines, first/last",
                   Reading::FirstLast,
                   {kExact, true, false},
                   {"Smith, John", "Adams, Zoe", "Bob Lee"},
                   {"Bob Lee", "Smith, John", "Adams, Zoe"}},
        ChoiceCase{"comma lines off",
                   Reading::SkipSuffix,
                   {kExact, false, false},
                   {"Smith, John", "Adams, Zoe"},
                   {"Smith, John", "Adams, Zoe"}},
        ChoiceCase{"particles",
                   Reading::LastWord,
                   {kExact, false, true},
                   kParticleNames,
                   {"Anna Beethoven", "Oscar de la Hoya", "Ludwig van Beethoven", "Vincent van der Berg"}},
        ChoiceCase{"particles, alphabetical",
                   Reading::SkipSuffix,
                   {kAlphabetical, false, true},
                   kParticleNames,
                   {"Anna Beethoven", "Oscar de la Hoya", "Ludwig van Beethoven", "Vincent van der Berg"}},
        // Titles, nicknames and suffixes only break ties; names show tidied.
        ChoiceCase{"titles, nicknames and suffixes stepped over",
                   Reading::SkipSuffix,
                   {kExact, false, false, true},
                   {"Zed  King ", "Dr. Aaron King", "Aaron King Jr.", "Bob (Bobby) King", "Al Adams, PhD"},
                   {"Al Adams, PhD", "Dr. Aaron King", "Aaron King Jr.", "Bob (Bobby) King", "Zed King"}},
        ChoiceCase{"stepped over, alphabetical",
                   Reading::SkipSuffix,
                   {kAlphabetical, true, false, true},
                   {"Bob King", "Aaron King Jr.", "King, Aaron", "Mrs. Brown, Amanda", "SMITH JR, JOHN", "Ann Smith"},
                   {"Mrs. Brown, Amanda", "King, Aaron", "Aaron King Jr.", "Bob King", "Ann Smith",
                    "SMITH JR, JOHN"}},
        // The typed form of a "Last, First" line in the list files with it.
        ChoiceCase{"last names learnt",
                   Reading::SkipSuffix,
                   {kExact, true, false, false, false, true},
                   {"Gabriel Garc\u00eda M\u00e1rquez", "Garc\u00eda M\u00e1rquez, Gabriel", "Ana M\u00e1rquez",
                    "Ludwig van Beethoven", "Beethoven, Ludwig van", "John Smith Jr.", "Smith, John, Jr.",
                    "Smith, Ann"},
                   {"Ludwig van Beethoven", "Beethoven, Ludwig van", "Gabriel Garc\u00eda M\u00e1rquez",
                    "Garc\u00eda M\u00e1rquez, Gabriel", "Ana M\u00e1rquez", "John Smith Jr.", "Smith, John, Jr.",
                    "Smith, Ann"}},
        // Learnt through titles and nicknames stepped over, which stay the name's own
        // and break the tie after the line.
        ChoiceCase{"last names learnt, stepped over",
                   Reading::SkipSuffix,
                   {kExact, true, false, true, false, true},
                   {"Dr. Gabriel (Gabo) Garc\u00eda M\u00e1rquez", "Ana M\u00e1rquez", "Garc\u00eda M\u00e1rquez, Gabriel"},
                   {"Garc\u00eda M\u00e1rquez, Gabriel", "Dr. Gabriel (Gabo) Garc\u00eda M\u00e1rquez",
                    "Ana M\u00e1rquez"}},
        ChoiceCase{"family name first",
                   Reading::LastWord,
                   {kExact, false, false, false, true},
                   {"\u9234\u6728 \u4e00\u90ce", "\u7530\u4e2d \u88d5\u5b50", "Ann Lee"},
                   {"Ann Lee", "\u7530\u4e2d \u88d5\u5b50", "\u9234\u6728 \u4e00\u90ce"}},
        ChoiceCase{"particles, first/last",
                   Reading::FirstLast,
                   {kExact, false, true},
                   kParticleNames,
                   {"Anna Beethoven", "Ludwig van Beethoven", "Oscar de la Hoya", "Vincent van der Berg"}}));

// Under the step-over choice the duplicate filter compares names tidied; under the
// option buttons' reading the status line counts names filed under an empty last name.
TEST(ReadingChoices, TidiedDuplicatesAndTheSpacedNamesHint)
{
    SortFixture f;
    QStringList done;
    f.context.noteDone = [&](const QString &what) { done << what; };
    f.controls.noDuplicates = true;
    EXPECT_EQ(f.sort({"Ann Lee ", "Ann  Lee", "Bo Ray ", "Ann Lee"}), (QStringList{"Ann Lee", "Bo Ray", "Ann Lee", "Ann Lee"}));
    ASSERT_EQ(done.size(), 1);
    EXPECT_TRUE(done[0].endsWith(QStringLiteral(" \u00b7 2 names end with a space and were filed under an empty "
                                                "last name: Reading > Step over titles, nicknames and extra suffixes")))
        << done[0].toStdString();
    done.clear();
    f.controls.choices.stepOverExtras = true;
    EXPECT_EQ(f.sort({"Ann Lee ", "Ann  Lee", "Bo Ray ", "Ann Lee"}), (QStringList{"Ann Lee", "Bo Ray"}));
    ASSERT_EQ(done.size(), 1);
    EXPECT_FALSE(done[0].contains(QStringLiteral("space"))) << done[0].toStdString();
}

QStringList toolTips(lists::NameListModel &list)
{
    list.flushPendingRows();
    QStringList tips;
    for (int row = 0; row < list.rowCount(); ++row)
        tips << list.data(list.index(row), Qt::ToolTipRole).toString();
    return tips;
}

TEST(ResultToolTips, SayWhatEachRowWasSortedUnder)
{
    SortFixture f;
    f.controls.choices = {kExact, true, true};
    f.controls.uniqueLastNames = true; // rows dropped by the filter take no tooltip with them
    EXPECT_EQ(f.sort({"Oscar de la Hoya", "Smith, John, Jr.", "Ann Hoya", "Bo Hoya", "Cher"}),
              (QStringList{"Cher", "Ann Hoya", "Smith, John, Jr.", "Oscar de la Hoya"}));
    EXPECT_EQ(toolTips(f.resultList),
              (QStringList{"Sorted under: Cher", "Sorted under: Hoya, then: Ann", "Sorted under: Smith Jr., then: John",
                           "Sorted under: de la Hoya, then: Oscar"}));

    // A removed row takes its tooltip along; clearing the results drops them all.
    f.resultList.removeAt(2);
    EXPECT_EQ(toolTips(f.resultList), (QStringList{"Sorted under: Cher", "Sorted under: Smith Jr., then: John",
                                                   "Sorted under: de la Hoya, then: Oscar"}));
    f.resultList.clear();
    f.resultList.append("Zed");
    EXPECT_EQ(toolTips(f.resultList), QStringList{""});
}

// A learnt "Last, First" line gives a name its last name and nothing else: what the
// line and the name each step over stays their own, in the order and the tooltips.
TEST(ResultToolTips, LearntLastNamesKeepWhatEachNameStepsOver)
{
    SortFixture f;
    f.controls.choices = {kExact, true, false, true, false, true};
    EXPECT_EQ(f.sort({"Hemingway III, Ernest", "Ernest Hemingway Jr.", "Ernest Hemingway", "Vonnegut, Kurt, Jr.",
                      "Kurt Vonnegut Sr.", "Dame Agatha Christie", "Christie, Agatha", "Sir Terry Pratchett",
                      "Pratchett, Terry"}),
              (QStringList{"Christie, Agatha", "Dame Agatha Christie", "Ernest Hemingway", "Hemingway III, Ernest",
                           "Ernest Hemingway Jr.", "Pratchett, Terry", "Sir Terry Pratchett", "Vonnegut, Kurt, Jr.",
                           "Kurt Vonnegut Sr."}));
    EXPECT_EQ(toolTips(f.resultList),
              (QStringList{"Sorted under: Christie, then: Agatha",
                           "Sorted under: Christie, then: Agatha, stepped over: Dame",
                           "Sorted under: Hemingway, then: Ernest",
                           "Sorted under: Hemingway, then: Ernest, stepped over: III",
                           "Sorted under: Hemingway, then: Ernest, stepped over: Jr.",
                           "Sorted under: Pratchett, then: Terry",
                           "Sorted under: Pratchett, then: Terry, stepped over: Sir",
                           "Sorted under: Vonnegut, then: Kurt, stepped over: Jr.",
                           "Sorted under: Vonnegut, then: Kurt, stepped over: Sr."}));
}

// A Filed-As entry files its name before every rule, in every reading, order and choice,
// and the name's tooltip says so; names it does not hold are read as without it.
TEST(ResultToolTips, FiledAsEntriesFileTheirNamesInEveryReading)
{
    const auto list = std::make_shared<const names::FiledAsList>(QList<names::FiledAsEntry>{
        {"Debbie Wasserman Schultz", "Wasserman Schultz", ""}, {"Van Morrison", "Morrison", "Van"}});
    const QStringList input = {"Zoe Zulu", "Debbie Wasserman Schultz", "Sam Tate", "Van Morrison", "Al Able"};
    const QStringList expected = {"Al Able", "Van Morrison", "Sam Tate", "Debbie Wasserman Schultz", "Zoe Zulu"};
    const names::ReadingChoices choiceSets[] = {
        {kExact}, {kAlphabetical}, {kExact, true, true, true, false, true, true}, {kAlphabetical, true, true, true}};
    for (const Reading reading : {Reading::LastWord, Reading::SkipSuffix, Reading::FirstLast}) {
        for (const names::ReadingChoices &choices : choiceSets) {
            SortFixture f;
            f.read(reading);
            f.controls.choices = choices;
            f.controls.filed = list;
            f.controls.noDuplicates = choices.stepOverExtras;
            EXPECT_EQ(f.sort(input), expected) << int(reading) << choices.stepOverExtras;
            const QStringList tips = toolTips(f.resultList);
            ASSERT_EQ(tips.size(), 5);
            EXPECT_EQ(tips[1], "Sorted under: Morrison, then: Van, filed as you set");
            EXPECT_EQ(tips[3], "Sorted under: Wasserman Schultz, then: Debbie, filed as you set");
            EXPECT_FALSE(tips[2].contains("filed as you set"));
        }
    }
    // Without the list the same names file as the rules say.
    SortFixture f;
    f.read(Reading::LastWord);
    EXPECT_EQ(f.sort(input),
              (QStringList{"Al Able", "Van Morrison", "Debbie Wasserman Schultz", "Sam Tate", "Zoe Zulu"}));
}

TEST(ResultToolTips, WorkedOutFromTheRowInEachReading)
{
    const std::tuple<Reading, const char *, const char *> cases[] = {
        {Reading::FirstLast, "Joe  Tavrin Jr.", "Sorted under: Joe, then: Tavrin Jr."},
        {Reading::SkipSuffix, "Joe  Tavrin Jr.", "Sorted under: Tavrin Jr., then: Joe"},
        {Reading::LastWord, " Ann  Lee ", "Sorted under: , then: Ann  Lee"},
        {Reading::LastWord, "Cher", "Sorted under: Cher"},
        {Reading::SkipSuffix, "Jr.", "Sorted under: Jr."}};
    for (const auto &[reading, name, tip] : cases) {
        SortFixture f;
        f.read(reading);
        f.sort({QString::fromUtf8(name)});
        EXPECT_EQ(toolTips(f.resultList), QStringList{QString::fromUtf8(tip)}) << name;
    }
}

TEST(ResultToolTips, RowsClearedDuringTheRunAreDropped)
{
    SortFixture f;
    f.read(Reading::LastWord);
    f.fillInput({"A Lee", "B Ray", "C Day"});
    // The output loop yields before each row: clear the results before the third.
    f.desktop.atYield(3 + 1 + 3, [&] { f.resultList.clear(); });
    f.run();
    EXPECT_EQ(f.results(), QStringList{"B Ray"});
    EXPECT_EQ(toolTips(f.resultList), QStringList{"Sorted under: Ray, then: B"});
}

TEST(ReadingChoicesInTheRun, ReadOnceAtTheStart)
{
    SortFixture f;
    f.controls.choices = {kExact, true, false};
    f.desktop.atYield(1, [&] { f.controls.choices = {}; });
    EXPECT_EQ(f.sort({"Smith, John", "Adams, Zoe"}), (QStringList{"Adams, Zoe", "Smith, John"}));
}

} // namespace

namespace {

// A roster's rows: Id, First, Last; each name built "Last, First" as a table with
// separate name columns builds it.
tables::SourceTablePtr roster(const QList<QStringList> &rows)
{
    auto table = std::make_shared<tables::SourceTable>();
    table->header = {"Id", "First", "Last"};
    table->cells.appendRow(table->header);
    for (const QStringList &row : rows)
        table->cells.appendRow(row);
    table->commaLines = true;
    return table;
}

// The Id cell of each result's row ("-" for a result with none).
QStringList resultIds(const lists::NameListModel &results)
{
    QStringList ids;
    for (int position = 1; position <= results.count(); ++position) {
        const tables::NameRow row = results.rowOf(position);
        ids << (row ? row.table->cells.cell(row.row, 0) : QStringLiteral("-"));
    }
    return ids;
}

struct RowCase {
    const char *what;
    Reading reading;
    bool lastCommaFirst, noDuplicates, uniqueLastNames;
    QStringList expectedIds;
    names::NameOrder order = names::NameOrder::Exact;
};

class ResultRowsOfTables : public ::testing::TestWithParam<RowCase> {};

} // namespace

// Names from a table with separate name columns file under their last-name cell
// whatever the Reading menu says, and every result carries the row its name came
// from, through the filters; a typed name has none. A row without a name (row 5)
// files before every named one.
TEST_P(ResultRowsOfTables, CarryTheirRows)
{
    const RowCase c = GetParam();
    SortFixture f;
    f.read(c.reading);
    f.controls.choices.lastCommaFirst = c.lastCommaFirst;
    f.controls.noDuplicates = c.noDuplicates;
    f.controls.uniqueLastNames = c.uniqueLastNames;
    f.controls.choices.order = c.order;
    const auto table = roster({{"1", "Ann", "de la Cruz"}, {"2", "Bo", "Lee"}, {"3", "Ann", "de la Cruz"},
                               {"4", "Cy", "Lee Jr."}, {"5", "", ""}});
    tables::TextRows names;
    for (const char *name : {"de la Cruz, Ann", "Lee, Bo", "de la Cruz, Ann", "Lee Jr., Cy", ""})
        names.append(QString::fromUtf8(name));
    f.inputList.append(QStringLiteral("Al Kim")); // typed: no row
    f.inputList.appendMany(std::move(names), table, {1, 2, 3, 4, 5});
    f.run();
    EXPECT_EQ(resultIds(f.resultList), c.expectedIds) << c.what << " " << f.results().join(" | ").toStdString();
    EXPECT_TRUE(f.desktop.errorReports().empty()) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ResultRowsOfTables,
    ::testing::Values(
        // Exact order: "Kim" < "Lee Jr." < "Lee" (the field delimiter sorts after a
        // space) < "de la Cruz".
        RowCase{"menu off, last word", Reading::LastWord, false, false, false, {"5", "-", "4", "2", "1", "3"}},
        RowCase{"menu on, suffixes", Reading::SkipSuffix, true, false, false, {"5", "-", "4", "2", "1", "3"}},
        RowCase{"duplicates keep the first row", Reading::LastWord, false, true, false, {"5", "-", "4", "2", "1"}},
        RowCase{"unique last names", Reading::LastWord, false, false, true, {"5", "-", "4", "2", "1"}},
        // First/Last files a "Last, First" line under its first name.
        RowCase{"first names", Reading::FirstLast, false, false, false, {"5", "-", "1", "3", "2", "4"}},
        // Alphabetical: "de la Cruz" < "Kim" < "Lee" < "Lee Jr." (a suffix breaks ties last).
        RowCase{"alphabetical", Reading::SkipSuffix, false, false, false, {"5", "1", "3", "-", "2", "4"},
                kAlphabetical}));

TEST(ResultRowsOfTables, FollowTheirResultsThroughRemovalAndUndoOfAClear)
{
    SortFixture f;
    const auto table = roster({{"7", "Bo", "Lee"}, {"8", "Ann", "Ames"}, {"9", "", ""}});
    tables::TextRows names;
    names.append(QStringLiteral("Lee, Bo"));
    names.append(QStringLiteral("Ames, Ann"));
    names.append(QString()); // a row without a name
    f.inputList.appendMany(std::move(names), table, {1, 2, 3});
    f.run();
    EXPECT_EQ(resultIds(f.resultList), (QStringList{"9", "8", "7"}));
    EXPECT_EQ(f.resultList.note(2, tables::RowNote::FiledUnder), QStringLiteral("Ames"));

    f.resultList.removeAt(1);
    f.resultList.removeAt(1);
    EXPECT_EQ(resultIds(f.resultList), QStringList{"7"});
    EXPECT_EQ(f.resultList.note(1, tables::RowNote::FiledUnder), QStringLiteral("Lee"));
    f.resultList.insertAt(1, QStringLiteral("Typed Name"));
    f.resultList.append(QStringLiteral("Another"));
    EXPECT_EQ(resultIds(f.resultList), (QStringList{"-", "7", "-"}));

    // A clear taken back gives the rows back with their names.
    lists::NameListModel::Tail tail = f.inputList.takeTail(0);
    EXPECT_FALSE(f.inputList.hasRows());
    f.inputList.append(QStringLiteral("Zed Zu"));
    f.inputList.restoreTail(std::move(tail));
    EXPECT_EQ(resultIds(f.inputList), (QStringList{"-", "7", "8", "9"}));
    EXPECT_EQ(f.inputList.item(4), QString());
}

// A roster with Id, First, Middle and Last Name columns whose last-name cells hold
// commas: each row files under its last-name cell (a suffix in it stepped over as a
// suffix where the reading steps over suffixes), shows as loaded, and its tooltip,
// its "Filed under" note and its key agree; in every reading, with or without "Last,
// First" lines and the learnt last names.
TEST(ResultRowsOfTables, FileUnderTheLastNameCellWhateverCommasItHolds)
{
    auto made = std::make_shared<tables::SourceTable>();
    made->header = {"Id", "First", "Middle", "Last"};
    made->cells.appendRow(made->header);
    made->columns = {core::ColumnChoice::Kind::NameParts, true, -1, 3, 1, 2, -1};
    made->commaLines = true;
    tables::TextRows names;
    std::vector<quint32> rows;
    for (const QStringList &row : QList<QStringList>{{"1", "Bob", "Lee", "Smith, Jr."},
                                                      {"2", "Zoe", "", "King, III"},
                                                      {"3", "Al", "", "Lee,"},
                                                      {"4", "Cy", "", "Kim"},
                                                      {"5", "Ann", "Smith", "Lee"}}) {
        made->cells.appendRow(row);
        rows.push_back(quint32(made->cells.rowCount() - 1));
        names.append(lists::nameOfRow(row, made->columns));
    }
    const tables::SourceTablePtr table = made;
    const struct {
        Reading reading;
        bool stepOver;
        QStringList ids;
        QStringList tips;
    } cases[] = {
        {Reading::SkipSuffix, false, {"4", "2", "3", "5", "1"},
         {"Sorted under: Kim, then: Cy", "Sorted under: King III, then: Zoe", "Sorted under: Lee, then: Al",
          "Sorted under: Lee, then: Ann Smith", "Sorted under: Smith Jr., then: Bob Lee"}},
        {Reading::LastWord, false, {"4", "2", "3", "5", "1"},
         {"Sorted under: Kim, then: Cy", "Sorted under: King, III, then: Zoe", "Sorted under: Lee, then: Al",
          "Sorted under: Lee, then: Ann Smith", "Sorted under: Smith, Jr., then: Bob Lee"}},
        {Reading::SkipSuffix, true, {"4", "2", "3", "5", "1"},
         {"Sorted under: Kim, then: Cy", "Sorted under: King, then: Zoe, stepped over: III",
          "Sorted under: Lee, then: Al", "Sorted under: Lee, then: Ann Smith",
          "Sorted under: Smith, then: Bob Lee, stepped over: Jr."}},
        {Reading::FirstLast, true, {"3", "5", "1", "4", "2"},
         {"Sorted under: Al, then: Lee", "Sorted under: Ann, then: Smith Lee",
          "Sorted under: Bob, then: Lee Smith, stepped over: Jr.", "Sorted under: Cy, then: Kim",
          "Sorted under: Zoe, then: King, stepped over: III"}},
    };
    for (const auto &c : cases) {
        for (const bool learn : {false, true}) {
            SortFixture f;
            f.read(c.reading);
            f.controls.choices = {kExact, learn, false, c.stepOver, false, learn};
            tables::TextRows copy;
            names.forEach([&](QStringView name) { copy.append(name); });
            f.inputList.appendMany(std::move(copy), table, rows);
            f.run();
            EXPECT_EQ(resultIds(f.resultList), c.ids) << c.tips.join(" | ").toStdString();
            EXPECT_EQ(toolTips(f.resultList), c.tips);
            for (int position = 1; position <= f.resultList.count(); ++position) {
                const tables::NameRow row = f.resultList.rowOf(position);
                EXPECT_EQ(f.resultList.itemView(position), lists::nameOfRow(row.table->cells.row(row.row), made->columns));
                EXPECT_TRUE(c.tips[position - 1].startsWith(
                    "Sorted under: " + f.resultList.note(position, tables::RowNote::FiledUnder) + ","));
            }
        }
    }
}

// A table's filing column files each row whose cell is filled under the cell's words,
// in every reading, as an entry of the Filed-As list would; an entry for the name wins.
TEST(ResultRowsOfTables, FileUnderTheFilingColumn)
{
    auto made = std::make_shared<tables::SourceTable>();
    made->header = {"Id", "Name", "Sort as"};
    made->cells.appendRow(made->header);
    made->columns = {core::ColumnChoice::Kind::WholeName, true, 1};
    made->columns.filedAs = 2;
    std::vector<quint32> rows;
    for (const QStringList &row : QList<QStringList>{{"1", "Debbie Wasserman Schultz", "Wasserman Schultz"},
                                                      {"2", "Zoe Able", ""},
                                                      {"3", "Van Morrison", " Morrison "},
                                                      {"4", "Yul Brynner", "Zz"}}) {
        made->cells.appendRow(row);
        rows.push_back(quint32(made->cells.rowCount() - 1));
    }
    const tables::SourceTablePtr table = made;
    for (const Reading reading : {Reading::LastWord, Reading::SkipSuffix, Reading::FirstLast}) {
        for (const bool entry : {false, true}) {
            SortFixture f;
            f.read(reading);
            if (entry)
                f.controls.filed = std::make_shared<const names::FiledAsList>(
                    QList<names::FiledAsEntry>{{"Yul Brynner", "Brynner", "Yul"}});
            tables::TextRows names;
            for (const quint32 row : rows)
                names.append(made->cells.cell(row, 1));
            f.inputList.appendMany(std::move(names), table, rows);
            f.run();
            const QString able = reading == Reading::FirstLast ? "Sorted under: Zoe, then: Able"
                                                               : "Sorted under: Able, then: Zoe";
            const QStringList tips = toolTips(f.resultList);
            ASSERT_EQ(tips.size(), 4);
            EXPECT_TRUE(tips.contains("Sorted under: Morrison, then: Van, filed as you set"));
            EXPECT_TRUE(tips.contains("Sorted under: Wasserman Schultz, then: Debbie, filed as you set"));
            EXPECT_TRUE(tips.contains(entry ? "Sorted under: Brynner, then: Yul, filed as you set"
                                            : "Sorted under: Zz, then: Yul Brynner, filed as you set"));
            EXPECT_TRUE(tips.contains(able));
            if (reading != Reading::FirstLast)
                EXPECT_EQ(resultIds(f.resultList),
                          entry ? QStringList({"2", "4", "3", "1"}) : QStringList({"2", "3", "1", "4"}));
        }
    }
}

namespace {
struct ScriptRunCase {
    const char *what;
    Reading reading;
    bool alphabetical, stepOverExtras, particles;
    bool commaLines = false, familyNameFirst = false;
    bool filedAs = false;
};
class ScriptRuns : public ::testing::TestWithParam<ScriptRunCase> {};
} // namespace

// A script's run of many names reads most of them into keys on a worker: it hands over
// exactly the names the window's run shows, in the same order, also those shown by
// their own text ("Last, First" lines, names tidied or with words stepped over).
TEST_P(ScriptRuns, ManyNamesGiveTheWindowsResults)
{
    const ScriptRunCase c = GetParam();
    QStringList names;
    const QStringList first = {"Ann", "Bo", "Émile", "Dr. Cy", "zoë"};
    const QStringList last = {"Lee", "de la Cruz", "Smith Jr.", "O'Neil", "lee ", "Kim Ph.D.", "van Dyke"};
    for (int i = 0; i < 140000; ++i) {
        const QString number = QString::number(i % 997);
        if (i % 11 == 0)
            names << last[(i / 5) % 7] + QStringLiteral(", ") + first[i % 5] + QLatin1Char(' ') + number;
        else if (i % 13 == 0)
            names << first[i % 5] + QStringLiteral("  ") + number + QLatin1Char(' ') + last[(i / 5) % 7];
        else
            names << first[i % 5] + QLatin1Char(' ') + number + QLatin1Char(' ') + last[(i / 5) % 7];
    }
    const auto configure = [&](SortFixture &f) {
        f.read(c.reading);
        f.controls.choices.order = c.alphabetical ? names::NameOrder::Alphabetical : names::NameOrder::Exact;
        f.controls.choices.stepOverExtras = c.stepOverExtras;
        f.controls.choices.keepParticles = c.particles;
        f.controls.choices.lastCommaFirst = c.commaLines;
        f.controls.choices.familyNameFirst = c.familyNameFirst;
        if (c.filedAs)
            f.controls.filed = std::make_shared<const names::FiledAsList>(QList<names::FiledAsEntry>{
                {"Bo 1 de la Cruz", "Aardvark", ""}, {"de la Cruz, Ann 0", "Zz", "Ann"}, {"Dr. Cy 8 Lee", "Lee", ""}});
        f.fillInput(names);
    };
    SortFixture window;
    configure(window);
    QStringList done;
    window.context.noteDone = [&done](const QString &what) { done << what; };
    window.run();

    SortFixture script;
    configure(script);
    QStringList handed;
    commands::SortCommand::Output output;
    output.take = [&handed](QStringView shown, const names::NameReading *) { handed << shown.toString(); };
    script.command.setOutput(std::move(output));
    QStringList scriptDone;
    script.context.noteDone = [&scriptDone](const QString &what) { scriptDone << what; };
    script.run();
    EXPECT_EQ(handed, window.results()) << c.what;
    EXPECT_TRUE(script.desktop.errorReports().empty()) << c.what;
    // The same word on names filed under an empty last name (" · 28000 names end with a
    // space…"), counted on both threads.
    ASSERT_EQ(done.size(), 1);
    ASSERT_EQ(scriptDone.size(), 1);
    EXPECT_EQ(scriptDone[0].section(QStringLiteral(" \u00B7 "), 1), done[0].section(QStringLiteral(" \u00B7 "), 1))
        << c.what;
    if (c.reading == Reading::LastWord)
        EXPECT_FALSE(done[0].section(QStringLiteral(" \u00B7 "), 1).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, ScriptRuns,
    ::testing::Values(ScriptRunCase{"last word", Reading::LastWord, false, false, false},
                      ScriptRunCase{"suffixes, particles", Reading::SkipSuffix, false, false, true},
                      ScriptRunCase{"first names", Reading::FirstLast, false, false, false},
                      ScriptRunCase{"alphabetical, stepping over", Reading::SkipSuffix, true, true, false},
                      ScriptRunCase{"commas, stepping over", Reading::SkipSuffix, false, true, true, true, true},
                      ScriptRunCase{"commas", Reading::LastWord, false, false, false, true},
                      ScriptRunCase{"filed as set", Reading::SkipSuffix, false, false, true, true, false, true},
                      ScriptRunCase{"filed as set, stepping over", Reading::FirstLast, true, true, false, false,
                                    false, true}));

// Memory that runs out while a script's run reads its names stops the run; the worker
// reading the last of them has finished before the run says that the input list may go
// (the command line then frees it), and asks nothing after that.
TEST(ScriptRuns, RunningOutOfMemoryWaitsForTheWorkerBeforeTheNamesGo)
{
    SortFixture f;
    QStringList names;
    for (int i = 0; i < 300000; ++i)
        names << QStringLiteral("Ann Lee%1").arg(i);
    f.fillInput(names);
    std::atomic<int> asked = 0;
    commands::SortCommand command{f.context, f.controls, [&](QStringView word) {
                                     ++asked;
                                     return f.liveSuffixes.IsSuffix(word);
                                 }};
    int askedWhenNamesWent = -1;
    commands::SortCommand::Output output;
    output.take = [](QStringView, const names::NameReading *) {};
    output.namesRead = [&] { askedWhenNamesWent = asked; };
    command.setOutput(std::move(output));
    f.desktop.atYield(2, [] { throw std::bad_alloc(); });
    command.run();
    ASSERT_EQ(f.desktop.errorReports().size(), 1u);
    EXPECT_TRUE(f.desktop.errorReports()[0].text.startsWith("Out of memory")) << f.desktop.errorReports()[0].text.toStdString();
    EXPECT_EQ(askedWhenNamesWent, asked.load());
}

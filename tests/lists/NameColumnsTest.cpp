// Which columns of a table hold the name: the guess from the first rows, the name each
// row gives, and the choice remembered for a header.
#include "core/ColumnChoice.h"
#include "lists/ColumnHeaders.h"
#include "lists/NameColumns.h"
#include "lists/RememberedColumns.h"
#include "support/MemorySettings.h"

#include <gtest/gtest.h>

using namespace orvella;
using namespace orvella::lists;
using namespace orvella::tables;
using core::ColumnChoice;
using Kind = core::ColumnChoice::Kind;
using orvella::testing::MemorySettings;

// A failed comparison shows the choice as the settings would store it.
namespace orvella::core {
void PrintTo(const ColumnChoice &choice, std::ostream *os)
{
    *os << lists::RememberedColumns::valueText(choice).toStdString();
}
} // namespace orvella::core

namespace {

ColumnChoice wholeName(int column, bool header)
{
    ColumnChoice choice;
    choice.kind = Kind::WholeName;
    choice.firstRowIsHeader = header;
    choice.wholeName = column;
    return choice;
}

ColumnChoice nameParts(int last, int first, int middle = -1, int suffix = -1)
{
    ColumnChoice choice;
    choice.kind = Kind::NameParts;
    choice.firstRowIsHeader = true;
    choice.lastName = last;
    choice.firstName = first;
    choice.middleName = middle;
    choice.suffix = suffix;
    return choice;
}

ColumnChoice filedUnder(int column, ColumnChoice choice)
{
    choice.filedAs = column;
    return choice;
}

ColumnChoice headerAt(int row, ColumnChoice choice)
{
    choice.firstRowIsHeader = true;
    choice.headerRow = row;
    return choice;
}

struct GuessCase {
    const char *label;
    QList<QStringList> rows;
    ColumnChoice expected;
};

class Guesses : public ::testing::TestWithParam<GuessCase> {};

TEST_P(Guesses, FindTheHeaderAndTheNameColumns)
{
    EXPECT_EQ(guessColumns(GetParam().rows), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Guesses,
    ::testing::Values(
        GuessCase{"English", {{"Email", "First Name", "Last Name"}, {"ann@lee.org", "Ann", "Lee"}}, nameParts(2, 1)},
        GuessCase{"GermanVornameAndName", {{"Vorname", "Name", "Ort"}, {"Hans", "Meier", "Bern"}}, nameParts(1, 0)},
        GuessCase{"EnglishNameBesideFirstIsTheWholeName",
                  {{"Name", "First name", "Email"}, {"Ann Lee", "Ann", "ann@lee.org"}}, wholeName(0, true)},
        GuessCase{"FrenchPrenomAndNom", {{"Nom", "Prénom"}, {"Dupont", "Marie"}}, nameParts(0, 1)},
        GuessCase{"SpanishNombreAndApellidos",
                  {{"Nombre", "Apellidos", "Teléfono"}, {"Ana", "García López", "911 234 567"}}, nameParts(1, 0)},
        GuessCase{"SnakeCaseWithMiddleAndSuffix",
                  {{"id", "first_name", "middle_name", "last_name", "name_suffix"}, {"1", "Martin", "Luther", "King", "Jr."}},
                  nameParts(3, 1, 2, 4)},
        GuessCase{"CaseAndPunctuationDoNotMatter", {{"SURNAME:", "FIRST-NAME"}, {"Lee", "Ann"}}, nameParts(0, 1)},
        GuessCase{"WholeNameWord", {{"Age", "Full name"}, {"41", "Ann Lee"}}, wholeName(1, true)},
        GuessCase{"LoneLastNameColumn", {{"Email", "Surname"}, {"a@b.org", "Lee"}}, wholeName(1, true)},
        GuessCase{"NoHeaderNamesInTheThirdColumn",
                  {{"1", "ann@lee.org", "Ann Lee"}, {"2", "bob@young.org", "Bob Young"}, {"3", "cy@ng.org", "Cy Ng"}},
                  wholeName(2, false)},
        GuessCase{"NoHeaderPlainNames", {{"Ann Lee"}, {"Bob Young"}, {"Cy Ng"}}, wholeName(0, false)},
        GuessCase{"UnknownHeaderOverNames",
                  {{"Table", "Guest"}, {"4", "Ann Lee"}, {"7", "Bob Young"}}, wholeName(1, true)},
        GuessCase{"FirstRowWhoseCellComesAgainIsData",
                  {{"Blue", "Madonna"}, {"Blue", "Ann Lee"}, {"Red", "Bob Young"}}, wholeName(1, false)},
        GuessCase{"NothingLooksLikeAName", {{"12", "34"}, {"56", "78"}}, wholeName(0, false)},
        GuessCase{"NoRows", {}, wholeName(0, false)},
        GuessCase{"TitleAndBlankRowAboveTheHeader",
                  {{"Fall 2026 Roster — Lincoln Middle School"}, {""},
                   {"Last Name", "First Name", "Middle Name", "Email"}, {"Smith, Jr.", "Bob", "Lee", "b@x.org"}},
                  headerAt(2, nameParts(0, 1, 2))},
        GuessCase{"TitleAboveAHeaderWithAnEmptyCaption",
                  {{"Roster"}, {"Last name", "First name", "", "Notes"}, {"Lee", "Ann", "7", "x"}},
                  headerAt(1, nameParts(0, 1))},
        GuessCase{"TitleAboveAnUnknownHeader",
                  {{"Guests", ""}, {"Table", "Guest"}, {"4", "Ann Lee"}, {"7", "Bob Young"}},
                  headerAt(1, wholeName(1, true))},
        GuessCase{"SortAsColumnBesideTheName",
                  {{"Name", "Sort as", "Email"}, {"Debbie Wasserman Schultz", "Wasserman Schultz", "d@x.org"}},
                  filedUnder(1, wholeName(0, true))},
        GuessCase{"SortiernameBesideTheParts",
                  {{"Vorname", "Nachname", "Sortiername"}, {"Ludwig", "van Beethoven", "Beethoven"}},
                  filedUnder(2, nameParts(1, 0))},
        GuessCase{"FileAsInAnotherSpelling", {{"FILE_AS", "Full name"}, {"Lee", "Ann Lee"}},
                  filedUnder(0, wholeName(1, true))},
        GuessCase{"DataAboveAHeaderWordIsNoTitle",
                  {{"Ann Lee", "x"}, {"Name", "y"}, {"Bob Young", "z"}}, wholeName(0, false)}),
    [](const auto &info) { return std::string(info.param.label); });

TEST(ColumnHeaders, WordsAreKnownInTheirManyForms)
{
    const struct {
        const char16_t *cell;
        HeaderRole role;
    } cases[] = {
        {u"first_name", HeaderRole::FirstName},     {u"FirstName", HeaderRole::FirstName},
        {u" Prenom ", HeaderRole::FirstName},       {u"Förnamn", HeaderRole::FirstName},
        {u"Nom de famille", HeaderRole::LastName},  {u"Apellido", HeaderRole::LastName},
        {u"Fullname", HeaderRole::WholeName},       {u"Vollständiger Name", HeaderRole::WholeName},
        {u"Zweiter Vorname", HeaderRole::MiddleName}, {u"Generation", HeaderRole::Suffix},
        {u"Email", HeaderRole::None},               {u"Names", HeaderRole::None},
        {u"Sort As", HeaderRole::FiledAs},          {u"sort_name", HeaderRole::FiledAs},
        {u"Sortiername", HeaderRole::FiledAs},      {u"Sorting", HeaderRole::None},
    };
    for (const auto &c : cases)
        EXPECT_EQ(headerRole(QStringView(c.cell)), c.role) << QString::fromUtf16(c.cell).toStdString();
}

struct RowCase {
    const char *label;
    QStringList cells;
    ColumnChoice choice;
    QString name;
    // The parts namePartsOf finds in the name, "last|given|suffix"; "" for none.
    QString parts = {};
};

class RowNames : public ::testing::TestWithParam<RowCase> {};

TEST_P(RowNames, RowGivesItsName)
{
    EXPECT_EQ(nameOfRow(GetParam().cells, GetParam().choice), GetParam().name);
    // The same row kept in a table, read the way a million rows are, after another
    // row has left its longer name in the text.
    TableRows table;
    table.appendRow(QStringList{QStringLiteral("a very long first cell"), QStringLiteral("Xx"), QStringLiteral("Yy"),
                                QStringLiteral("Zz")});
    table.appendRow(GetParam().cells);
    QString name;
    nameOfRowInto(name, table, 0, GetParam().choice);
    nameOfRowInto(name, table, 1, GetParam().choice);
    EXPECT_EQ(name, GetParam().name) << GetParam().label;

    // Taken apart again by the cells, whatever commas they hold.
    auto source = std::make_shared<SourceTable>();
    source->cells = std::move(table);
    source->columns = GetParam().choice;
    const std::optional<NameParts> parts = namePartsOf(name, NameRow{source, 1});
    const QString found =
        parts ? QStringList{parts->lastName.toString(), parts->given.toString(), parts->suffix.toString()}.join(u'|')
              : QString();
    EXPECT_EQ(found, GetParam().parts) << GetParam().label;
}

// Columns: last, first, middle, suffix.
const ColumnChoice kAllParts = nameParts(0, 1, 2, 3);

INSTANTIATE_TEST_SUITE_P(
    Table, RowNames,
    ::testing::Values(
        RowCase{"WholeNameWhiteSpaceCollapsed", {"x", " \tAnn   Lee \u00a0"}, wholeName(1, true), "Ann Lee"},
        RowCase{"WholeNamePastTheRowsEnd", {"x"}, wholeName(3, true), ""},
        RowCase{"AllParts", {"King", "Martin", "Luther", "Jr."}, kAllParts, "King, Martin Luther, Jr.",
                "King|Martin Luther|Jr."},
        RowCase{"NoSuffixColumn", {"King", "Martin", "Luther", "Jr."}, nameParts(0, 1, 2), "King, Martin Luther",
                "King|Martin Luther|"},
        RowCase{"PartsTrimmed", {" Smith ", "  Mary   Ann ", "", " "}, kAllParts, "Smith, Mary Ann",
                "Smith|Mary Ann|"},
        RowCase{"CommasInTheCells", {"Smith, Jr.", "Bob", "Lee", "Ph.D., M.D."}, kAllParts,
                "Smith, Jr., Bob Lee, Ph.D., M.D.", "Smith, Jr.|Bob Lee|Ph.D., M.D."},
        RowCase{"LastNameEndsInAComma", {"Lee,", "Al", "", ""}, kAllParts, "Lee,, Al", "Lee,|Al|"},
        RowCase{"UnicodeCells", {" \u00d3  Briain", "Se\u00e1n", "", ""}, kAllParts, "\u00d3 Briain, Se\u00e1n",
                "\u00d3 Briain|Se\u00e1n|"},
        RowCase{"NoLastName", {"", "John", "Paul", ""}, kAllParts, "John Paul"},
        RowCase{"NoLastNameWithSuffix", {"", "John", "", "Jr."}, kAllParts, "John Jr."},
        RowCase{"MiddleNameAlone", {"Smith", "", "Paul", ""}, kAllParts, "Smith, Paul", "Smith|Paul|"},
        RowCase{"LastNameAlone", {"Smith", "", "", ""}, kAllParts, "Smith", "Smith||"},
        RowCase{"LastNameAndSuffix", {"Smith, Jr.", "", "", "III"}, kAllParts, "Smith, Jr. III", "Smith, Jr.||III"},
        RowCase{"ShortRow", {"Smith"}, kAllParts, "Smith", "Smith||"},
        RowCase{"SuffixAlone", {"", "", "", "Jr."}, kAllParts, ""},
        RowCase{"AllEmpty", {"", " ", "", ""}, kAllParts, ""}),
    [](const auto &info) { return std::string(info.param.label); });

TEST(NameColumns, OnlyNamePartsReadAsCommaLines)
{
    ColumnChoice lines;
    lines.kind = Kind::Lines;
    EXPECT_TRUE(readsAsCommaLine(nameParts(0, 1)));
    EXPECT_FALSE(readsAsCommaLine(wholeName(0, true)));
    EXPECT_FALSE(readsAsCommaLine(lines));
}

TEST(RememberedColumns, ChoiceComesBackForTheSameHeader)
{
    MemorySettings settings;
    RememberedColumns remembered(settings);
    ColumnChoice choice = nameParts(2, 1, -1, 3);
    choice.dontAskAgain = true;
    remembered.remember({"Email", "First Name", "Last Name", "Suffix", ""}, choice);

    ASSERT_EQ(settings.values.size(), 1);
    EXPECT_TRUE(settings.values.firstKey().startsWith(QStringLiteral("NameColumns")));
    EXPECT_EQ(remembered.find({" email", "FIRST NAME ", "last name", "suffix"}), choice);
    EXPECT_EQ(remembered.find({"Email", "Last Name", "First Name", "Suffix"}), std::nullopt);
    EXPECT_EQ(remembered.find({"Email", "First Name Last Name", "Suffix"}), std::nullopt);

    const ColumnChoice whole = wholeName(0, true);
    remembered.remember({"Name"}, whole);
    EXPECT_EQ(remembered.find({"Name"}), whole);
    // A filing column is kept beside the name columns, and stored only when chosen.
    for (const QString &value : std::as_const(settings.values))
        EXPECT_FALSE(value.contains("filedas"));
    remembered.remember({"Name", "Sort as"}, filedUnder(1, whole));
    EXPECT_EQ(remembered.find({"Name", "Sort as"}), filedUnder(1, whole));
    EXPECT_EQ(remembered.find({"Name"}), whole);
    EXPECT_EQ(remembered.find({"Email", "First Name", "Last Name", "Suffix"}), choice);
}

// The header is known by its cells wherever it stands; forgetting takes every stored
// choice back, and what is remembered afterwards is found again.
TEST(RememberedColumns, FoundBelowATitleAndForgottenAllAtOnce)
{
    MemorySettings settings;
    RememberedColumns remembered(settings);
    const QStringList header{"Last", "First"};
    const ColumnChoice choice = nameParts(0, 1);
    remembered.remember(header, choice);
    EXPECT_EQ(remembered.findIn({{"Roster"}, {}, header, {"Lee", "Ann"}}), headerAt(2, choice));
    EXPECT_EQ(remembered.findIn({header}), choice);
    EXPECT_EQ(remembered.findIn({{"Roster"}, {"Lee", "Ann"}}), std::nullopt);

    remembered.forgetAll();
    EXPECT_EQ(remembered.find(header), std::nullopt);
    remembered.remember(header, choice);
    EXPECT_EQ(remembered.find(header), choice);
    remembered.forgetAll();
    EXPECT_EQ(remembered.find(header), std::nullopt);
}

TEST(RememberedColumns, TablesWithoutAHeaderAndCancelsAreNotRemembered)
{
    MemorySettings settings;
    RememberedColumns remembered(settings);
    remembered.remember({"Ann Lee"}, wholeName(0, false));
    ColumnChoice cancel = wholeName(0, true);
    cancel.kind = Kind::Cancel;
    remembered.remember({"Name"}, cancel);
    EXPECT_TRUE(settings.writes.isEmpty());
}

TEST(RememberedColumns, DamagedValuesAreIgnored)
{
    const QStringList header{"Last", "First", "Email"};
    const QString fits = QStringLiteral("kind=parts header=1 whole=-1 last=0 first=1 middle=-1 suffix=-1 ask=1");
    const struct {
        const char *label;
        QString value;
        bool found;
        bool grouped = false; // a grouping is kept with the columns
    } cases[] = {
        {"Fits", fits, true},
        {"Empty", "", false},
        {"NotFields", "whole 0 1", false},
        {"UnknownKind", QString(fits).replace("kind=parts", "kind=lucky"), false},
        {"ColumnNotANumber", QString(fits).replace("last=0", "last=x"), false},
        {"ColumnPastTheHeader", QString(fits).replace("first=1", "first=3"), false},
        {"ColumnBelowNone", QString(fits).replace("middle=-1", "middle=-2"), false},
        {"PartsWithoutALastName", QString(fits).replace("last=0", "last=-1"), false},
        {"FieldMissing", QString(fits).remove(" suffix=-1"), false},
        {"FieldTwice", fits + " last=2", false},
        {"AskNotATruth", QString(fits).replace("ask=1", "ask=7"), false},
        {"NoHeader", QString(fits).replace("header=1", "header=0"), false},
        {"Grouped", fits + " group=2 groups=natural same=name", true, true},
        {"SameRowsByAColumnOnly", fits + " group=-1 groups=first same=1", true, true},
        {"SameWholeRows", fits + " group=0 groups=first same=row", true, true},
        {"GroupPastTheHeader", fits + " group=3 groups=natural same=name", true},
        {"GroupNotANumber", fits + " group=Email groups=natural same=name", true},
        {"GroupOrderUnknown", fits + " group=0 groups=random same=name", true},
        {"SameUnknown", fits + " group=0 groups=natural same=email", true},
        {"SameColumnPastTheHeader", fits + " group=0 groups=natural same=3", true},
    };
    for (const auto &c : cases) {
        MemorySettings settings;
        settings.values.insert(RememberedColumns::keyFor(header), c.value);
        EXPECT_EQ(RememberedColumns(settings).find(header).has_value(), c.found) << c.label;
        EXPECT_EQ(RememberedColumns(settings).findGrouping(header).has_value(), c.grouped) << c.label;
    }
}

} // namespace

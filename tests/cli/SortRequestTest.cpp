// "orvella --sort" arguments: what each asks for, and what is refused as a usage error.

#include "cli/SortRequest.h"

#include <gtest/gtest.h>

#include <functional>

using namespace orvella::cli;
using Reading = SortRequest::Reading;
using Format = SortRequest::Format;
using Role = SortRequest::Role;
namespace core = orvella::core;

namespace {

QList<QByteArray> split(const char *arguments)
{
    QList<QByteArray> list;
    for (const QByteArray &part : QByteArray(arguments).split(' '))
        if (!part.isEmpty())
            list << part;
    return list;
}

struct Case {
    const char *arguments;
    std::function<bool(const SortRequest &)> holds;
};

TEST(SortArguments, EachOptionSetsItsChoiceAndNothingElse)
{
    const Case cases[] = {
        {"", [](const SortRequest &r) { return !r.defaults && !r.reading && r.files.isEmpty() && r.format == Format::List; }},
        {"--defaults a.txt - b.txt", [](const SortRequest &r) { return r.defaults && r.files == split("a.txt - b.txt"); }},
        {"--reading skip-suffixes", [](const SortRequest &r) { return r.reading == Reading::SkipSuffixes; }},
        {"--reading=first-word", [](const SortRequest &r) { return r.reading == Reading::FirstWord; }},
        {"--order alphabetical", [](const SortRequest &r) { return r.alphabetical == true; }},
        {"--order exact", [](const SortRequest &r) { return r.alphabetical == false; }},
        {"--particles --no-last-comma-first",
         [](const SortRequest &r) { return r.particles == true && r.lastCommaFirst == false && !r.removeDuplicates; }},
        {"--no-particles --particles", [](const SortRequest &r) { return r.particles == true; }},
        {"--step-over-extras --no-family-name-first",
         [](const SortRequest &r) {
             return r.stepOverExtras == true && r.familyNameFirst == false && !r.learnLastNames && !r.particles;
         }},
        {"--learn-last-names --no-learn-last-names", [](const SortRequest &r) { return r.learnLastNames == false; }},
        {"--two-family-names", [](const SortRequest &r) { return r.twoFamilyNames == true && !r.learnLastNames; }},
        {"--no-two-family-names", [](const SortRequest &r) { return r.twoFamilyNames == false && !r.noFiledAs; }},
        {"--filed-as-list=f.txt", [](const SortRequest &r) { return r.filedAsFile == "f.txt" && !r.noFiledAs; }},
        {"--no-filed-as", [](const SortRequest &r) { return r.noFiledAs && !r.filedAsFile && !r.twoFamilyNames; }},
        {"--likely-duplicates", [](const SortRequest &r) { return r.likelyDuplicates && r.format == Format::List; }},
        {"--remove-duplicates --no-unique-last-names",
         [](const SortRequest &r) { return r.removeDuplicates == true && r.uniqueLastNames == false; }},
        {"--per-last-name 3", [](const SortRequest &r) { return r.perLastName == true && r.perLastNameCount == "3"; }},
        {"--per-last-name 32767", [](const SortRequest &r) { return r.perLastNameCount == "32767"; }},
        {"--per-last-name=0", [](const SortRequest &r) { return r.perLastName == true && r.perLastNameCount == "0"; }},
        {"--no-per-last-name", [](const SortRequest &r) { return r.perLastName == false; }},
        {"--explain --crlf", [](const SortRequest &r) { return r.format == Format::Explain && r.crlf; }},
        {"--format csv --filed-under", [](const SortRequest &r) { return r.format == Format::Csv && r.filedUnder; }},
        {"--format=tsv", [](const SortRequest &r) { return r.format == Format::Tsv && !r.filedUnder; }},
        {"--format xlsx -o a.xlsx", [](const SortRequest &r) { return r.format == Format::Xlsx && r.output == "a.xlsx"; }},
        {"--format ods --output=a.ods", [](const SortRequest &r) { return r.format == Format::Ods && r.output == "a.ods"; }},
        {"--columns last=Surname,first=2,suffix=Sfx --header-row 3",
         [](const SortRequest &r) {
             return r.headerRow == 3 && r.columns.size() == 3 && r.columns[0].role == Role::LastName &&
                    r.columns[0].column == "Surname" && r.columns[1].role == Role::FirstName &&
                    r.columns[1].column == "2" && r.columns[2].role == Role::Suffix;
         }},
        {"--columns=name=Full --header-row=0",
         [](const SortRequest &r) {
             return r.headerRow == 0 && r.columns.size() == 1 && r.columns[0].role == Role::WholeName &&
                    r.columns[0].column == "Full";
         }},
        {"--format pdf -o a.pdf --layout badges --title Class --paper-columns=First|Homeroom",
         [](const SortRequest &r) {
             return r.format == Format::Pdf && r.layout == orvella::core::PaperLayout::Badges && r.title == "Class" &&
                    r.paperColumns == QStringList({"First", "Homeroom"});
         }},
        {"--format table -o out.txt", [](const SortRequest &r) { return r.format == Format::Table && r.output == "out.txt"; }},
        {"--suffixes s.txt --particle-list p.txt --title-list=t.txt",
         [](const SortRequest &r) {
             return r.suffixFile == "s.txt" && r.particleFile == "p.txt" && r.titleFile == "t.txt";
         }},
        // After "--" every argument is a file, even one that looks like an option.
        {"-- --defaults -x", [](const SortRequest &r) { return !r.defaults && r.files == split("--defaults -x"); }},
        {"--group-by Homeroom --group-order first --same-rows-by row",
         [](const SortRequest &r) {
             return r.groupBy == "Homeroom" && r.groupOrder == core::RowGrouping::Order::FirstMet &&
                    r.sameRowsBy == "row" && !r.nameColumns && !r.delimiter;
         }},
        {"--group-by=3 --same-rows-by=Email", [](const SortRequest &r) { return r.groupBy == "3" && r.sameRowsBy == "Email" && !r.groupOrder; }},
        {"--format csv --name-columns first,last-first --delimiter ; --encoding windows-1252 --no-formula-protection",
         [](const SortRequest &r) {
             std::array<bool, core::kNameColumnCount> columns{};
             columns[size_t(core::NameColumn::FirstName)] = columns[size_t(core::NameColumn::LastFirst)] = true;
             return r.nameColumns == columns && r.delimiter == u';' && r.encoding == core::TextEncoding::Windows1252 &&
                    !r.protectFormulas && !r.groupBy;
         }},
        {"--format csv --delimiter tab --encoding utf-8",
         [](const SortRequest &r) { return r.delimiter == u'\t' && r.encoding == core::TextEncoding::Utf8 && r.protectFormulas; }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments);
        EXPECT_TRUE(c.holds(parseSortArguments(split(c.arguments))));
    }
}

TEST(SortArguments, MistakesAreUsageErrorsThatNameTheArgument)
{
    const std::pair<const char *, const char *> cases[] = {
        {"--bogus", "--bogus"},
        {"--group-by 0", "--group-by takes a column's header caption or its number from 1, not \"0\""},
        {"--same-rows-by=", "--same-rows-by takes a column's header caption"},
        {"--group-order alphabetical", "--group-order takes first|natural, not \"alphabetical\""},
        {"--name-columns first,given", "--name-columns takes title,first,middle,last,suffix,nickname,last-first,filed-under"},
        {"--format csv --delimiter pipe", "--delimiter takes comma|semicolon|tab|,|;, not \"pipe\""},
        {"--format tsv --delimiter comma", "--delimiter is for --format csv"},
        {"--encoding latin1", "--encoding takes utf-8-bom|utf-8|windows-1252, not \"latin1\""},
        {"--no-formula-protection=1", "--no-formula-protection takes no value"},
        {"--reading lastword", "lastword"},
        {"--order", "--order needs a value"},
        {"--format pdf", "--format pdf writes a PDF document, which needs -o FILE"},
        {"--format png", "--format takes csv|list|ods|pdf|table|tsv|xlsx, not \"png\""},
        {"--layout badges -o a.csv", "--layout, --title and --paper-columns go with --format pdf"},
        {"--format pdf -o a.pdf --layout cards", "--layout takes badges|list, not \"cards\""},
        // A workbook is no text for standard output.
        {"--format xlsx", "--format xlsx writes a workbook, which needs -o FILE"},
        {"--format ods a.ods", "--format ods writes a workbook"},
        {"--columns surname=A,first=B", "--columns takes first|last|middle|name|suffix, not \"surname\""},
        {"--columns last=A", "--columns takes name=COLUMN alone"},
        {"--columns middle=A,first=B", "--columns takes name=COLUMN alone"},
        {"--columns name=A,last=B", "--columns takes name=COLUMN alone"},
        {"--columns last=A,first=B,last=C", "--columns names a role twice"},
        {"--columns name=0", "--columns counts columns from 1"},
        {"--columns name=", "--columns takes ROLE=COLUMN pairs"},
        {"--columns last=A,,first=B", "--columns takes ROLE=COLUMN pairs"},
        {"--columns", "--columns needs a value"},
        {"--header-row 21", "--header-row takes a row number from 1 to 20 (0: no header row), not \"21\""},
        {"--header-row -1", "not \"-1\""},
        {"--header-row two", "not \"two\""},
        {"--filed-under=yes", "--filed-under takes no value"},
        {"--per-last-name many", "many"},
        {"--per-last-name -1", "-1"},
        // The sort keeps the number in 16 bits: a larger one would fail it.
        {"--per-last-name 32768", "from 0 to 32767, not \"32768\""},
        {"--per-last-name 99999", "99999"},
        {"--no-reading", "--no-reading"},
        {"--defaults=yes", "--defaults takes no value"},
        {"--no-particles=1", "--no-particles takes no value"},
        {"--step-over-extras=yes", "--step-over-extras takes no value"},
        {"--title-list", "--title-list needs a value"},
        {"--filed-as-list", "--filed-as-list needs a value"},
        {"--no-filed-as=1", "--no-filed-as takes no value"},
    };
    for (const auto &[arguments, named] : cases) {
        SCOPED_TRACE(arguments);
        try {
            parseSortArguments(split(arguments));
            ADD_FAILURE() << "accepted";
        } catch (const UsageError &error) {
            EXPECT_TRUE(error.message.contains(QLatin1String(named))) << error.message.toStdString();
        }
    }
}

} // namespace

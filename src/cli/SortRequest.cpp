#include "cli/SortRequest.h"

#include <QFile>
#include <functional>
#include <map>

namespace orvella::cli {
namespace {

using Reading = SortRequest::Reading;
using Format = SortRequest::Format;
using Role = SortRequest::Role;

const std::map<QByteArray, Reading> kReadings = {
    {"last-word", Reading::LastWord}, {"skip-suffixes", Reading::SkipSuffixes}, {"first-word", Reading::FirstWord}};
const std::map<QByteArray, bool> kOrders = {{"exact", false}, {"alphabetical", true}};
const std::map<QByteArray, Format> kFormats = {{"list", Format::List}, {"table", Format::Table},
                                               {"csv", Format::Csv},   {"tsv", Format::Tsv},
                                               {"xlsx", Format::Xlsx}, {"ods", Format::Ods},
                                               {"pdf", Format::Pdf}};
const std::map<QByteArray, core::PaperLayout> kLayouts = {{"list", core::PaperLayout::List},
                                                          {"badges", core::PaperLayout::Badges}};
// The roles of --columns, as the column dialog names its boxes.
const std::map<QByteArray, Role> kRoles = {{"name", Role::WholeName},   {"last", Role::LastName},
                                           {"first", Role::FirstName},  {"middle", Role::MiddleName},
                                           {"suffix", Role::Suffix}};

// The column dialog offers the first rows of a table as its header row.
constexpr int kMostHeaderRow = 20;

QString text(const QByteArray &bytes)
{
    return QFile::decodeName(bytes);
}

template<typename Value>
Value oneOf(const std::map<QByteArray, Value> &values, const QByteArray &option, const QByteArray &given)
{
    const auto found = values.find(given);
    if (found == values.end()) {
        QStringList names;
        for (const auto &[name, value] : values)
            names << QString::fromLatin1(name);
        throw UsageError{QStringLiteral("%1 takes %2, not \"%3\"")
                             .arg(QString::fromLatin1(option), names.join(QLatin1Char('|')), text(given))};
    }
    return found->second;
}

// The on/off choices: "--NAME" switches one on, "--no-NAME" off.
const std::map<QByteArray, std::optional<bool> SortRequest::*> kSwitches = {
    {"last-comma-first", &SortRequest::lastCommaFirst},
    {"particles", &SortRequest::particles},
    {"step-over-extras", &SortRequest::stepOverExtras},
    {"family-name-first", &SortRequest::familyNameFirst},
    {"learn-last-names", &SortRequest::learnLastNames},
    {"two-family-names", &SortRequest::twoFamilyNames},
    {"remove-duplicates", &SortRequest::removeDuplicates},
    {"unique-last-names", &SortRequest::uniqueLastNames}};

// The most names per last name: the sort keeps the number as a 16-bit whole number, and
// a larger one fails it.
constexpr int kMostPerLastName = 32767;

bool isCountPerLastName(const QByteArray &text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= 0 && value <= kMostPerLastName && text.size() <= 5;
}

// "last=Surname,first=Given" or "name=Full name": a whole-name column alone, or a
// last-name and a first-name column with a middle-name and a suffix one if wanted.
QList<SortRequest::ColumnPick> columnPicks(const QByteArray &given)
{
    const auto refuse = [&](const QString &why) {
        throw UsageError{QStringLiteral("--columns %1: \"%2\"").arg(why, text(given))};
    };
    QList<SortRequest::ColumnPick> picks;
    std::map<Role, int> count;
    for (const QByteArray &part : given.split(',')) {
        const qsizetype equals = part.indexOf('=');
        if (equals <= 0 || equals == part.size() - 1)
            refuse(QStringLiteral("takes ROLE=COLUMN pairs between commas"));
        const Role role = oneOf(kRoles, "--columns", part.left(equals));
        const QString column = text(part.mid(equals + 1));
        bool number = false;
        if (column.toInt(&number) < 1 && number)
            refuse(QStringLiteral("counts columns from 1"));
        if (++count[role] > 1)
            refuse(QStringLiteral("names a role twice"));
        picks.append({role, column});
    }
    const bool whole = count.count(Role::WholeName) > 0;
    const bool parts = count.count(Role::LastName) > 0 && count.count(Role::FirstName) > 0;
    if (whole ? picks.size() > 1 : !parts)
        refuse(QStringLiteral("takes name=COLUMN alone, or last=COLUMN and first=COLUMN (middle and suffix if wanted)"));
    return picks;
}

int headerRow(const QByteArray &given)
{
    bool ok = false;
    const int row = given.toInt(&ok);
    if (!ok || row < 0 || row > kMostHeaderRow || given.size() > 2)
        throw UsageError{QStringLiteral("--header-row takes a row number from 1 to %1 (0: no header row), not \"%2\"")
                             .arg(kMostHeaderRow)
                             .arg(text(given))};
    return row;
}

void perLastName(SortRequest &request, const QByteArray &count)
{
    if (!isCountPerLastName(count))
        throw UsageError{QStringLiteral("--per-last-name takes a whole number from 0 to %1, not \"%2\"")
                             .arg(kMostPerLastName)
                             .arg(text(count))};
    request.perLastName = true;
    request.perLastNameCount = QString::fromLatin1(count);
}

// A value read by one of the export options' parse helpers; a UsageError naming the
// words it takes for any other.
template<typename Value>
Value exportWord(std::optional<Value> parsed, const char *option, const char *words, const QByteArray &given)
{
    if (!parsed)
        throw UsageError{QStringLiteral("%1 takes %2, not \"%3\"").arg(QLatin1String(option), QLatin1String(words), text(given))};
    return *parsed;
}

// A column named by its caption or its number from 1.
QString columnName(const char *option, const QByteArray &given)
{
    bool number = false;
    const int value = given.toInt(&number);
    if (given.trimmed().isEmpty() || (number && value < 1))
        throw UsageError{QStringLiteral("%1 takes a column's header caption or its number from 1, not \"%2\"")
                             .arg(QLatin1String(option), text(given))};
    return text(given);
}

const std::map<QByteArray, core::RowGrouping::Order> kGroupOrders = {
    {"natural", core::RowGrouping::Order::Natural}, {"first", core::RowGrouping::Order::FirstMet}};

using Flag = std::function<void(SortRequest &)>;
using Valued = std::function<void(SortRequest &, const QByteArray &value)>;

// The options without a value, by name ("-h" and "-o" are read as their long names).
const std::map<QByteArray, Flag> kFlags = {
    {"--help", [](SortRequest &r) { r.help = true; }},
    {"--version", [](SortRequest &r) { r.version = true; }},
    {"--defaults", [](SortRequest &r) { r.defaults = true; }},
    {"--explain", [](SortRequest &r) { r.format = Format::Explain; }},
    {"--filed-under", [](SortRequest &r) { r.filedUnder = true; }},
    {"--crlf", [](SortRequest &r) { r.crlf = true; }},
    {"--no-per-last-name", [](SortRequest &r) { r.perLastName = false; }},
    {"--no-formula-protection", [](SortRequest &r) { r.protectFormulas = false; }},
    {"--no-filed-as", [](SortRequest &r) { r.noFiledAs = true; }},
    {"--likely-duplicates", [](SortRequest &r) { r.likelyDuplicates = true; }},
};

// The options that take a value ("--option value" or "--option=value").
const std::map<QByteArray, Valued> kValued = {
    {"--reading", [](SortRequest &r, const QByteArray &v) { r.reading = oneOf(kReadings, "--reading", v); }},
    {"--order", [](SortRequest &r, const QByteArray &v) { r.alphabetical = oneOf(kOrders, "--order", v); }},
    {"--format", [](SortRequest &r, const QByteArray &v) { r.format = oneOf(kFormats, "--format", v); }},
    {"--output", [](SortRequest &r, const QByteArray &v) { r.output = v; }},
    {"--suffixes", [](SortRequest &r, const QByteArray &v) { r.suffixFile = v; }},
    {"--particle-list", [](SortRequest &r, const QByteArray &v) { r.particleFile = v; }},
    {"--title-list", [](SortRequest &r, const QByteArray &v) { r.titleFile = v; }},
    {"--filed-as-list", [](SortRequest &r, const QByteArray &v) { r.filedAsFile = v; }},
    {"--per-last-name", perLastName},
    {"--columns", [](SortRequest &r, const QByteArray &v) { r.columns = columnPicks(v); }},
    {"--header-row", [](SortRequest &r, const QByteArray &v) { r.headerRow = headerRow(v); }},
    {"--layout", [](SortRequest &r, const QByteArray &v) { r.layout = oneOf(kLayouts, "--layout", v); }},
    {"--title", [](SortRequest &r, const QByteArray &v) { r.title = QString::fromLocal8Bit(v); }},
    {"--paper-columns",
     [](SortRequest &r, const QByteArray &v) { r.paperColumns = core::parseColumnsWords(QString::fromLocal8Bit(v)); }},
    {"--group-by", [](SortRequest &r, const QByteArray &v) { r.groupBy = columnName("--group-by", v); }},
    {"--group-order",
     [](SortRequest &r, const QByteArray &v) { r.groupOrder = oneOf(kGroupOrders, "--group-order", v); }},
    {"--same-rows-by", [](SortRequest &r, const QByteArray &v) { r.sameRowsBy = columnName("--same-rows-by", v); }},
    {"--name-columns",
     [](SortRequest &r, const QByteArray &v) {
         r.nameColumns = exportWord(core::parseNameColumns(text(v)), "--name-columns",
                                    "title,first,middle,last,suffix,nickname,last-first,filed-under", v);
     }},
    {"--delimiter",
     [](SortRequest &r, const QByteArray &v) {
         r.delimiter = exportWord(core::parseDelimiter(text(v)), "--delimiter", "comma|semicolon|tab|,|;", v);
     }},
    {"--encoding",
     [](SortRequest &r, const QByteArray &v) {
         r.encoding = exportWord(core::parseEncoding(text(v)), "--encoding", "utf-8-bom|utf-8|windows-1252", v);
     }},
};

// The on/off switches as flags: "--particles" and "--no-particles".
Flag switchFlag(const QByteArray &option)
{
    const bool off = option.startsWith("--no-");
    const auto found = kSwitches.find(option.mid(off ? 5 : 2));
    if (!option.startsWith("--") || found == kSwitches.end())
        return {};
    return [member = found->second, off](SortRequest &r) { r.*member = !off; };
}

// Choices that do not go together, found once every argument is read.
void checkTogether(const SortRequest &request)
{
    const bool workbook = request.format == Format::Xlsx || request.format == Format::Ods;
    if (workbook && !request.output)
        throw UsageError{QStringLiteral("--format %1 writes a workbook, which needs -o FILE (not standard output)")
                             .arg(request.format == Format::Xlsx ? QStringLiteral("xlsx") : QStringLiteral("ods"))};
    if (request.format == Format::Pdf && !request.output)
        throw UsageError{QStringLiteral("--format pdf writes a PDF document, which needs -o FILE (not standard output)")};
    const bool paperChoice = request.layout || request.title || !request.paperColumns.isEmpty();
    if (paperChoice && request.format != Format::Pdf)
        throw UsageError{QStringLiteral("--layout, --title and --paper-columns go with --format pdf")};
    if (request.delimiter && request.format != Format::Csv)
        throw UsageError{QStringLiteral("--delimiter is for --format csv (a TSV file has TAB, a workbook none)")};
}

} // namespace

SortRequest parseSortArguments(const QList<QByteArray> &arguments)
{
    SortRequest request;
    bool onlyFiles = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QByteArray argument = arguments[i];
        if (onlyFiles || argument == "-" || !argument.startsWith('-')) {
            request.files << argument;
            continue;
        }
        if (argument == "--") {
            onlyFiles = true;
            continue;
        }
        // "--option=value" or "--option value".
        std::optional<QByteArray> value;
        if (const qsizetype equals = argument.indexOf('='); argument.startsWith("--") && equals > 0) {
            value = argument.mid(equals + 1);
            argument.truncate(equals);
        }
        if (argument == "-h" || argument == "-o")
            argument = argument == "-h" ? "--help" : "--output";
        if (const auto valued = kValued.find(argument); valued != kValued.end()) {
            if (!value && i + 1 >= arguments.size())
                throw UsageError{QStringLiteral("%1 needs a value").arg(text(arguments[i]))};
            valued->second(request, value ? *value : arguments[++i]);
            continue;
        }
        const auto flag = kFlags.find(argument);
        const Flag set = flag != kFlags.end() ? flag->second : switchFlag(argument);
        if (!set)
            throw UsageError{QStringLiteral("unknown option %1").arg(text(argument))};
        if (value)
            throw UsageError{QStringLiteral("%1 takes no value").arg(text(argument))};
        set(request);
    }
    checkTogether(request);
    return request;
}

QString sortUsageLine()
{
    return QStringLiteral("usage: orvella --sort [OPTIONS] [FILE...]   (orvella --sort --help lists the options)");
}

namespace {
// The help's usage lines and choices.
QString sortHelpChoices()
{
    return QStringLiteral(
        "Usage: orvella --sort [OPTIONS] [FILE...]\n"
        "Sorts the names in the files (one a line; standard input when there is none, or for -)\n"
        "exactly as the Orvella window would, and writes the results to standard output.\n"
        "A .csv, .tsv, .xlsx or .ods file gives the names of its rows, by the columns the\n"
        "window remembered for its header, else by the columns its header names.\n"
        "Without options the command uses the choices stored by the window.\n"
        "\n"
        "Choices:\n"
        "  --defaults                 ignore the stored choices\n"
        "  --reading READING          last-word, skip-suffixes (step over suffixes such as\n"
        "                             \"Jr.\") or first-word\n"
        "  --order ORDER              exact (character codes) or alphabetical (language-aware)\n"
        "  --last-comma-first         read \"Last, First\" lines as such (--no-last-comma-first)\n"
        "  --particles                keep particles such as \"van\" with the last name\n"
        "                             (--no-particles)\n"
        "  --step-over-extras         step over titles such as \"Dr.\", nicknames and extra\n"
        "                             suffixes (--no-step-over-extras)\n"
        "  --family-name-first        read names in Chinese, Japanese or Korean script family\n"
        "                             name first (--no-family-name-first)\n"
        "  --learn-last-names         learn last names from the \"Last, First\" lines of the\n"
        "                             input (--no-learn-last-names)\n"
        "  --two-family-names         file a name of four or more words under its last two\n"
        "                             when both are capitalised and no particles, as Spanish\n"
        "                             and Portuguese names file (\"Maria Jose Garcia Perez\"\n"
        "                             under \"Garcia Perez\"); a name of three words stays as it\n"
        "                             is (--no-two-family-names)\n"
        "  --remove-duplicates        drop names entered twice (--no-remove-duplicates)\n"
        "  --unique-last-names        keep one name per last name (--no-unique-last-names)\n"
        "  --per-last-name N          keep at most N (0-32767) names per last name\n"
        "                             (--no-per-last-name)\n"
        "  --suffixes FILE            the suffixes to step over, one a line\n"
        "  --particle-list FILE       the particles, one a line\n"
        "  --title-list FILE          the titles, one a line\n"
        "  --filed-as-list FILE       the Filed-As list, one entry a line: the name, a TAB,\n"
        "                             the words to file it under (UTF-8); it comes before\n"
        "                             every other rule\n"
        "  --no-filed-as              sort without the stored Filed-As list\n"
        "\n");
}

// The rest of the help: tables, output, examples and the exit status.
QString sortHelpOutput()
{
    return QStringLiteral(
        "Tables:\n"
        "  --columns COLUMNS          the name columns, as Choose Name Columns picks them:\n"
        "                             name=COLUMN for a whole name, or last=COLUMN,first=COLUMN\n"
        "                             with middle=COLUMN and suffix=COLUMN if wanted; a COLUMN\n"
        "                             is its header caption or its number, counted from 1\n"
        "  --header-row N             row N (1-20) holds the header, the rows above it are a\n"
        "                             title kept above it; 0: no header row\n"
        "  --group-by COLUMN          group the rows by the cells of COLUMN (its header caption\n"
        "                             or its number from 1), each group sorted by name; names\n"
        "                             without a row (and rows with an empty cell) come last\n"
        "  --group-order ORDER        natural (numbers by value: 7B before 10A, the default) or\n"
        "                             first (groups in the order the rows first show them)\n"
        "  --same-rows-by WHAT        what --remove-duplicates compares in table rows: name (the\n"
        "                             default), row (every cell) or a COLUMN (Email, Order no.)\n"
        "\n"
        "Output:\n"
        "  --format FORMAT            list (one name a line, the default), table (as Save\n"
        "                             Results As Text File writes it), or csv, tsv, xlsx or ods\n"
        "                             (as Export Results writes it: a table's rows whole, under\n"
        "                             its header and title; names from no table under \"Name\";\n"
        "                             xlsx and ods need -o); tsv of names from no table is\n"
        "                             --explain\n"
        "  --format pdf               the results on pages, as the window prints them (needs -o)\n"
        "  --layout LAYOUT            pdf: list (the default) or badges (name badges)\n"
        "  --title TITLE              pdf: the list's title (default: the first file's name)\n"
        "  --paper-columns COLUMNS    pdf: a list's columns, their captions between \"|\" (name\n"
        "                             parts such as \"Last, First\" or \"First name\", or a\n"
        "                             table's own columns); default \"Last, First\"\n"
        "  --explain                  the name, what it was sorted under and the rest, TAB\n"
        "                             between\n"
        "  --filed-under              csv, tsv, xlsx and ods: a first column \"Filed under\"\n"
        "  --name-columns PARTS       csv, tsv, xlsx and ods: the name's parts in columns of their\n"
        "                             own, first, in this order: title, first, middle, last,\n"
        "                             suffix, nickname, last-first, filed-under (comma between)\n"
        "  --delimiter DELIMITER      csv: comma, semicolon or tab (also , and ;); by default\n"
        "                             the source table's when it was a CSV or TSV, else comma\n"
        "  --encoding ENCODING        csv and tsv: utf-8-bom (the default), utf-8 or windows-1252\n"
        "                             (refused, naming the row, when a character does not fit)\n"
        "  --no-formula-protection    csv and tsv: write cells starting with = + - @ as they are\n"
        "                             (by default they get a leading apostrophe, numbers excepted)\n"
        "  --likely-duplicates        do not sort: list the groups of names that are probably\n"
        "                             one person (the same words in another order, only case,\n"
        "                             accents or spacing, a title, suffix or nickname apart, a\n"
        "                             common nickname), one name a line: the group's number,\n"
        "                             the reason, the name and its place in the input, TAB\n"
        "                             between; nothing is removed\n"
        "  --crlf                     end lines with CR LF in the list and --explain formats\n"
        "                             and with --likely-duplicates\n"
        "  -o, --output FILE          write the results to FILE (whole or not at all)\n"
        "  -h, --help                 show this text\n"
        "  --version                  show the version\n"
        "\n"
        "Examples:\n"
        "  orvella --sort --format list names.txt > sorted.txt\n"
        "  orvella --sort --format table -o sorted.txt names.txt\n"
        "  orvella --sort --explain names.txt\n"
        "  orvella --sort --format csv staff.csv > sorted.csv\n"
        "  orvella --sort --format tsv --filed-under staff.tsv > sorted.tsv\n"
        "  orvella --sort --format xlsx --columns last=Surname,first=Given -o sorted.xlsx staff.xlsx\n"
        "  orvella --sort --format ods --header-row 3 --columns name=2 -o sorted.ods staff.ods\n"
        "  orvella --sort --format pdf --layout badges -o badges.pdf guests.csv\n"
        "  orvella --sort --format csv --group-by Homeroom --name-columns first,last roster.csv\n"
        "  orvella --sort --format csv --delimiter semicolon --encoding windows-1252 members.csv\n"
        "  orvella --sort --format csv --remove-duplicates --same-rows-by Email orders.csv\n"
        "\n"
        "Exit status: 0 when every input was read and the results written; 1 when an input\n"
        "could not be read or the results could not be written; 2 for a usage error, and for\n"
        "--columns, --header-row, --group-by or --same-rows-by naming a column or row that a\n"
        "table does not have.\n");
}
} // namespace

QString sortHelpText()
{
    return sortHelpChoices() + sortHelpOutput();
}

} // namespace orvella::cli

#include "cli/SortRequest.h"

#include <QFile>
#include <functional>
#include <map>

namespace orvella::cli {
namespace {

using Reading = SortRequest::Reading;
using Format = SortRequest::Format;

const std::map<QByteArray, Reading> kReadings = {
    {"last-word", Reading::LastWord}, {"skip-suffixes", Reading::SkipSuffixes}, {"first-word", Reading::FirstWord}};
const std::map<QByteArray, bool> kOrders = {{"exact", false}, {"alphabetical", true}};
const std::map<QByteArray, Format> kFormats = {
    {"list", Format::List}, {"table", Format::Table}, {"tsv", Format::Tsv}};

template<typename Value>
Value oneOf(const std::map<QByteArray, Value> &values, const QByteArray &option, const QByteArray &given)
{
    const auto found = values.find(given);
    if (found == values.end()) {
        QStringList names;
        for (const auto &[name, value] : values)
            names << QString::fromLatin1(name);
        throw UsageError{QStringLiteral("%1 takes %2, not \"%3\"")
                             .arg(QString::fromLatin1(option), names.join(QLatin1Char('|')), QFile::decodeName(given))};
    }
    return found->second;
}

// The on/off choices: "--NAME" switches one on, "--no-NAME" off.
std::map<QByteArray, std::optional<bool> SortRequest::*> switches()
{
    return {{"last-comma-first", &SortRequest::lastCommaFirst},
            {"particles", &SortRequest::particles},
            {"step-over-extras", &SortRequest::stepOverExtras},
            {"family-name-first", &SortRequest::familyNameFirst},
            {"learn-last-names", &SortRequest::learnLastNames},
            {"remove-duplicates", &SortRequest::removeDuplicates},
            {"unique-last-names", &SortRequest::uniqueLastNames}};
}

// The most names per last name: the sort keeps the number as a 16-bit whole number, and
// a larger one fails it.
constexpr int kMostPerLastName = 32767;

bool isCountPerLastName(const QByteArray &text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= 0 && value <= kMostPerLastName && text.size() <= 5;
}

} // namespace

SortRequest parseSortArguments(const QList<QByteArray> &arguments)
{
    SortRequest request;
    const auto switchOptions = switches();
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
        QByteArray value;
        bool hasValue = false;
        if (const qsizetype equals = argument.indexOf('='); argument.startsWith("--") && equals > 0) {
            value = argument.mid(equals + 1);
            argument.truncate(equals);
            hasValue = true;
        }
        const auto takeValue = [&]() -> QByteArray {
            if (hasValue)
                return value;
            if (i + 1 >= arguments.size())
                throw UsageError{QStringLiteral("%1 needs a value").arg(QString::fromLatin1(argument))};
            return arguments[++i];
        };
        const QByteArray name = argument.startsWith("--") ? argument.mid(2) : QByteArray();
        if (argument == "-h" || argument == "--help") {
            request.help = true;
        } else if (argument == "--version") {
            request.version = true;
        } else if (argument == "--defaults") {
            request.defaults = true;
        } else if (argument == "--reading") {
            request.reading = oneOf(kReadings, argument, takeValue());
        } else if (argument == "--order") {
            request.alphabetical = oneOf(kOrders, argument, takeValue());
        } else if (argument == "--format") {
            request.format = oneOf(kFormats, argument, takeValue());
        } else if (argument == "--explain") {
            request.format = Format::Tsv;
        } else if (argument == "--crlf") {
            request.crlf = true;
        } else if (argument == "-o" || argument == "--output") {
            request.output = takeValue();
        } else if (argument == "--suffixes") {
            request.suffixFile = takeValue();
        } else if (argument == "--particle-list") {
            request.particleFile = takeValue();
        } else if (argument == "--title-list") {
            request.titleFile = takeValue();
        } else if (argument == "--per-last-name") {
            const QByteArray count = takeValue();
            if (!isCountPerLastName(count))
                throw UsageError{QStringLiteral("--per-last-name takes a whole number from 0 to %1, not \"%2\"")
                                     .arg(kMostPerLastName)
                                     .arg(QFile::decodeName(count))};
            request.perLastName = true;
            request.perLastNameCount = QString::fromLatin1(count);
        } else if (argument == "--no-per-last-name") {
            request.perLastName = false;
        } else if (switchOptions.count(name)) {
            request.*switchOptions.at(name) = true;
        } else if (name.startsWith("no-") && switchOptions.count(name.mid(3))) {
            request.*switchOptions.at(name.mid(3)) = false;
        } else {
            throw UsageError{QStringLiteral("unknown option %1").arg(QFile::decodeName(argument))};
        }
        if (hasValue && (argument == "--help" || argument == "--version" || argument == "--defaults" ||
                         argument == "--explain" || argument == "--crlf" || switchOptions.count(name) ||
                         name.startsWith("no-")))
            throw UsageError{QStringLiteral("%1 takes no value").arg(QString::fromLatin1(argument))};
    }
    return request;
}

QString sortUsageLine()
{
    return QStringLiteral("usage: orvella --sort [OPTIONS] [FILE...]   (orvella --sort --help lists the options)");
}

QString sortHelpText()
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
        "  --remove-duplicates        drop names entered twice (--no-remove-duplicates)\n"
        "  --unique-last-names        keep one name per last name (--no-unique-last-names)\n"
        "  --per-last-name N          keep at most N (0-32767) names per last name\n"
        "                             (--no-per-last-name)\n"
        "  --suffixes FILE            the suffixes to step over, one a line\n"
        "  --particle-list FILE       the particles, one a line\n"
        "  --title-list FILE          the titles, one a line\n"
        "\n"
        "Output:\n"
        "  --format FORMAT            list (one name a line, the default), table (as Save\n"
        "                             Results As Text File writes it) or tsv (the name, what it\n"
        "                             was sorted under and the rest, TAB between)\n"
        "  --explain                  the same as --format tsv\n"
        "  --crlf                     end lines with CR LF in the list and tsv formats\n"
        "  -o, --output FILE          write the results to FILE (whole or not at all)\n"
        "  -h, --help                 show this text\n"
        "  --version                  show the version\n"
        "\n"
        "Exit status: 0 when every input was read and the results written; 1 when an input\n"
        "could not be read or the results could not be written; 2 for a usage error.\n");
}

} // namespace orvella::cli

#pragma once

#include "core/PaperChoices.h"
#include "core/ExportOptions.h"
#include "core/RowGrouping.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace orvella::cli {

// What "orvella --sort" was asked to do. Each choice left unset keeps what the user has
// stored (or, with --defaults, the first-run choice).
struct SortRequest {
    enum class Reading { LastWord, SkipSuffixes, FirstWord };
    // Csv, Tsv, Xlsx and Ods write what Export Results writes, except that Tsv of names
    // read from no table is Explain.
    // Pdf lays the results out on pages, as a list or name badges (see --layout).
    enum class Format { List, Table, Explain, Csv, Tsv, Xlsx, Ods, Pdf };
    // A name column picked by --columns: its role and its header caption or 1-based number.
    enum class Role { WholeName, LastName, FirstName, MiddleName, Suffix };
    struct ColumnPick {
        Role role;
        QString column;
    };

    bool defaults = false;
    std::optional<Reading> reading;
    std::optional<bool> alphabetical;
    std::optional<bool> lastCommaFirst;
    std::optional<bool> particles;
    std::optional<bool> stepOverExtras;
    std::optional<bool> familyNameFirst;
    std::optional<bool> learnLastNames;
    std::optional<bool> twoFamilyNames;
    std::optional<bool> removeDuplicates;
    std::optional<bool> uniqueLastNames;
    std::optional<bool> perLastName;
    QString perLastNameCount;          // with perLastName on
    std::optional<QByteArray> suffixFile;
    std::optional<QByteArray> particleFile;
    std::optional<QByteArray> titleFile;
    std::optional<QByteArray> filedAsFile;
    bool noFiledAs = false; // an empty Filed-As list
    bool likelyDuplicates = false; // list the groups of likely duplicates instead of sorting
    Format format = Format::List;
    bool filedUnder = false;
    bool crlf = false;
    // --format pdf: the layout, the title and a list's columns (unset: as stored).
    std::optional<core::PaperLayout> layout;
    std::optional<QString> title;
    QStringList paperColumns;
    QList<ColumnPick> columns;  // none: as the window proposes
    std::optional<int> headerRow; // 1-based; 0: no header row
    // Grouping and which rows are the same: a column is a header caption or a number
    // counted from 1; sameRowsBy is "name", "row" or a column.
    std::optional<QString> groupBy;
    std::optional<core::RowGrouping::Order> groupOrder;
    std::optional<QString> sameRowsBy;
    // What an export writes besides the rows (csv, tsv, xlsx, ods); unset: as the
    // window's Export Results dialog proposes it, before anything is stored.
    std::optional<std::array<bool, core::kNameColumnCount>> nameColumns;
    std::optional<char16_t> delimiter;
    std::optional<core::TextEncoding> encoding;
    bool protectFormulas = true;
    std::optional<QByteArray> output;
    QList<QByteArray> files; // "-" is standard input; none: standard input
    bool help = false;
    bool version = false;
};

// Reads the arguments after "--sort" (as the system passed them: file names keep their
// bytes). Throws a UsageError naming what is wrong.
SortRequest parseSortArguments(const QList<QByteArray> &arguments);

struct UsageError {
    QString message;
};

// The short line shown with a usage error, and the whole --help text.
QString sortUsageLine();
QString sortHelpText();

} // namespace orvella::cli

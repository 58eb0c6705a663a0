#pragma once

#include <QString>
#include <vector>

namespace orvella::commands {
struct PaperRows;
} // namespace orvella::commands

namespace orvella::paper {

// A line of a printed list: a heading (a letter, or a group's label) or one result row.
struct ListLine {
    enum class Kind { Heading, Row };
    Kind kind = Kind::Row;
    int row = -1;    // Row: the row's place among the rows
    QString heading; // Heading: its text
};

// A page of a list: its columns of lines, side by side.
struct ListPage {
    std::vector<std::vector<ListLine>> columns;
};

// How a list is cut into pages.
struct ListFlow {
    int linesPerColumn = 40; // at least 2: a heading with its first row
    int columnsPerPage = 1;
    bool letterHeadings = true; // a plain list: a heading before each new first letter
    bool groupPages = true;     // grouped rows: each group begins a page
};

// Lays the rows out in reading order: down each column, the columns of a page left to
// right. Grouped rows get a heading per group instead of the letters, and with
// groupPages each group starts on a page of its own. A heading never ends a column:
// it moves on with the row it heads.
std::vector<ListPage> layOutList(const commands::PaperRows &rows, const ListFlow &flow);

// The heading letter of what a row was filed under: its first letter in upper case
// ("" for a row filed under nothing).
QString headingLetter(const QString &filedUnder);

} // namespace orvella::paper

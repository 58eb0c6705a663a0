#pragma once

#include "core/ColumnChoice.h"
#include "tables/NameRows.h"
#include "tables/TableRows.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace orvella::lists {

// Which columns of a table hold the name, guessed from its first rows: which row (if
// any) is the header, and the columns.
//
// The header is the first row that names a name column, else the first row that
// differs from the rows below it (all its cells filled with text, none a number or
// repeated below, and at least one unlike the cells below it); either way only a title
// may come above it: rows that each fill fewer cells than the header, blank ones too.
// A header with a first-name and a last-name column (and maybe a middle-name and a
// suffix one) gives NameParts; else one with a whole-name column ("Name", "Full name",
// "Nom complet"...) or a lone first- or last-name column gives WholeName on it.
// Otherwise the name is the column whose cells below the header most look like names
// (letters and spaces, two words or more), or column 0 when none does. The kind is
// always WholeName or NameParts.
core::ColumnChoice guessColumns(const QList<QStringList> &firstRows);

// The name a row gives under the choice, "" when it gives none (the row is skipped).
// WholeName: the cell with its runs of white space made one space, trimmed.
// NameParts: "Last, First Middle", and ", Suffix" after it when a suffix column is
// chosen and filled ("King, Martin Luther, Jr."); without a last name "First Middle",
// without a first and middle name "Last" (a suffix then follows after a space). Cells
// past the end of the row read as empty.
QString nameOfRow(const QStringList &cells, const core::ColumnChoice &choice);
// The same for row `row` of the table, built into `name` (which keeps its memory for
// the next row): the fast way through a million rows.
void nameOfRowInto(QString &name, const tables::TableRows &table, qsizetype row, const core::ColumnChoice &choice);

// The parts of `name`, the name nameOfRow gave for the row, told by the lengths of the
// row's last-name and suffix cells rather than by the commas in the name (a last-name
// cell may hold one: "Smith, Jr."). None when the row's table has no NameParts
// columns, the row has no last name, or the name does not fit the cells.
std::optional<tables::NameParts> namePartsOf(QStringView name, const tables::NameRow &row);

// What the columns are called where one is chosen: the header row's cells when the
// choice has a header ("Column N" for an empty one), else "Column 1", "Column 2"...
// One for each column of the longest row, at least one.
QStringList columnCaptions(const QList<QStringList> &firstRows, const core::ColumnChoice &choice);

// Whether the names nameOfRow gives are to be read as "Last, First" lines, whatever
// the Reading menu says: true for NameParts.
bool readsAsCommaLine(const core::ColumnChoice &choice);

} // namespace orvella::lists

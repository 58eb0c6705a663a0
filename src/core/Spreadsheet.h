#pragma once

#include <QString>

#include <limits>

namespace orvella::core {

// The user's spreadsheet application as the export drives it, one call per automation
// step: a new workbook, cells of its active sheet, column fitting, and showing it.
// Every call may throw a Failure.
class Spreadsheet {
public:
    virtual ~Spreadsheet() = default;
    virtual void addWorkbook() = 0;
    // Rows and columns count from 1. Every value is text.
    virtual void setCell(int row, int column, const QString &value) = 0;
    // The sheet's last row: setCell fails for every row below it.
    virtual int lastRow() const { return std::numeric_limits<int>::max(); }
    virtual void autoFitColumn(int column) = 0;
    virtual void autoFitAllColumns() = 0;
    virtual void makeVisible() = 0;
};

} // namespace orvella::core

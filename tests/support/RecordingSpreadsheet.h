#pragma once

#include "core/Failure.h"
#include "core/Spreadsheet.h"

#include <QString>
#include <QStringList>
#include <limits>

namespace orvella::testing {

// A spreadsheet application that records each call as a line, and fails where told.
struct CallLog {
    QStringList calls;
    QString failAt; // a call that throws, matched by its whole line
    int lastRow = std::numeric_limits<int>::max(); // cells below it throw
};

class RecordingSpreadsheet : public core::Spreadsheet {
public:
    explicit RecordingSpreadsheet(CallLog &log) : m_log(log) {}
    void addWorkbook() override { record("addWorkbook"); }
    void setCell(int row, int column, const QString &value) override
    {
        record(QStringLiteral("cell %1 %2 %3").arg(row).arg(column).arg(value));
        if (row > m_log.lastRow)
            throw core::Failure(QStringLiteral("Row %1 lies outside the sheet").arg(row));
    }
    int lastRow() const override { return m_log.lastRow; }
    void autoFitColumn(int column) override { record(QStringLiteral("fit %1").arg(column)); }
    void autoFitAllColumns() override { record("fitAll"); }
    void makeVisible() override { record("visible"); }

private:
    void record(const QString &call)
    {
        m_log.calls << call;
        if (call == m_log.failAt)
            throw core::Failure("The spreadsheet refused " + call);
    }
    CallLog &m_log;
};

} // namespace orvella::testing

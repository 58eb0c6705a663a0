#pragma once

#include <QString>
#include <QStringView>

namespace orvella::tables {

// How a spreadsheet shows a number in a cell, for the common number formats of a
// workbook: General, fixed decimals (with or without thousands separators), percent,
// scientific, and dates and times. A date shows as yyyy-MM-dd, a time as HH:mm:ss, and
// both as "yyyy-MM-dd HH:mm:ss", whatever order the format itself gives them. Other
// formats (fractions, text, currency signs and other literal text) show the number as
// General does. Elapsed time ("[h]:mm:ss") counts its hours on past 24.
class SheetNumberFormat {
public:
    // General.
    SheetNumberFormat() = default;
    // One of the formats a workbook knows by number (0 to 58); General for the others.
    static SheetNumberFormat builtIn(int id);
    // A format code such as "0.00", "#,##0", "0%" or "dd/mm/yyyy hh:mm"; its first
    // section (the one for positive numbers) decides.
    static SheetNumberFormat fromCode(QStringView code);

    // The cell's text for the value. Dates count days from 1899-12-30 (as spreadsheets
    // do, with the 1900 leap-year slip for the first two months), or from 1904-01-01 in
    // a workbook that says so.
    QString show(double value, bool from1904 = false) const;

private:
    enum class Kind { General, Fixed, Percent, Scientific, DateTime };

    QString showFixed(double value) const;
    QString showDateTime(double value, bool from1904) const;

    Kind m_kind = Kind::General;
    int m_minDecimals = 0; // shown even when zero
    int m_maxDecimals = 0; // shown when not zero
    bool m_grouped = false; // thousands separated by commas
    bool m_date = false;
    bool m_time = false;
    bool m_elapsed = false; // [h]:mm: hours past 24 instead of a date
};

// A number as a spreadsheet's General format shows it: up to 15 significant digits, no
// trailing zeros, an exponent only for very large and very small numbers.
QString generalNumberText(double value);

} // namespace orvella::tables

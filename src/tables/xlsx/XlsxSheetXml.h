#pragma once

#include "tables/zip/DeflateStream.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

namespace orvella::tables {

// The sheet1.xml of an .xlsx workbook of one sheet, made row by row as the rows come and
// compressed meanwhile into a file (DeflateStream), so that a million rows never stand
// in memory as one text: the file then goes into the archive as it is. Every cell is a
// text cell that holds its text itself (an inline string), so "=1+2" and "0012" stay
// as written; a row without cells is left out, as are empty cells.
class XlsxSheetXml {
public:
    // Makes the file at path; `target` is the saved file's name for the messages.
    // Throws core::Failure when the file cannot be made.
    XlsxSheetXml(const QString &path, const QString &target);

    // The next row's cells: beginRow(), then addCell() for each cell that is not empty,
    // columns counted from 0 and rising, then endRow().
    void beginRow();
    // The text as sheetText gives it (nothing XML cannot hold but control characters),
    // written in UTF-8 with markup characters escaped and the control characters but
    // TAB and LF as "_xHHHH_", which spreadsheet applications read as the character
    // with that code (a CR too, which an XML reader would otherwise turn into a LF).
    void addCell(qsizetype column, QStringView text);
    // Throws core::Failure when the compressed file could not be written.
    void endRow();
    // Ends the sheet and answers its compressed file; throws core::Failure when the file
    // could not be written whole.
    DeflatedPart finish();

    // The letters that name a column counted from 0: "A" to "Z", "AA"...
    static QByteArray columnName(qsizetype column);

private:
    void openRow();
    const QByteArray &letters(qsizetype column);

    DeflateStream m_stream;
    QByteArray m_buffer;
    QList<QByteArray> m_letters; // each column's name, as far as the cells went
    qsizetype m_row = 0;         // the row begun last, counted from 1
    char m_rowNumber[24] = {};   // its digits
    qsizetype m_rowDigits = 0;
    bool m_rowOpen = false;
};

} // namespace orvella::tables

#pragma once

#include <QString>

namespace orvella::tables {

// A cell's text as an .xlsx sheet stores it. Spreadsheet applications read "_xHHHH_"
// in a cell's text as the character with that code. The sheet writers (XlsxSheetXml,
// libxlsxwriter) store control characters that way, and so does this every character
// that XML cannot hold (U+FFFE,
// U+FFFF, a lone surrogate), so that the sheet stays well-formed. A text that holds
// such a sequence itself gets its underscore escaped, so that it reads back as written.
QString sheetText(const QString &text);
// The sheet text of the longest start of the text whose sheet text has at most `most`
// characters, a surrogate pair never split; for a text whose whole sheet text is longer.
QString sheetTextCut(const QString &text, qsizetype most);
// The sheet text with the control characters that XML cannot hold written as "_xHHHH_"
// too, for XML of the program's own.
QString xmlSafeText(const QString &text);
// Whether XML can hold every character of the text as it is.
bool fitsXml(const QString &text);

} // namespace orvella::tables

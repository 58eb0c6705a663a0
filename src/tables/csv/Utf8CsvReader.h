#pragma once

#include "tables/TableRows.h"

#include <QByteArrayView>
#include <QFile>
#include <QString>

#include <optional>

namespace orvella::core {
class Desktop;
} // namespace orvella::core

namespace orvella::tables {

// Checks that bytes handed over in pieces are UTF-8 throughout, by the same rules as
// Qt's UTF-8 decoder: no overlong forms, no surrogates, nothing past U+10FFFF, no
// character cut short. A piece may end inside a character. NUL bytes are refused too.
class Utf8Checker {
public:
    // False at the first byte that is not UTF-8 where it stands, or a NUL.
    bool take(QByteArrayView bytes);
    // False when the last piece ended inside a character.
    bool finish() const { return m_needed == 0; }

private:
    int m_needed = 0;    // continuation bytes the character being read still needs
    uchar m_low = 0x80;  // the range the next of them must be in
    uchar m_high = 0xBF;
};

// Reads a CSV or TSV file that is UTF-8 (with a UTF-8 byte-order mark or none) straight
// from its bytes, into the same rows the decoder and CsvParser would give. Without a
// delimiter given it is found from the file's first text, as for the decoded text.
// Calls desktop.yield() before each piece. Answers nothing, having read some of the file,
// when the file is not UTF-8 throughout or holds a NUL byte (or starts with a UTF-16
// mark): the decoder must read it from the start. Throws core::Failure when the file
// cannot be read.
std::optional<TableRows> readUtf8CsvTable(QFile &file, const QString &path, std::optional<char> delimiter,
                                          core::Desktop &desktop);

} // namespace orvella::tables

#pragma once

#include <QByteArrayView>
#include <QtGlobal>

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

} // namespace orvella::tables

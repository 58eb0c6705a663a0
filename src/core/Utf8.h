#pragma once

#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <QStringView>

namespace orvella::core {

// Writes the code point's UTF-8 bytes at `out` (room for four) and answers the place
// after them. For writers that build many short texts into a buffer of their own.
inline char *putUtf8(char *out, char32_t c)
{
    if (c < 0x80) {
        *out++ = char(c);
    } else if (c < 0x800) {
        *out++ = char(0xC0 | (c >> 6));
        *out++ = char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *out++ = char(0xE0 | (c >> 12));
        *out++ = char(0x80 | ((c >> 6) & 0x3F));
        *out++ = char(0x80 | (c & 0x3F));
    } else {
        *out++ = char(0xF0 | (c >> 18));
        *out++ = char(0x80 | ((c >> 12) & 0x3F));
        *out++ = char(0x80 | ((c >> 6) & 0x3F));
        *out++ = char(0x80 | (c & 0x3F));
    }
    return out;
}

// Writes the text's UTF-8 at `out` (room for three bytes a UTF-16 unit) as
// QString::toUtf8 does, a lone surrogate as "?", and answers the place after it.
inline char *putUtf8(char *out, QStringView text)
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (!QChar::isSurrogate(c))
            out = putUtf8(out, c);
        else if (QChar::isHighSurrogate(c) && i + 1 < n && text[i + 1].isLowSurrogate())
            out = putUtf8(out, QChar::surrogateToUcs4(c, text[++i].unicode()));
        else
            *out++ = '?';
    }
    return out;
}

// The UTF-16 units of valid UTF-8: one for each byte that starts a character, and one
// more for each character past U+FFFF (a lead byte of four).
inline qsizetype utf16Units(QByteArrayView utf8)
{
    qsizetype units = 0;
    for (const char byte : utf8)
        units += ((uchar(byte) & 0xC0) != 0x80 ? 1 : 0) + (uchar(byte) >= 0xF0 ? 1 : 0);
    return units;
}

// Text that is UTF-8 already (a table's cell) as a string. A U+FEFF at its start is a
// character of the text: QString::fromUtf8 would take it for a byte-order mark and drop
// it (just the one), so it is put back. The file's own mark is skipped by its reader.
inline QString fromUtf8Text(QByteArrayView bytes)
{
    QString text = QString::fromUtf8(bytes);
    if (bytes.startsWith("\xEF\xBB\xBF"))
        text.prepend(QChar(0xFEFF));
    return text;
}

} // namespace orvella::core

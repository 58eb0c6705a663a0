#include "tables/SheetText.h"

#include <algorithm>

namespace orvella::tables {
namespace {

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool isCodeSequence(const QString &text, qsizetype i)
{
    return text[i] == u'_' && i + 6 < text.size() && text[i + 1] == u'x' && isHexDigit(text[i + 2]) &&
           isHexDigit(text[i + 3]) && isHexDigit(text[i + 4]) && isHexDigit(text[i + 5]) && text[i + 6] == u'_';
}

// U+FFFE, U+FFFF and a surrogate that is not part of a pair have no place in an XML
// document; nor have the control characters but TAB, LF and CR (which `controls` says
// to escape here too).
bool notInXml(const QString &text, qsizetype i, bool controls)
{
    const QChar c = text[i];
    if (c.isHighSurrogate())
        return i + 1 >= text.size() || !text[i + 1].isLowSurrogate();
    if (c.isLowSurrogate())
        return i == 0 || !text[i - 1].isHighSurrogate();
    if (controls && c.unicode() < 0x20)
        return c != u'\t' && c != u'\n' && c != u'\r';
    return c.unicode() >= 0xFFFE;
}

// Whether the unit is plainly none to escape: no underscore, no surrogate, neither
// U+FFFE nor U+FFFF, no control character (when `controls`). Most units of most texts
// are, which the first look at a text tells quickly.
bool plainUnit(char16_t c, bool controls)
{
    return c != u'_' && (c < 0xD800 || (c > 0xDFFF && c < 0xFFFE)) &&
           (!controls || c >= 0x20 || c == u'\t' || c == u'\n' || c == u'\r');
}

QString escaped(const QString &text, bool controls)
{
    qsizetype first = 0;
    while (first < text.size() && (plainUnit(text[first].unicode(), controls) ||
                                   (!isCodeSequence(text, first) && !notInXml(text, first, controls))))
        ++first;
    if (first == text.size())
        return text;
    QString escaped = text.left(first);
    escaped.reserve(text.size() + 12);
    for (qsizetype i = first; i < text.size(); ++i) {
        if (isCodeSequence(text, i))
            escaped += QLatin1String("_x005F_");
        else if (notInXml(text, i, controls))
            escaped += QLatin1String("_x") + QString::number(text[i].unicode(), 16).toUpper().rightJustified(4, u'0') +
                       QLatin1Char('_');
        else
            escaped += text[i];
    }
    return escaped;
}

} // namespace

QString sheetText(const QString &text)
{
    // The sheet writers write the control characters as codes themselves.
    return escaped(text, false);
}

QString sheetTextCut(const QString &text, qsizetype most)
{
    // A start of the text, without the first unit of a pair that does not end in it.
    const auto start = [&](qsizetype length) {
        if (length > 0 && length < text.size() && text[length - 1].isHighSurrogate() && text[length].isLowSurrogate())
            --length;
        return text.left(length);
    };
    // Escaping never shortens a text, so no start longer than `most` fits; starts fit up
    // to some length and no further, which a halving search finds.
    qsizetype fits = 0;
    qsizetype tooLong = std::min(text.size(), most) + 1;
    while (tooLong - fits > 1) {
        const qsizetype middle = fits + (tooLong - fits) / 2;
        if (sheetText(start(middle)).size() <= most)
            fits = middle;
        else
            tooLong = middle;
    }
    return sheetText(start(fits));
}

QString xmlSafeText(const QString &text)
{
    return escaped(text, true);
}

bool fitsXml(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (notInXml(text, i, true))
            return false;
    }
    return true;
}

} // namespace orvella::tables

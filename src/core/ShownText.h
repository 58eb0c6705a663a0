#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

namespace orvella::core {

// Texts a control shows are cut to this many characters (followed by an ellipsis).
inline constexpr qsizetype kShownLength = 4096;

// A text as a list row or the progress bar shows it: whole, or cut to its first
// kShownLength characters and an ellipsis. Laying out a text of millions of characters
// takes seconds; what is stored keeps the whole text.
inline QString shownText(const QString &text)
{
    if (text.size() > kShownLength)
        return QStringView(text).left(kShownLength).toString() + QChar(0x2026);
    return text;
}

// The same for a text that is not a string of its own.
inline QString shownText(QStringView text)
{
    if (text.size() > kShownLength)
        return text.left(kShownLength).toString() + QChar(0x2026);
    return text.toString();
}

} // namespace orvella::core

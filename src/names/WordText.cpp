#include "names/NameTokens.h"

#include "names/NameWords.h"

// The text of a name's words: white space tidied, and words joined by single spaces.
namespace orvella::names {
namespace words {

bool tidyAlready(QStringView name)
{
    if (name.isEmpty())
        return true;
    if (name.front() == kSpace || name.back() == kSpace)
        return false;
    bool space = false;
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (u > u' ' && u < 0x80) { // most characters of most names
            space = false;
        } else if (u == u' ') {
            if (space)
                return false;
            space = true;
        } else if (c.isSpace()) {
            return false;
        } else {
            space = false;
        }
    }
    return true;
}

QString joined(const Tokens &tokens, const Indexes &which, qsizetype from, qsizetype to)
{
    if (to < 0)
        to = which.size();
    QString text;
    for (qsizetype i = from; i < to; ++i) {
        if (!text.isEmpty())
            text.append(kSpace);
        text.append(tokens[which[i]].text);
    }
    return text;
}

QString joinedOfKind(const Tokens &tokens, Kind kind)
{
    QString text;
    for (const Token &token : tokens) {
        if (token.kind != kind)
            continue;
        if (!text.isEmpty())
            text.append(kSpace);
        text.append(token.text);
    }
    return text;
}

} // namespace words

using words::kSpace;

bool isTidy(QStringView name)
{
    return words::tidyAlready(name);
}

QString tidySpaces(QStringView name)
{
    QString tidy;
    tidy.reserve(name.size());
    bool space = false;
    for (const QChar c : name) {
        if (c.isSpace()) {
            space = !tidy.isEmpty();
            continue;
        }
        if (space)
            tidy.append(kSpace);
        space = false;
        tidy.append(c);
    }
    return tidy;
}

} // namespace orvella::names

#include "sorting/SortKeys.h"

#include <QVarLengthArray>

#include <algorithm>

namespace orvella::sorting {
namespace {
constexpr QChar kSpace = QLatin1Char(' ');

// The delimiter starts with "!"; finding that character first is much faster than a
// general substring search, and most names hold no "!" at all.
qsizetype findDelimiter(QStringView text, qsizetype from)
{
    // A plain loop: keys are short, and the library's vectorised search costs more
    // to set up than it saves on a few dozen characters.
    const qsizetype length = kFieldDelimiter.size();
    const char16_t *units = text.utf16();
    const qsizetype last = text.size() - length;
    for (qsizetype at = from; at <= last; ++at) {
        if (units[at] == u'!' && text.mid(at, length) == QStringView(kFieldDelimiter))
            return at;
    }
    return -1;
}

QString joined(QStringView head, QStringView tail)
{
    QString key;
    key.reserve(head.size() + kFieldDelimiter.size() + tail.size());
    key.append(head).append(kFieldDelimiter).append(tail);
    return key;
}
} // namespace

QString buildSortKey(QStringView name, const SortOptions &options, const SuffixTest &isSuffix)
{
    QString key;
    buildSortKeyInto(key, name, options, isSuffix);
    return key;
}

void buildSortKeyInto(QString &key, QStringView name, const SortOptions &options, const SuffixTest &isSuffix)
{
    key.resize(0); // keeps what the text has reserved
    const auto setKey = [&key](QStringView head, QStringView tail) {
        key.reserve(head.size() + kFieldDelimiter.size() + tail.size());
        key.append(head).append(kFieldDelimiter).append(tail);
    };
    if (name.isEmpty())
        return;

    if (options.option2) {
        const qsizetype firstSpace = name.indexOf(kSpace);
        if (firstSpace < 0)
            key.append(name);
        else
            setKey(name.left(firstSpace), name.mid(firstSpace + 1));
        return;
    }
    if (!options.option1)
        return;

    const qsizetype lastSpace = name.lastIndexOf(kSpace);
    const QStringView lastWord = lastSpace < 0 ? name : name.mid(lastSpace + 1);

    if (options.option3 && isSuffix && isSuffix(lastWord) && lastSpace >= 0) {
        // The head field is the last two words; the tail keeps the words before them,
        // each followed by its space.
        const qsizetype secondLastSpace = lastSpace == 0 ? -1 : name.lastIndexOf(kSpace, lastSpace - 1);
        setKey(name.mid(secondLastSpace + 1), name.left(secondLastSpace + 1));
        return;
    }
    if (options.option3 || options.option4) {
        if (lastSpace < 0)
            key.append(name);
        else
            setKey(lastWord, name.left(lastSpace));
    }
}

QStringView trimSpaces(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == kSpace)
        ++begin;
    while (end > begin && text[end - 1] == kSpace)
        --end;
    return text.mid(begin, end - begin);
}

KeyParts splitKey(QStringView key)
{
    const qsizetype at = findDelimiter(key, 0);
    if (at < 0)
        return {key, QStringView(), false};
    return {key.left(at), key.mid(at + kFieldDelimiter.size()), true};
}

QString KeyParts::toString() const
{
    if (!split)
        return head.toString();
    return joined(head, tail);
}

QString revealName(QStringView key, const SortOptions &options)
{
    return revealName(splitKey(key), options);
}

QString revealName(const KeyParts &key, const SortOptions &options)
{
    QString name;
    revealNameInto(name, key, options);
    return name;
}

void revealNameInto(QString &name, const KeyParts &key, const SortOptions &options)
{
    name.resize(0); // keeps what the text has reserved

    if (key.size() == 0 || (!options.option1 && !options.option2))
        return;

    // Field boundaries, in key order: the head, then the tail's fields.
    QVarLengthArray<QStringView, 4> fields;
    fields.append(key.head);
    if (key.split) {
        qsizetype from = 0;
        for (;;) {
            const qsizetype at = findDelimiter(key.tail, from);
            if (at < 0) {
                fields.append(key.tail.mid(from));
                break;
            }
            fields.append(key.tail.mid(from, at - from));
            from = at + kFieldDelimiter.size();
        }
    }

    // The fields in reading order without spaces at their ends, joined by one space;
    // empty fields at either end leave no space behind.
    if (!options.option2)
        std::reverse(fields.begin(), fields.end());
    qsizetype first = 0;
    qsizetype last = fields.size() - 1;
    for (QStringView &field : fields)
        field = trimSpaces(field);
    while (first <= last && fields[first].isEmpty())
        ++first;
    while (last >= first && fields[last].isEmpty())
        --last;
    if (first > last)
        return;
    qsizetype length = last - first;
    for (qsizetype i = first; i <= last; ++i)
        length += fields[i].size();
    name.resize(length);
    char16_t *out = reinterpret_cast<char16_t *>(name.data());
    for (qsizetype i = first; i <= last; ++i) {
        if (i > first)
            *out++ = u' ';
        out = std::copy(fields[i].utf16(), fields[i].utf16() + fields[i].size(), out);
    }
}

QStringView headField(QStringView key)
{
    const qsizetype at = findDelimiter(key, 0);
    return at < 0 ? key : key.left(at);
}

} // namespace orvella::sorting

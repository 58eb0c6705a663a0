#include "names/SortKeys.h"

#include <QVarLengthArray>

#include <algorithm>

namespace orvella::names {
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

// First/Last: the first word is the head, the words after it the tail.
Q_ALWAYS_INLINE NameFields firstWordFields(QStringView name)
{
    NameFields fields;
    const qsizetype space = name.indexOf(kSpace);
    fields.head = fields.lastName = space < 0 ? name : name.left(space);
    if (space >= 0) {
        fields.tail = name.mid(space + 1);
        fields.delimited = true;
    }
    return fields;
}

// Where the run of particle words directly before lastNameStart starts. A run that
// would reach the first word is not taken: "Van Morrison" and "van Gogh" keep their
// last word alone.
qsizetype particleWordsStart(QStringView name, qsizetype lastNameStart, const ParticleTest &isParticle)
{
    qsizetype start = lastNameStart;
    while (start > 0) {
        const qsizetype space = start - 1; // the space before the run found so far
        const qsizetype previousSpace = space == 0 ? -1 : name.lastIndexOf(kSpace, space - 1);
        if (!isParticle(name.mid(previousSpace + 1, space - previousSpace - 1)))
            return start;
        if (previousSpace < 0)
            return lastNameStart;
        start = previousSpace + 1;
    }
    return lastNameStart;
}

// The start of the word before the one starting at `start` (which is not the first).
qsizetype previousWordStart(QStringView name, qsizetype start)
{
    return start < 2 ? 0 : name.lastIndexOf(kSpace, start - 2) + 1;
}

// Where the head field starts when the last name (starting at lastNameStart) takes
// along the particle words directly before it, and a surname joined to it by "y", "e"
// or "i" with that surname's particles ("de la Cruz y Pérez", "Silva e Costa"), as
// long as a word before them stays.
qsizetype particleRunStart(QStringView name, qsizetype lastNameStart, const ParticleTest &isParticle)
{
    qsizetype start = particleWordsStart(name, lastNameStart, isParticle);
    while (start > 0) {
        const qsizetype joiner = previousWordStart(name, start);
        const QStringView word = name.mid(joiner, start - 1 - joiner);
        if (joiner == 0 || !(word == u"y" || word == u"e" || word == u"i"))
            break;
        const qsizetype surname = previousWordStart(name, joiner);
        if (surname == 0)
            break;
        start = particleWordsStart(name, surname, isParticle);
    }
    return start;
}

// Last/First: the last word is the head, or the last two when the last is a suffix
// to step over; particles before it join it when isParticle is given.
Q_ALWAYS_INLINE NameFields lastNameFields(QStringView name, bool skipSuffix, const SuffixTest &isSuffix,
                                          const ParticleTest &isParticle)
{
    NameFields fields;
    const qsizetype lastSpace = name.lastIndexOf(kSpace);
    const QStringView lastWord = name.mid(lastSpace + 1);
    const bool stepped = skipSuffix && lastSpace >= 0 && isSuffix && isSuffix(lastWord);
    qsizetype lastNameStart = lastSpace + 1;
    qsizetype lastNameEnd = name.size();
    if (stepped) {
        lastNameStart = lastSpace == 0 ? 0 : name.lastIndexOf(kSpace, lastSpace - 1) + 1;
        lastNameEnd = lastSpace;
        fields.suffix = lastWord;
    }
    fields.lastName = name.mid(lastNameStart, lastNameEnd - lastNameStart);
    const qsizetype headStart = isParticle ? particleRunStart(name, lastNameStart, isParticle) : lastNameStart;
    if (headStart < lastNameStart)
        fields.particles = name.mid(headStart, lastNameStart - 1 - headStart);
    fields.head = name.mid(headStart);
    // With a suffix stepped over the tail keeps the space after its last word, so a
    // two-word name still has a (then empty) tail.
    if (stepped || headStart > 0) {
        fields.tail = stepped ? name.left(headStart) : name.left(headStart - 1);
        fields.delimited = true;
    }
    return fields;
}

// The key of the fields: head, delimiter, tail (the head alone when not delimited).
void appendKey(QString &key, const NameFields &fields)
{
    if (!fields.delimited) {
        key.append(fields.head);
        return;
    }
    key.reserve(key.size() + fields.head.size() + kFieldDelimiter.size() + fields.tail.size());
    key.append(fields.head).append(kFieldDelimiter).append(fields.tail);
}

// The readers above and this one are inlined into the key builder, which asks for a
// million keys in a row: the fields a key does not use are then never computed, and
// the fields are not zeroed and written out in memory for each name (which made
// building the keys a quarter slower).
Q_ALWAYS_INLINE NameFields fieldsOf(QStringView name, const SortOptions &options, const SuffixTest &isSuffix,
                                    const ParticleTest &isParticle)
{
    if (name.isEmpty())
        return {};
    if (options.firstLast())
        return firstWordFields(name);
    return lastNameFields(name, options.skipsSuffixes(), isSuffix, isParticle);
}
} // namespace

NameFields readFields(QStringView name, const SortOptions &options, const SuffixTest &isSuffix,
                      const ParticleTest &isParticle)
{
    return fieldsOf(name, options, isSuffix, isParticle);
}

QString buildSortKey(QStringView name, const SortOptions &options, const SuffixTest &isSuffix)
{
    QString key;
    buildSortKeyInto(key, name, options, isSuffix);
    return key;
}

void buildSortKeyInto(QString &key, QStringView name, const SortOptions &options, const SuffixTest &isSuffix,
                      const ParticleTest &isParticle, qsizetype *suffixLength)
{
    key.resize(0); // keeps what the text has reserved
    const NameFields fields = fieldsOf(name, options, isSuffix, isParticle);
    appendKey(key, fields);
    if (suffixLength)
        *suffixLength = fields.suffix.isEmpty() ? 0 : fields.suffix.size() + 1;
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

    if (key.size() == 0)
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
    if (!options.firstLast())
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

} // namespace orvella::names

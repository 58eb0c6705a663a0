#include "names/NameReading.h"

#include "names/FiledAs.h"
#include "names/NameWords.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace orvella::names {
namespace {
constexpr QChar kSpace = QLatin1Char(' ');
constexpr QChar kComma = QLatin1Char(',');

// A name taken apart into texts of its own: what readName shows, and for a "Last,
// First" line also what its key is made of (head, delimiter, tail).
struct Parts {
    QString head;
    QString tail;
    bool commaLine = false;
    QString lastName;
    QString suffix;
    QString particles;
    qsizetype headSuffix = 0;
    bool ownText = false;
};

QString joinedWords(std::initializer_list<QStringView> pieces)
{
    QString text;
    for (const QStringView piece : pieces) {
        if (piece.isEmpty())
            continue;
        if (!text.isEmpty())
            text.append(kSpace);
        text.append(piece);
    }
    return text;
}

std::optional<Parts> commaLineParts(QStringView name, const SortOptions &options, const SuffixTest &isSuffix)
{
    const qsizetype comma = name.indexOf(kComma);
    if (comma < 0)
        return std::nullopt;
    const QStringView before = trimSpaces(name.left(comma));
    const QStringView rest = name.mid(comma + 1);
    const qsizetype second = rest.indexOf(kComma);
    const QStringView given = trimSpaces(second < 0 ? rest : rest.left(second));
    const QStringView trailing = second < 0 ? QStringView() : trimSpaces(rest.mid(second + 1));
    if (before.isEmpty() || given.isEmpty() || (isSuffix && isSuffix(given)))
        return std::nullopt;

    Parts parts;
    parts.commaLine = true;
    if (options.firstLast()) {
        const qsizetype space = given.indexOf(kSpace);
        const QStringView first = space < 0 ? given : given.left(space);
        parts.head = parts.lastName = first.toString();
        parts.tail = joinedWords({space < 0 ? QStringView() : given.mid(space + 1), before, trailing});
        return parts;
    }
    parts.lastName = before.toString();
    if (options.skipsSuffixes() && !trailing.isEmpty() && isSuffix && isSuffix(trailing)) {
        parts.suffix = trailing.toString();
        parts.head = joinedWords({before, trailing});
        parts.headSuffix = trailing.size() + 1;
        parts.tail = given.toString();
    } else {
        parts.head = parts.lastName;
        parts.tail = trimSpaces(rest).toString();
    }
    return parts;
}

QStringView withoutTrailingCommas(QStringView text)
{
    while (!text.isEmpty() && (text.back() == kComma || text.back() == kSpace))
        text.chop(1);
    return text;
}

// A last-name cell ("Smith, Jr.") parted into the last name and a suffix at its end:
// its last word after a comma or a space, when a word stands before it and isSuffix
// says so; otherwise the whole cell and no suffix.
std::pair<QStringView, QStringView> cellSuffix(QStringView last, const SuffixTest &isSuffix)
{
    const qsizetype cut = std::max(last.lastIndexOf(kSpace), last.lastIndexOf(kComma));
    if (cut < 0 || !isSuffix)
        return {last, {}};
    const QStringView word = last.sliced(cut + 1);
    const QStringView before = withoutTrailingCommas(last.first(cut));
    if (before.isEmpty() || !isSuffix(word))
        return {last, {}};
    return {before, word};
}

// A name given as its columns' parts (see readName).
Parts columnParts(const tables::NameParts &name, const SortOptions &options, const SuffixTest &isSuffix)
{
    const QStringView last = withoutTrailingCommas(trimSpaces(name.lastName));
    const QStringView given = trimSpaces(name.given);
    Parts parts;
    parts.commaLine = true;
    if (options.firstLast()) {
        const qsizetype space = given.indexOf(kSpace);
        const QStringView first = given.isEmpty() ? last : space < 0 ? given : given.left(space);
        parts.head = parts.lastName = first.toString();
        parts.tail = given.isEmpty() ? name.suffix.toString()
                                     : joinedWords({space < 0 ? QStringView() : given.mid(space + 1), last, name.suffix});
        return parts;
    }
    // Last/First: the suffix stepped over is the suffix cell's, else one inside the last-name cell.
    std::pair<QStringView, QStringView> lastAndSuffix{last, {}};
    if (options.skipsSuffixes() && !name.suffix.isEmpty() && isSuffix && isSuffix(name.suffix))
        lastAndSuffix.second = name.suffix;
    else if (options.skipsSuffixes() && name.suffix.isEmpty())
        lastAndSuffix = cellSuffix(last, isSuffix);
    const auto [lastName, suffix] = lastAndSuffix;
    parts.lastName = lastName.toString();
    if (!suffix.isEmpty()) {
        parts.suffix = suffix.toString();
        parts.head = joinedWords({lastName, suffix});
        parts.headSuffix = suffix.size() + 1;
        parts.tail = given.toString();
    } else {
        parts.head = parts.lastName;
        parts.tail = given.toString();
        if (!name.suffix.isEmpty()) {
            if (!given.isEmpty())
                parts.tail += QLatin1String(", ");
            parts.tail += name.suffix;
        }
    }
    return parts;
}

// The fields of the option buttons' reading (see readFields) as texts.
Parts plainParts(const NameFields &fields)
{
    Parts parts;
    parts.headSuffix = fields.suffix.isEmpty() ? 0 : fields.suffix.size() + 1;
    parts.head = fields.head.toString();
    parts.tail = fields.tail.toString();
    parts.lastName = fields.lastName.toString();
    parts.suffix = fields.suffix.toString();
    parts.particles = fields.particles.toString();
    return parts;
}

// The particle test when the choices keep particles with the last name (readFields
// applies it to the Last/First readings only), else none.
const ParticleTest kNoParticles;
const ParticleTest &particlesOf(const ReadingChoices &choices, const ParticleTest &isParticle)
{
    return choices.keepParticles ? isParticle : kNoParticles;
}

// Family name first without the word-by-word reading: a Last/First reading files a
// name in Chinese, Japanese or Korean script under its first word (words split at
// single spaces, as the option buttons split them).
bool readsFamilyNameFirst(QStringView name, const SortOptions &options, const ReadingChoices &choices)
{
    return choices.familyNameFirst && !options.firstLast() && name.indexOf(kSpace) > 0 &&
           isFamilyNameFirstScript(name);
}

Parts familyFirstParts(QStringView name)
{
    const qsizetype space = name.indexOf(kSpace);
    Parts parts;
    parts.head = parts.lastName = name.left(space).toString();
    parts.tail = name.mid(space + 1).toString();
    parts.ownText = true;
    return parts;
}

// Two family names without the word-by-word reading: a Last/First reading files a name
// of four or more words (split at single spaces) under its last two, when both may be
// family names and the last is no suffix the reading steps over.
std::optional<Parts> twoFamilyNameParts(QStringView name, const SortOptions &options, const ReadingChoices &choices,
                                        const WordTests &words)
{
    if (!choices.twoFamilyNames || options.firstLast())
        return std::nullopt;
    const QList<QStringView> list = name.split(kSpace);
    const qsizetype count = list.size();
    if (count < 4 || !isFamilyNameWord(list[count - 1], words.isParticle) ||
        !isFamilyNameWord(list[count - 2], words.isParticle))
        return std::nullopt;
    if (options.skipsSuffixes() && words.isSuffix && words.isSuffix(list[count - 1]))
        return std::nullopt;
    const qsizetype cut = name.size() - list[count - 1].size() - list[count - 2].size() - 1;
    Parts parts;
    parts.head = parts.lastName = name.sliced(cut).toString();
    parts.tail = name.first(cut - 1).toString();
    return parts;
}

Parts readParts(QStringView name, const SortOptions &options, const ReadingChoices &choices, const WordTests &words,
                const tables::NameParts *columns)
{
    if (columns)
        return columnParts(*columns, options, words.isSuffix);
    if (choices.lastCommaFirst) {
        if (std::optional<Parts> parts = commaLineParts(name, options, words.isSuffix))
            return std::move(*parts);
    }
    if (readsFamilyNameFirst(name, options, choices))
        return familyFirstParts(name);
    if (std::optional<Parts> parts = twoFamilyNameParts(name, options, choices, words))
        return std::move(*parts);
    return plainParts(readFields(name, options, words.isSuffix, particlesOf(choices, words.isParticle)));
}

} // namespace

NameReading readName(QStringView name, const SortOptions &options, const ReadingChoices &choices,
                     const SuffixTest &isSuffix, const ParticleTest &isParticle)
{
    return readName(name, options, choices, WordTests{isSuffix, isParticle, {}});
}

NameReading readName(QStringView name, const SortOptions &options, const ReadingChoices &choices,
                     const WordTests &words, const tables::NameParts *columns)
{
    if (const FiledAsEntry *entry = words.filedAs ? words.filedAs->find(name) : nullptr) {
        NameReading reading;
        reading.sortedUnder = reading.lastName = entry->fileUnder;
        reading.then = words.filedAs->tailOf(*entry).toString();
        reading.filedAsSet = true;
        return reading;
    }
    if (choices.stepOverExtras)
        return readWords(name, options, choices, words, WordReading::Wanted::Everything, columns).reading;
    Parts parts = readParts(name, options, choices, words, columns);
    NameReading reading;
    reading.sortedUnder = std::move(parts.head);
    reading.then = trimSpaces(parts.tail).toString();
    reading.lastName = std::move(parts.lastName);
    reading.suffix = std::move(parts.suffix);
    reading.particles = std::move(parts.particles);
    reading.commaLine = parts.commaLine;
    return reading;
}

QString buildReadingKey(QStringView name, const SortOptions &options, const ReadingChoices &choices,
                        const SuffixTest &isSuffix, const ParticleTest &isParticle, bool *commaLine)
{
    QString key;
    KeyNote note;
    buildReadingKeyInto(key, name, options, choices, WordTests{isSuffix, isParticle, {}}, &note);
    if (commaLine)
        *commaLine = note.commaLine;
    return key;
}

void buildReadingKeyInto(QString &key, QStringView name, const SortOptions &options, const ReadingChoices &choices,
                         const WordTests &words, KeyNote *note, const tables::NameParts *columns)
{
    KeyNote unused;
    KeyNote &n = note ? *note : unused;
    n.commaLine = false;
    n.ownText = false;
    n.headSuffix = 0;
    n.filedAsSet = false;
    if (const FiledAsEntry *entry = words.filedAs ? words.filedAs->find(name) : nullptr) {
        buildFiledAsKey(key, *words.filedAs, *entry);
        n.filedAsSet = true;
        n.ownText = true;
        // Shown as the reading shows other names: tidied when it tidies them.
        n.shown = choices.stepOverExtras ? entry->name : name.toString();
        return;
    }
    if (choices.stepOverExtras) {
        // A sort reads a million names in a row: the texts change places with the
        // caller's rather than being made anew for each.
        thread_local WordReading read;
        readWordsInto(read, name, options, choices, words, WordReading::Wanted::KeyOnly, columns);
        std::swap(key, read.key);
        n.commaLine = read.reading.commaLine;
        n.ownText = read.ownText;
        if (n.ownText)
            std::swap(n.shown, read.shown);
        return;
    }
    if (columns || choices.lastCommaFirst || choices.familyNameFirst || choices.twoFamilyNames) {
        std::optional<Parts> parts;
        if (columns)
            parts = columnParts(*columns, options, words.isSuffix);
        else if (choices.lastCommaFirst)
            parts = commaLineParts(name, options, words.isSuffix);
        if (!parts && readsFamilyNameFirst(name, options, choices))
            parts = familyFirstParts(name);
        if (!parts && !columns)
            parts = twoFamilyNameParts(name, options, choices, words);
        if (parts) {
            n.commaLine = parts->commaLine;
            n.ownText = true;
            n.shown = name.toString();
            n.headSuffix = parts->headSuffix;
            key = parts->head + kFieldDelimiter + parts->tail;
            return;
        }
    }
    buildSortKeyInto(key, name, options, words.isSuffix, particlesOf(choices, words.isParticle), &n.headSuffix);
}

NameReading readingOfKey(QStringView key)
{
    NameReading reading;
    const QStringView head = headField(key);
    reading.sortedUnder = head.toString();
    if (head.size() < key.size()) {
        QStringView tail = key.mid(head.size() + kFieldDelimiter.size());
        const qsizetype mark = tail.indexOf(kSteppedMark);
        if (mark >= 0) {
            reading.stepped = tail.mid(mark + 1).toString();
            tail = tail.left(mark);
            if (reading.stepped == kFiledMark) {
                reading.stepped.clear();
                reading.filedAsSet = true;
            }
        }
        reading.then = trimSpaces(tail).toString();
    }
    return reading;
}

QString sortedUnderText(const NameReading &reading)
{
    QString text = QStringLiteral("Sorted under: ") + reading.sortedUnder;
    if (!reading.then.isEmpty())
        text += QStringLiteral(", then: ") + reading.then;
    if (!reading.stepped.isEmpty())
        text += QStringLiteral(", stepped over: ") + reading.stepped;
    if (reading.filedAsSet)
        text += QStringLiteral(", filed as you set");
    return text;
}

} // namespace orvella::names

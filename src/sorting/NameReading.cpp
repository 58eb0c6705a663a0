#include "sorting/NameReading.h"

#include <optional>

namespace orvella::sorting {
namespace {
constexpr QChar kSpace = QLatin1Char(' ');
constexpr QChar kComma = QLatin1Char(',');

// A name taken apart: its key is head, delimiter, tail (head alone when not delimited).
struct Parts {
    QString head;
    QString tail;
    bool delimited = false;
    bool commaLine = false;
    QString lastName;
    QString suffix;
    QString particles;
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

bool lastFirstReading(const SortOptions &options)
{
    return !options.option2 && options.option1 && (options.option3 || options.option4);
}

std::optional<Parts> commaLineParts(QStringView name, const SortOptions &options, const SuffixTest &isSuffix)
{
    if (!options.option2 && !lastFirstReading(options))
        return std::nullopt;
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
    parts.delimited = true;
    if (options.option2) {
        const qsizetype space = given.indexOf(kSpace);
        const QStringView first = space < 0 ? given : given.left(space);
        parts.head = parts.lastName = first.toString();
        parts.tail = joinedWords({space < 0 ? QStringView() : given.mid(space + 1), before, trailing});
        return parts;
    }
    parts.lastName = before.toString();
    if (options.option3 && !trailing.isEmpty() && isSuffix && isSuffix(trailing)) {
        parts.suffix = trailing.toString();
        parts.head = joinedWords({before, trailing});
        parts.tail = given.toString();
    } else {
        parts.head = parts.lastName;
        parts.tail = trimSpaces(rest).toString();
    }
    return parts;
}

// Where the head field starts when the last name (starting at lastNameStart) takes
// along the particle words directly before it. A run that would reach the first word
// is not taken: "Van Morrison" and "van Gogh" keep their last word alone.
qsizetype particleRunStart(QStringView name, qsizetype lastNameStart, const ParticleTest &isParticle)
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

// The reading of the option buttons, with the particles of a Last/First reading
// when isParticle is given.
Parts plainParts(QStringView name, const SortOptions &options, const SuffixTest &isSuffix,
                 const ParticleTest &isParticle)
{
    Parts parts;
    if (name.isEmpty())
        return parts;
    if (options.option2) {
        const qsizetype space = name.indexOf(kSpace);
        parts.head = parts.lastName = (space < 0 ? name : name.left(space)).toString();
        if (space >= 0) {
            parts.tail = name.mid(space + 1).toString();
            parts.delimited = true;
        }
        return parts;
    }
    if (!options.option1)
        return parts;
    const qsizetype lastSpace = name.lastIndexOf(kSpace);
    const QStringView lastWord = name.mid(lastSpace + 1);
    const bool stepped = options.option3 && lastSpace >= 0 && isSuffix && isSuffix(lastWord);
    if (!stepped && !options.option3 && !options.option4)
        return parts;

    qsizetype lastNameStart = lastSpace + 1;
    qsizetype lastNameEnd = name.size();
    if (stepped) {
        lastNameStart = lastSpace == 0 ? 0 : name.lastIndexOf(kSpace, lastSpace - 1) + 1;
        lastNameEnd = lastSpace;
        parts.suffix = lastWord.toString();
    }
    parts.lastName = name.mid(lastNameStart, lastNameEnd - lastNameStart).toString();
    const qsizetype headStart = isParticle ? particleRunStart(name, lastNameStart, isParticle) : lastNameStart;
    if (headStart < lastNameStart)
        parts.particles = name.mid(headStart, lastNameStart - 1 - headStart).toString();
    parts.head = name.mid(headStart).toString();
    // With a suffix skipped the tail keeps the space after its last word.
    if (stepped || headStart > 0) {
        parts.tail = (stepped ? name.left(headStart) : name.left(headStart - 1)).toString();
        parts.delimited = true;
    }
    return parts;
}

Parts readParts(QStringView name, const SortOptions &options, const ReadingChoices &choices,
                const SuffixTest &isSuffix, const ParticleTest &isParticle)
{
    if (choices.lastCommaFirst) {
        if (std::optional<Parts> parts = commaLineParts(name, options, isSuffix))
            return std::move(*parts);
    }
    const bool particles = choices.keepParticles && isParticle && lastFirstReading(options);
    return plainParts(name, options, isSuffix, particles ? isParticle : ParticleTest());
}

} // namespace

NameReading readName(QStringView name, const SortOptions &options, const ReadingChoices &choices,
                     const SuffixTest &isSuffix, const ParticleTest &isParticle)
{
    Parts parts = readParts(name, options, choices, isSuffix, isParticle);
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
    buildReadingKeyInto(key, name, options, choices, isSuffix, isParticle, commaLine);
    return key;
}

void buildReadingKeyInto(QString &key, QStringView name, const SortOptions &options, const ReadingChoices &choices,
                         const SuffixTest &isSuffix, const ParticleTest &isParticle, bool *commaLine)
{
    if (commaLine)
        *commaLine = false;
    if (!choices.changesKeys()) {
        buildSortKeyInto(key, name, options, isSuffix);
        return;
    }
    Parts parts = readParts(name, options, choices, isSuffix, isParticle);
    if (commaLine)
        *commaLine = parts.commaLine;
    key = parts.delimited ? parts.head + kFieldDelimiter + parts.tail : std::move(parts.head);
}

NameReading readingOfKey(QStringView key)
{
    NameReading reading;
    const QStringView head = headField(key);
    reading.sortedUnder = head.toString();
    if (head.size() < key.size())
        reading.then = trimSpaces(key.mid(head.size() + kFieldDelimiter.size())).toString();
    return reading;
}

QString sortedUnderText(const NameReading &reading)
{
    QString text = QStringLiteral("Sorted under: ") + reading.sortedUnder;
    if (!reading.then.isEmpty())
        text += QStringLiteral(", then: ") + reading.then;
    return text;
}

} // namespace orvella::sorting

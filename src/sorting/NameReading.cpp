#include "sorting/NameReading.h"

#include <optional>

namespace orvella::sorting {
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

// The fields of the option buttons' reading (see readFields) as texts.
Parts plainParts(const NameFields &fields)
{
    Parts parts;
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

Parts readParts(QStringView name, const SortOptions &options, const ReadingChoices &choices,
                const SuffixTest &isSuffix, const ParticleTest &isParticle)
{
    if (choices.lastCommaFirst) {
        if (std::optional<Parts> parts = commaLineParts(name, options, isSuffix))
            return std::move(*parts);
    }
    return plainParts(readFields(name, options, isSuffix, particlesOf(choices, isParticle)));
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

NameReading readName(QStringView name, const SortOptions &options, const ReadingChoices &choices,
                     const WordTests &words)
{
    return readName(name, options, choices, words.isSuffix, words.isParticle);
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
    if (choices.lastCommaFirst) {
        if (std::optional<Parts> parts = commaLineParts(name, options, isSuffix)) {
            if (commaLine)
                *commaLine = true;
            key = parts->head + kFieldDelimiter + parts->tail;
            return;
        }
    }
    buildSortKeyInto(key, name, options, isSuffix, particlesOf(choices, isParticle));
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

#include "names/NameParts.h"

#include <QStringList>

namespace orvella::names {
namespace {

// The words of a reading's tail, without the commas a "Last, First" line leaves in it.
QStringList givenWords(const QString &then)
{
    QStringList words;
    for (QStringView word : QStringView(then).split(u' ', Qt::SkipEmptyParts)) {
        while (!word.isEmpty() && word.back() == u',')
            word.chop(1);
        while (!word.isEmpty() && word.front() == u',')
            word = word.sliced(1);
        if (!word.isEmpty())
            words << word.toString();
    }
    return words;
}

// "(Bob)" and "“Bobby Jo”" as the names they bracket.
QString withoutBrackets(const QString &nickname)
{
    QStringView text(nickname);
    while (!text.isEmpty() && !text.front().isLetterOrNumber())
        text = text.sliced(1);
    while (!text.isEmpty() && !text.back().isLetterOrNumber())
        text.chop(1);
    return text.toString();
}

QString joinedWords(const QString &first, const QString &second)
{
    if (first.isEmpty() || second.isEmpty())
        return first + second;
    return first + u' ' + second;
}

} // namespace

QString NamePartTexts::lastFirst() const
{
    const QString given = joinedWords(first, middle);
    return given.isEmpty() ? last : last + QStringLiteral(", ") + given;
}

NamePartTexts NamePartsReader::read(QStringView name, const tables::NameParts *columns, bool commaLine) const
{
    ReadingChoices choices = m_choices;
    choices.lastCommaFirst = choices.lastCommaFirst || commaLine;
    const NameReading reading = readName(name, m_options, choices, m_words, columns);
    NamePartTexts parts;
    if (!choices.changesKeys() && !columns) {
        parts.last = reading.sortedUnder;
        parts.first = reading.then;
        return parts;
    }
    parts.title = reading.titles;
    parts.nickname = withoutBrackets(reading.nicknames);
    parts.suffix = reading.suffix;
    parts.last = joinedWords(reading.particles, reading.lastName);
    const QStringList given = givenWords(reading.then);
    if (m_options.firstLast()) {
        parts.first = given.join(u' ');
    } else if (!given.isEmpty()) {
        parts.first = given.front();
        parts.middle = given.mid(1).join(u' ');
    }
    return parts;
}

} // namespace orvella::names

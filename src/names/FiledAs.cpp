#include "names/FiledAs.h"

#include "names/NameWords.h"
#include "names/SortKeys.h"

#include <QRegularExpression>

namespace orvella::names {

namespace {
std::u16string_view viewOf(QStringView text)
{
    return {reinterpret_cast<const char16_t *>(text.utf16()), size_t(text.size())};
}
} // namespace

FiledAsList::FiledAsList(const QList<FiledAsEntry> &entries)
{
    for (const FiledAsEntry &given : entries) {
        FiledAsEntry entry{tidySpaces(given.name), tidySpaces(given.fileUnder), tidySpaces(given.rest)};
        if (entry.name.isEmpty() || entry.fileUnder.isEmpty())
            continue;
        const auto [at, added] = m_index.try_emplace(std::u16string(viewOf(entry.name)), m_entries.size());
        m_likely.set(likelyPlace(viewOf(entry.name)));
        QString tail = entry.rest.isEmpty() ? restOfName(entry.name, entry.fileUnder) : entry.rest;
        if (added) {
            m_entries.append(std::move(entry));
            m_tails.append(std::move(tail));
        } else {
            m_entries[at->second] = std::move(entry);
            m_tails[at->second] = std::move(tail);
        }
    }
}

const FiledAsEntry *FiledAsList::find(QStringView name) const
{
    if (m_entries.empty())
        return nullptr;
    // Most names are tidy already: they are looked up as they stand.
    thread_local QString tidied;
    QStringView key = name;
    if (!isTidy(name)) {
        tidied = tidySpaces(name);
        key = tidied;
    }
    if (!m_likely.test(likelyPlace(viewOf(key))))
        return nullptr;
    const auto found = m_index.find(viewOf(key));
    return found == m_index.end() ? nullptr : &m_entries[found->second];
}

size_t FiledAsList::likelyPlace(std::u16string_view name)
{
    if (name.empty())
        return 0;
    const size_t mixed = name.size() * 0x9E37u ^ size_t(name.front()) * 0x85EBu ^ size_t(name.back()) * 0xC2B3u;
    return (mixed ^ (mixed >> 16)) & 0xFFFFu;
}

QList<FiledAsEntry> FiledAsList::readLines(QStringView text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QList<FiledAsEntry> entries;
    for (const QString &line : text.toString().split(lineBreak, Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() < 2)
            continue;
        FiledAsEntry entry{tidySpaces(fields[0]), tidySpaces(fields[1]),
                           fields.size() > 2 ? tidySpaces(fields[2]) : QString()};
        if (!entry.name.isEmpty() && !entry.fileUnder.isEmpty())
            entries.append(std::move(entry));
    }
    return entries;
}

QString FiledAsList::lines(const QList<FiledAsEntry> &entries)
{
    QString text;
    for (const FiledAsEntry &entry : entries) {
        if (!text.isEmpty())
            text.append(QLatin1Char('\n'));
        text.append(entry.name).append(QLatin1Char('\t')).append(entry.fileUnder);
        if (!entry.rest.isEmpty())
            text.append(QLatin1Char('\t')).append(entry.rest);
    }
    return text;
}

QString restOfName(QStringView name, QStringView fileUnder)
{
    qsizetype from = 0;
    while ((from = name.indexOf(fileUnder, from)) >= 0) {
        const qsizetype end = from + fileUnder.size();
        const bool startsWord = from == 0 || name[from - 1] == QLatin1Char(' ');
        const bool comma = end < name.size() && name[end] == QLatin1Char(',');
        const bool endsWord = end == name.size() || name[end] == QLatin1Char(' ') || comma;
        if (startsWord && endsWord) // the comma after the words goes with them ("Smith, John")
            return tidySpaces(name.first(from).toString() + QLatin1Char(' ') + name.sliced(end + (comma ? 1 : 0)).toString());
        ++from;
    }
    return name.toString();
}

void buildFiledAsKey(QString &key, const FiledAsList &list, const FiledAsEntry &entry)
{
    buildFiledAsKey(key, entry.fileUnder, list.tailOf(entry));
}

void buildFiledAsKey(QString &key, QStringView fileUnder, QStringView tail)
{
    key.resize(0);
    key.append(fileUnder).append(kFieldDelimiter).append(tail);
    key.append(kSteppedMark).append(kFiledMark);
}

} // namespace orvella::names

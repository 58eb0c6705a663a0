#include "names/LearntNames.h"

#include "names/NameWords.h"
#include "names/SortKeys.h"

namespace orvella::names {

QString typedForm(QStringView key)
{
    const KeyParts parts = splitKey(key);
    QStringView rest = parts.tail;
    const qsizetype mark = rest.indexOf(kSteppedMark);
    if (mark >= 0)
        rest = rest.left(mark);
    rest = trimSpaces(rest);
    if (rest.isEmpty())
        return parts.head.toString();
    QString typed;
    typed.reserve(rest.size() + 1 + parts.head.size());
    typed.append(rest).append(QLatin1Char(' ')).append(parts.head);
    return typed;
}

qsizetype steppedStart(QStringView key)
{
    const KeyParts parts = splitKey(key);
    const qsizetype mark = parts.split ? parts.tail.indexOf(kSteppedMark) : -1;
    return mark < 0 ? key.size() : key.size() - parts.tail.size() + mark;
}

void takeLearntLastName(QString &key, const QString &learnt)
{
    const qsizetype stepped = steppedStart(key);
    if (stepped == key.size()) {
        key = learnt;
        return;
    }
    QString own = key.sliced(stepped);
    key = learnt;
    if (headField(learnt).size() == learnt.size())
        key.append(kFieldDelimiter);
    key.append(own);
}

} // namespace orvella::names

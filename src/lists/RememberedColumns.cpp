#include "lists/RememberedColumns.h"

#include "core/SettingsStore.h"

#include <QCryptographicHash>
#include <QMap>

#include <algorithm>

namespace orvella::lists {

using core::ColumnChoice;

namespace {

const QString kKeyPrefix = QStringLiteral("NameColumns");
const QString kForgottenKey = QStringLiteral("NameColumnsForgotten");
const char *const kForgottenField = "forgotten";

struct KindName {
    ColumnChoice::Kind kind;
    const char *name;
};
const KindName kKindNames[] = {
    {ColumnChoice::Kind::WholeName, "whole"},
    {ColumnChoice::Kind::NameParts, "parts"},
    {ColumnChoice::Kind::Lines, "lines"},
};

// The column fields of the value, in the order they are written.
struct ColumnField {
    const char *name;
    int ColumnChoice::*column;
};
const ColumnField kColumnFields[] = {
    {"whole", &ColumnChoice::wholeName}, {"last", &ColumnChoice::lastName}, {"first", &ColumnChoice::firstName},
    {"middle", &ColumnChoice::middleName}, {"suffix", &ColumnChoice::suffix},
};

QStringList withoutEmptyEnd(QStringList cells)
{
    while (!cells.isEmpty() && cells.last().trimmed().isEmpty())
        cells.removeLast();
    return cells;
}

// "key=value" fields separated by spaces; nullopt when one is not of that form or a
// key comes twice.
std::optional<QMap<QString, QString>> fieldsOf(const QString &text)
{
    QMap<QString, QString> fields;
    for (const QString &field : text.split(u' ', Qt::SkipEmptyParts)) {
        const qsizetype equals = field.indexOf(u'=');
        if (equals <= 0 || fields.contains(field.left(equals)))
            return std::nullopt;
        fields.insert(field.left(equals), field.mid(equals + 1));
    }
    return fields;
}

std::optional<int> numberIn(const QMap<QString, QString> &fields, const char *name)
{
    bool ok = false;
    const int number = fields.value(QString::fromLatin1(name)).toInt(&ok);
    return ok ? std::optional<int>(number) : std::nullopt;
}

// Columns count from 0, -1 being none; the kind's own columns must be there.
bool columnsFit(const ColumnChoice &choice, int columns)
{
    for (const ColumnField &field : kColumnFields) {
        const int column = choice.*field.column;
        if (column < -1 || column >= columns)
            return false;
    }
    if (choice.filedAs >= columns)
        return false;
    switch (choice.kind) {
    case ColumnChoice::Kind::WholeName: return choice.wholeName >= 0;
    case ColumnChoice::Kind::NameParts: return choice.lastName >= 0 && choice.firstName >= 0;
    case ColumnChoice::Kind::Lines: return true;
    case ColumnChoice::Kind::Cancel: break;
    }
    return false;
}

const QString kGroupField = QStringLiteral("group");
const QString kGroupOrderField = QStringLiteral("groups");
const QString kSameField = QStringLiteral("same");

// The grouping as value fields; none for the choice that groups nothing and compares names.
QString groupingText(const core::RowGrouping &grouping)
{
    if (!grouping.groups() && grouping.sameRows == core::RowGrouping::SameRows::Name)
        return {};
    const bool firstMet = grouping.order == core::RowGrouping::Order::FirstMet;
    QString same = QStringLiteral("name");
    if (grouping.sameRows == core::RowGrouping::SameRows::Row)
        same = QStringLiteral("row");
    else if (grouping.sameRows == core::RowGrouping::SameRows::Column)
        same = QString::number(grouping.sameColumn);
    return QStringLiteral(" %1=%2 %3=%4 %5=%6")
        .arg(kGroupField, QString::number(grouping.column), kGroupOrderField,
             firstMet ? QStringLiteral("first") : QStringLiteral("natural"), kSameField, same);
}

// The grouping the fields hold, its columns captioned by the header; nullopt when they
// hold none or a damaged one.
std::optional<core::RowGrouping> groupingOf(const QMap<QString, QString> &fields, const QStringList &header)
{
    const std::optional<int> column = numberIn(fields, "group");
    const QString order = fields.value(kGroupOrderField);
    const QString same = fields.value(kSameField);
    bool sameIsColumn = false;
    const int sameColumn = same.toInt(&sameIsColumn);
    const auto fits = [&header](int c) { return c >= 0 && c < header.size(); };
    if (!column || (*column != -1 && !fits(*column)) || (order != u"natural" && order != u"first") ||
        (sameIsColumn ? !fits(sameColumn) : same != u"name" && same != u"row"))
        return std::nullopt;
    core::RowGrouping grouping;
    grouping.column = *column;
    grouping.caption = fits(*column) ? header[*column].trimmed() : QString();
    grouping.order = order == u"first" ? core::RowGrouping::Order::FirstMet : core::RowGrouping::Order::Natural;
    grouping.sameRows = sameIsColumn     ? core::RowGrouping::SameRows::Column
                        : same == u"row" ? core::RowGrouping::SameRows::Row
                                         : core::RowGrouping::SameRows::Name;
    if (sameIsColumn) {
        grouping.sameColumn = sameColumn;
        grouping.sameCaption = header[sameColumn].trimmed();
    }
    return grouping;
}

} // namespace

RememberedColumns::RememberedColumns(core::SettingsStore &settings) : m_settings(settings) {}

bool RememberedColumns::isItsKey(const QString &key)
{
    return key.startsWith(kKeyPrefix);
}

QString RememberedColumns::keyFor(const QStringList &headerRow)
{
    QStringList cells;
    for (const QString &cell : withoutEmptyEnd(headerRow))
        cells << cell.trimmed().toCaseFolded();
    const QByteArray hash =
        QCryptographicHash::hash(cells.join(QChar(u'\u001F')).toUtf8(), QCryptographicHash::Sha1).toHex();
    return kKeyPrefix + QString::fromLatin1(hash.left(16));
}

QString RememberedColumns::valueText(const ColumnChoice &choice)
{
    QStringList fields;
    for (const KindName &k : kKindNames) {
        if (k.kind == choice.kind)
            fields << QStringLiteral("kind=") + QLatin1String(k.name);
    }
    fields << QStringLiteral("header=%1").arg(choice.firstRowIsHeader ? 1 : 0);
    for (const ColumnField &field : kColumnFields)
        fields << QLatin1String(field.name) + QStringLiteral("=%1").arg(choice.*field.column);
    fields << QStringLiteral("ask=%1").arg(choice.dontAskAgain ? 0 : 1);
    // Written only when chosen, so that a choice without one is stored as before.
    if (choice.filedAs >= 0)
        fields << QStringLiteral("filedas=%1").arg(choice.filedAs);
    return fields.join(u' ');
}

std::optional<ColumnChoice> RememberedColumns::choiceFromText(const QString &text)
{
    const std::optional<QMap<QString, QString>> fields = fieldsOf(text);
    if (!fields)
        return std::nullopt;
    ColumnChoice choice;
    const QString kind = fields->value(QStringLiteral("kind"));
    const auto known = std::find_if(std::begin(kKindNames), std::end(kKindNames),
                                    [&kind](const KindName &k) { return kind == QLatin1String(k.name); });
    if (known == std::end(kKindNames))
        return std::nullopt;
    choice.kind = known->kind;
    const std::optional<int> header = numberIn(*fields, "header");
    const std::optional<int> ask = numberIn(*fields, "ask");
    if (!header || !ask || (*header != 0 && *header != 1) || (*ask != 0 && *ask != 1))
        return std::nullopt;
    choice.firstRowIsHeader = *header == 1;
    choice.dontAskAgain = *ask == 0;
    for (const ColumnField &field : kColumnFields) {
        const std::optional<int> column = numberIn(*fields, field.name);
        if (!column)
            return std::nullopt;
        choice.*field.column = *column;
    }
    if (fields->contains(QStringLiteral("filedas"))) {
        const std::optional<int> filedAs = numberIn(*fields, "filedas");
        if (!filedAs || *filedAs < -1)
            return std::nullopt;
        choice.filedAs = *filedAs;
    }
    return choice;
}

int RememberedColumns::timesForgotten() const
{
    bool ok = false;
    const int times = m_settings.read(kForgottenKey, QString()).toInt(&ok);
    return ok && times > 0 ? times : 0;
}

std::optional<QMap<QString, QString>> RememberedColumns::currentFields(const QStringList &headerRow) const
{
    const QString key = keyFor(headerRow);
    if (!m_settings.contains(key))
        return std::nullopt;
    std::optional<QMap<QString, QString>> fields = fieldsOf(m_settings.read(key, QString()));
    const QString forgotten = QLatin1String(kForgottenField);
    const int times = timesForgotten();
    if (!fields || (fields->contains(forgotten) ? numberIn(*fields, kForgottenField) != times : times != 0))
        return std::nullopt;
    return fields;
}

std::optional<ColumnChoice> RememberedColumns::find(const QStringList &headerRow) const
{
    if (!currentFields(headerRow))
        return std::nullopt;
    std::optional<ColumnChoice> choice = choiceFromText(m_settings.read(keyFor(headerRow), QString()));
    if (!choice || !choice->firstRowIsHeader || !columnsFit(*choice, int(headerRow.size())))
        return std::nullopt;
    return choice;
}

std::optional<core::RowGrouping> RememberedColumns::findGrouping(const QStringList &headerRow) const
{
    const std::optional<QMap<QString, QString>> fields = currentFields(headerRow);
    if (!fields || !fields->contains(kGroupField))
        return std::nullopt;
    return groupingOf(*fields, headerRow);
}

std::optional<ColumnChoice> RememberedColumns::findIn(const QList<QStringList> &firstRows) const
{
    for (qsizetype row = 0; row < firstRows.size(); ++row) {
        if (withoutEmptyEnd(firstRows[row]).isEmpty())
            continue; // a blank row names no table
        if (std::optional<ColumnChoice> choice = find(firstRows[row])) {
            choice->headerRow = int(row);
            return choice;
        }
    }
    return std::nullopt;
}

void RememberedColumns::remember(const QStringList &headerRow, const ColumnChoice &choice)
{
    if (!choice.firstRowIsHeader || choice.kind == ColumnChoice::Kind::Cancel || withoutEmptyEnd(headerRow).isEmpty())
        return;
    // A grouping chosen for the header stays with the columns.
    const std::optional<core::RowGrouping> grouping = findGrouping(headerRow);
    write(headerRow, valueText(choice) + (grouping ? groupingText(*grouping) : QString()));
}

void RememberedColumns::rememberGrouping(const QStringList &headerRow, const ColumnChoice &columns,
                                         const core::RowGrouping &grouping)
{
    if (!columns.firstRowIsHeader || columns.kind == ColumnChoice::Kind::Cancel ||
        withoutEmptyEnd(headerRow).isEmpty())
        return;
    write(headerRow, valueText(columns) + groupingText(grouping));
}

void RememberedColumns::write(const QStringList &headerRow, QString value)
{
    if (const int times = timesForgotten())
        value += QStringLiteral(" %1=%2").arg(QLatin1String(kForgottenField)).arg(times);
    m_settings.write(keyFor(headerRow), value);
}

void RememberedColumns::forgetAll()
{
    m_settings.write(kForgottenKey, QString::number(timesForgotten() + 1));
}

} // namespace orvella::lists

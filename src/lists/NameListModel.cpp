#include "lists/NameListModel.h"

#include "lists/ListEditKinds.h"

#include "core/BackgroundWork.h"
#include "core/Failure.h"
#include "core/ShownText.h"

#include <QTimer>
#include <algorithm>
#include <utility>

namespace orvella::lists {
using namespace edits;

NameListModel::NameListModel(QString caption, QObject *parent)
    : QAbstractListModel(parent), m_caption(std::move(caption)), m_selection(this)
{
}

void NameListModel::checkPosition(int position) const
{
    if (position < 1 || position > size())
        throw core::Failure(QStringLiteral("List position %1 does not exist (the list holds %2 items)")
                               .arg(position)
                               .arg(size()));
}

QStringView NameListModel::itemView(int position) const
{
    checkPosition(position);
    if (m_origin) {
        // Read in order (a save, a copy, an export), a list of places reaches all over
        // its source's blocks: the items a little ahead are asked for now, first where
        // they lie, a few items later their text.
        const qsizetype item = position - 1;
        if (item + 16 < size())
            m_origin->prefetch(item + 16, m_items, false);
        if (item + 8 < size())
            m_origin->prefetch(item + 8, m_items, true);
    }
    return textAt(position - 1);
}

QStringList NameListModel::items() const
{
    if (!m_origin)
        return m_items.toList();
    QStringList items;
    items.reserve(size());
    for (qsizetype row = 0; row < size(); ++row)
        items.append(textAt(row).toString());
    return items;
}

tables::TextRows NameListModel::sharedTexts() const
{
    return m_origin ? m_origin->itemsWith(m_items) : m_items.shared();
}

void NameListModel::ownTexts()
{
    if (m_origin)
        m_items = std::exchange(m_origin, std::nullopt)->itemsWith(m_items);
}

void NameListModel::appendText(QStringView text)
{
    if (m_origin)
        m_origin->add(text, -1, m_items);
    else
        m_items.append(text);
}

bool NameListModel::showRowsOf(tables::TextRows source, qsizetype expectedItems)
{
    if (size() != 0)
        return false;
    m_origin.emplace();
    m_origin->source = std::move(source);
    m_origin->rows.reserve(size_t(expectedItems));
    return true;
}

bool NameListModel::appendPlace(qsizetype sourceRow, const tables::SourceTablePtr &table, quint32 row)
{
    if (!m_origin || sourceRow < 0 || sourceRow >= m_origin->source.size())
        return false;
    recordAppendFrom(size());
    m_origin->rows.push_back(quint32(sourceRow));
    keepRow(table, row);
    appended();
    return true;
}

void NameListModel::appendFrom(QStringView shown, qsizetype sourceRow, const tables::NameRow &row)
{
    recordAppendFrom(size());
    if (m_origin)
        m_origin->add(shown, sourceRow, m_items);
    else
        m_items.append(shown);
    keepRow(row);
    appended();
}

void NameListModel::prefetchSource(qsizetype sourceRow, bool text) const
{
    if (m_origin)
        m_origin->source.prefetch(sourceRow, text);
}

void NameListModel::record(std::unique_ptr<ListEdit> edit)
{
    if (m_recorder)
        m_recorder->record(*this, std::move(edit));
}

void NameListModel::recordAppendFrom(qsizetype from)
{
    if (m_recorder && !m_recorder->appendsRecorded(*this))
        record(std::make_unique<Appended>(static_cast<int>(from)));
}

void NameListModel::append(QStringView text)
{
    recordAppendFrom(size());
    appendText(text);
    keepRow({});
    appended();
}

void NameListModel::append(QStringView text, const tables::NameRow &row)
{
    recordAppendFrom(size());
    appendText(text);
    keepRow(row);
    appended();
}

void NameListModel::appendMany(tables::TextRows names, tables::SourceTablePtr table, const std::vector<quint32> &rows)
{
    ownTexts();
    if (names.isEmpty())
        return;
    recordAppendFrom(m_items.size());
    const quint32 place = tablePlace(table);
    m_refs.resize(size_t(m_items.size()));
    m_refs.reserve(m_refs.size() + rows.size());
    for (const quint32 row : rows)
        m_refs.push_back({place, row});
    m_items.append(std::move(names));
    m_refs.resize(size_t(m_items.size()));
    appended();
}

quint32 NameListModel::tablePlace(const tables::SourceTablePtr &table)
{
    // A list holds rows of a few tables at most: the one added last is usually asked for.
    for (size_t i = m_tables.size(); i > 0; --i) {
        if (m_tables[i - 1] == table)
            return quint32(i);
    }
    m_tables.push_back(table);
    return quint32(m_tables.size());
}

void NameListModel::keepRow(const tables::SourceTablePtr &table, quint32 row)
{
    if (table) {
        const quint32 place = tablePlace(table);
        m_refs.resize(size_t(size() - 1));
        m_refs.push_back({place, row});
    } else if (!m_refs.empty()) {
        m_refs.push_back({});
    }
}

tables::NameRow NameListModel::rowOf(int position) const
{
    checkPosition(position);
    if (size_t(position) > m_refs.size())
        return {};
    const tables::RowRef ref = m_refs[size_t(position - 1)];
    return ref.table == 0 ? tables::NameRow() : tables::NameRow{m_tables[ref.table - 1], ref.row};
}

bool NameListModel::holdsTable(const tables::SourceTable *table) const
{
    return std::any_of(m_tables.begin(), m_tables.end(), [table](const tables::SourceTablePtr &kept) { return kept.get() == table; });
}

tables::SourceTablePtr NameListModel::firstTable() const
{
    const auto first = std::find_if(m_refs.begin(), m_refs.end(), [](const tables::RowRef &ref) { return ref.table != 0; });
    return first == m_refs.end() ? nullptr : m_tables[first->table - 1];
}

bool NameListModel::hasCommaLineRows() const
{
    return std::any_of(m_tables.begin(), m_tables.end(), [](const tables::SourceTablePtr &table) { return table->commaLines; });
}

bool NameListModel::hasFiledAsRows() const
{
    return std::any_of(m_tables.begin(), m_tables.end(),
                       [](const tables::SourceTablePtr &table) { return table->columns.filedAs >= 0; });
}

void NameListModel::appendMany(const QList<QString> &texts)
{
    ownTexts();
    if (texts.isEmpty())
        return;
    recordAppendFrom(m_items.size());
    for (const QString &text : texts)
        m_items.append(text);
    if (!m_refs.empty())
        m_refs.resize(size_t(m_items.size()));
    appended();
}

void NameListModel::appendMany(tables::TextRows texts)
{
    ownTexts();
    if (texts.isEmpty())
        return;
    recordAppendFrom(m_items.size());
    m_items.append(std::move(texts));
    if (!m_refs.empty())
        m_refs.resize(size_t(m_items.size()));
    appended();
}

void NameListModel::appended()
{
    if (!m_flushQueued) {
        m_flushQueued = true;
        // A view relayouts all its rows when rows arrive; with many rows shown, tell
        // it a few times a second instead of at every pass of the event loop.
        const qint64 sinceLast = m_sinceFlush.isValid() ? m_sinceFlush.elapsed() : kBigListFlushMs;
        if (m_shownRows < kSmallList || sinceLast >= kBigListFlushMs)
            QMetaObject::invokeMethod(this, &NameListModel::flushQueuedRows, Qt::QueuedConnection);
        else
            QTimer::singleShot(kBigListFlushMs - sinceLast, this, &NameListModel::flushQueuedRows);
    }
    emit itemsChanged();
}

void NameListModel::flushQueuedRows()
{
    m_flushQueued = false;
    showRows(kRowsPerPass);
    // Millions of rows reach the views a slice per pass of the event loop.
    if (hasPendingRows()) {
        m_flushQueued = true;
        QMetaObject::invokeMethod(this, &NameListModel::flushQueuedRows, Qt::QueuedConnection);
    }
}

void NameListModel::flushPendingRows()
{
    m_flushQueued = false;
    showRows(size());
}

void NameListModel::showRows(qsizetype most)
{
    const qsizetype last = std::min(size(), m_shownRows + most);
    if (last <= m_shownRows)
        return;
    m_sinceFlush.start();
    beginInsertRows(QModelIndex(), static_cast<int>(m_shownRows), static_cast<int>(last - 1));
    m_shownRows = last;
    endInsertRows();
}

void NameListModel::setItem(int position, const QString &text)
{
    checkPosition(position);
    ownTexts();
    flushPendingRows();
    if (m_recorder)
        record(std::make_unique<Replaced>(position, item(position), text));
    m_items.replace(position - 1, text);
    const QModelIndex changed = index(position - 1);
    emit dataChanged(changed, changed);
    emit itemsChanged();
}

void NameListModel::removeAt(int position)
{
    checkPosition(position);
    flushPendingRows();
    if (m_recorder)
        record(std::make_unique<Removed>(position, item(position), rowOf(position)));
    beginRemoveRows(QModelIndex(), position - 1, position - 1);
    // A place goes with its item; an own text it had stays unread until the list is cleared.
    if (m_origin)
        m_origin->rows.erase(m_origin->rows.begin() + (position - 1));
    else
        m_items.remove(position - 1);
    if (size_t(position) <= m_refs.size())
        m_refs.erase(m_refs.begin() + (position - 1));
    m_shownRows = size();
    if (m_noteSource) {
        // Rows after the removed one move up by one.
        m_noteSource = [source = std::move(m_noteSource), removed = position - 1](int row, const QString &text,
                                                                                  tables::RowNote note) {
            return source(row >= removed ? row + 1 : row, text, note);
        };
    }
    endRemoveRows();
    emit itemsChanged();
}

void NameListModel::clear()
{
    if (m_recorder && !isEmpty()) {
        // The rows go to the recorded edit, to come back if the clear is taken back.
        Tail rows = takeTail(0);
        record(std::make_unique<Cleared>(std::move(rows)));
        return;
    }
    beginResetModel();
    // Freeing ten million names' blocks takes a moment of its own: done on a worker.
    core::releaseInBackground(std::exchange(m_items, tables::TextRows()));
    core::releaseInBackground(std::exchange(m_refs, {}));
    core::releaseInBackground(std::exchange(m_tables, {}));
    if (m_origin) {
        core::releaseInBackground(std::move(m_origin->source));
        core::releaseInBackground(std::move(m_origin->rows));
        m_origin.reset();
    }
    m_shownRows = 0;
    m_noteSource = {};
    endResetModel();
    emit itemsChanged();
}

void NameListModel::insertAt(int position, QStringView text, const tables::NameRow &row)
{
    if (position != count() + 1)
        checkPosition(position);
    ownTexts();
    flushPendingRows();
    beginInsertRows(QModelIndex(), position - 1, position - 1);
    m_items.insert(position - 1, text);
    if (row || !m_refs.empty()) {
        m_refs.resize(size_t(m_items.size() - 1));
        m_refs.insert(m_refs.begin() + (position - 1), row ? tables::RowRef{tablePlace(row.table), row.row} : tables::RowRef());
    }
    m_shownRows = m_items.size();
    if (m_noteSource) {
        // Rows after the inserted one move down by one; the inserted row has none.
        m_noteSource = [source = std::move(m_noteSource), inserted = position - 1](int row, const QString &text,
                                                                                   tables::RowNote note) {
            return row == inserted ? QString() : source(row > inserted ? row - 1 : row, text, note);
        };
    }
    endInsertRows();
    emit itemsChanged();
}

NameListModel::Tail NameListModel::takeTail(int keep)
{
    Tail tail;
    keep = std::clamp(keep, 0, count());
    if (keep >= size())
        return tail;
    // Many rows leave a view faster by a reset than by a removal it has to lay out.
    const bool reset = keep == 0 || m_shownRows - keep > kSmallList;
    const bool shown = keep < m_shownRows;
    if (reset)
        beginResetModel();
    else if (shown)
        beginRemoveRows(QModelIndex(), keep, static_cast<int>(m_shownRows - 1));
    if (keep == 0 && m_origin) {
        // The places go as they are, with the own texts they point into.
        tail.origin = std::exchange(m_origin, std::nullopt);
        tail.rows = std::exchange(m_items, tables::TextRows());
    } else {
        ownTexts();
        tail.rows = m_items.takeFrom(keep);
    }
    if (size_t(keep) < m_refs.size()) {
        tail.refs.assign(m_refs.begin() + keep, m_refs.end());
        tail.tables = m_tables;
        m_refs.resize(size_t(keep));
    }
    if (keep == 0) {
        tail.notes = std::exchange(m_noteSource, {});
        m_refs = {};
        m_tables = {};
    }
    m_shownRows = std::min<qsizetype>(m_shownRows, keep);
    if (reset)
        endResetModel();
    else if (shown)
        endRemoveRows();
    emit itemsChanged();
    return tail;
}

void NameListModel::restoreTail(Tail tail)
{
    const qsizetype before = size();
    if (tail.origin && before == 0) {
        // Put back into an empty list, the items are places again.
        m_origin = std::move(tail.origin);
        m_items = std::move(tail.rows);
    } else {
        ownTexts();
        if (tail.origin)
            tail.rows = tail.origin->itemsWith(tail.rows);
        if (tail.rows.isEmpty())
            return;
        m_items.append(std::move(tail.rows));
    }
    if (size() == before)
        return;
    if (before == 0 && tail.notes)
        m_noteSource = std::move(tail.notes);
    if (!tail.refs.empty()) {
        // The tail's tables take their places among this list's.
        std::vector<quint32> places;
        for (const tables::SourceTablePtr &table : tail.tables)
            places.push_back(tablePlace(table));
        m_refs.resize(size_t(before));
        for (const tables::RowRef ref : tail.refs)
            m_refs.push_back(ref.table == 0 ? tables::RowRef() : tables::RowRef{places[ref.table - 1], ref.row});
    }
    if (!m_refs.empty())
        m_refs.resize(size_t(size()));
    appended();
}

void NameListModel::addBlocksHeld(std::vector<tables::TextRows::BlockHeld> &into) const
{
    m_items.addBlocks(into);
    if (m_origin)
        m_origin->source.addBlocks(into);
}

void NameListModel::setNoteSource(NoteSource source)
{
    m_noteSource = std::move(source);
}

QString NameListModel::note(int position, tables::RowNote kind) const
{
    checkPosition(position);
    return m_noteSource ? m_noteSource(position - 1, item(position), kind) : QString();
}

int NameListModel::selectedPosition() const
{
    const QModelIndex current = m_selection.currentIndex();
    if (current.isValid() && m_selection.isSelected(current))
        return current.row() + 1;
    const QModelIndexList rows = m_selection.selectedRows();
    return rows.isEmpty() ? 0 : rows.first().row() + 1;
}

void NameListModel::select(int position)
{
    checkPosition(position);
    flushPendingRows();
    m_selection.setCurrentIndex(index(position - 1), QItemSelectionModel::ClearAndSelect);
}

int NameListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_shownRows);
}

QVariant NameListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_shownRows || index.column() != 0)
        return {};
    if (role == Qt::DisplayRole) // a very long item shows its beginning only (the item keeps it all)
        return core::shownText(textAt(index.row()));
    if (role == Qt::EditRole)
        return textAt(index.row()).toString();
    const bool noted = role == Qt::ToolTipRole || role == Qt::AccessibleTextRole || role == Qt::AccessibleDescriptionRole;
    if (!m_noteSource || !noted)
        return {};
    const QString text = textAt(index.row()).toString();
    // A group's first row says which group starts: in its tooltip, and to a screen
    // reader before the name.
    const QString group = m_noteSource(index.row(), text, tables::RowNote::GroupStart);
    if (role == Qt::AccessibleTextRole && !group.isEmpty())
        return core::shownText(group + QStringLiteral(", ") + text);
    if (role == Qt::AccessibleDescriptionRole && !group.isEmpty())
        return group;
    if (role == Qt::ToolTipRole) {
        // Cut like the row itself: a tooltip can name a whole multi-megabyte name.
        QString tip = m_noteSource(index.row(), text, tables::RowNote::ToolTip);
        if (!group.isEmpty())
            tip = tip.isEmpty() ? group : group + QLatin1Char('\n') + tip;
        if (!tip.isEmpty())
            return core::shownText(tip);
    }
    return {};
}

QVariant NameListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section == 0 && role == Qt::DisplayRole)
        return m_caption;
    return QAbstractListModel::headerData(section, orientation, role);
}

} // namespace orvella::lists

#include "lists/NameListModel.h"

#include "core/BackgroundWork.h"
#include "core/Failure.h"
#include "core/ShownText.h"

#include <QTimer>
#include <algorithm>
#include <utility>

namespace orvella::lists {
namespace {

// Rows appended from position `from` (0-based) on, in one batch or several.
class Appended : public ListEdit {
public:
    explicit Appended(int from) : m_from(from) {}
    void undo(NameListModel &list) override { m_tail = list.takeTail(m_from); }
    void redo(NameListModel &list) override { list.restoreTail(std::move(m_tail)); }
    bool appendsRows() const override { return true; }

private:
    int m_from;
    NameListModel::Tail m_tail;
};

class Removed : public ListEdit {
public:
    Removed(int position, QString text) : m_position(position), m_text(std::move(text)) {}
    void undo(NameListModel &list) override { list.insertAt(m_position, m_text); }
    void redo(NameListModel &list) override { list.removeAt(m_position); }
    qsizetype rowsHeld() const override { return 1; }

private:
    int m_position;
    QString m_text;
};

class Replaced : public ListEdit {
public:
    Replaced(int position, QString before, QString after)
        : m_position(position), m_before(std::move(before)), m_after(std::move(after))
    {
    }
    void undo(NameListModel &list) override { list.setItem(m_position, m_before); }
    void redo(NameListModel &list) override { list.setItem(m_position, m_after); }

private:
    int m_position;
    QString m_before;
    QString m_after;
};

// A clear keeps the list's blocks (and tooltips) rather than freeing them.
class Cleared : public ListEdit {
public:
    explicit Cleared(NameListModel::Tail rows) : m_rows(std::move(rows)), m_count(m_rows.rows.size()) {}
    void undo(NameListModel &list) override { list.restoreTail(std::move(m_rows)); }
    void redo(NameListModel &list) override { m_rows = list.takeTail(0); }
    qsizetype rowsHeld() const override { return m_count; }

private:
    NameListModel::Tail m_rows;
    qsizetype m_count;
};

} // namespace

NameListModel::NameListModel(QString caption, QObject *parent)
    : QAbstractListModel(parent), m_caption(std::move(caption)), m_selection(this)
{
}

void NameListModel::checkPosition(int position) const
{
    if (position < 1 || position > m_items.size())
        throw core::Failure(QStringLiteral("List position %1 does not exist (the list holds %2 items)")
                               .arg(position)
                               .arg(m_items.size()));
}

QStringView NameListModel::itemView(int position) const
{
    checkPosition(position);
    return m_items.at(position - 1);
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
    recordAppendFrom(m_items.size());
    m_items.append(text);
    appended();
}

void NameListModel::appendMany(const QList<QString> &texts)
{
    if (texts.isEmpty())
        return;
    recordAppendFrom(m_items.size());
    for (const QString &text : texts)
        m_items.append(text);
    appended();
}

void NameListModel::appendMany(TextRows texts)
{
    if (texts.isEmpty())
        return;
    recordAppendFrom(m_items.size());
    m_items.append(std::move(texts));
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
    showRows(m_items.size());
}

void NameListModel::showRows(qsizetype most)
{
    const qsizetype last = std::min(m_items.size(), m_shownRows + most);
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
        record(std::make_unique<Removed>(position, item(position)));
    beginRemoveRows(QModelIndex(), position - 1, position - 1);
    m_items.remove(position - 1);
    m_shownRows = m_items.size();
    if (m_toolTipSource) {
        // Rows after the removed one move up by one.
        m_toolTipSource = [source = std::move(m_toolTipSource), removed = position - 1](int row, const QString &text) {
            return source(row >= removed ? row + 1 : row, text);
        };
    }
    endRemoveRows();
    emit itemsChanged();
}

void NameListModel::clear()
{
    if (m_recorder && !m_items.isEmpty()) {
        // The rows go to the recorded edit, to come back if the clear is taken back.
        Tail rows = takeTail(0);
        record(std::make_unique<Cleared>(std::move(rows)));
        return;
    }
    beginResetModel();
    // Freeing ten million names' blocks takes a moment of its own: done on a worker.
    core::releaseInBackground(std::exchange(m_items, TextRows()));
    m_shownRows = 0;
    m_toolTipSource = {};
    endResetModel();
    emit itemsChanged();
}

void NameListModel::insertAt(int position, QStringView text)
{
    if (position != count() + 1)
        checkPosition(position);
    flushPendingRows();
    beginInsertRows(QModelIndex(), position - 1, position - 1);
    m_items.insert(position - 1, text);
    m_shownRows = m_items.size();
    if (m_toolTipSource) {
        // Rows after the inserted one move down by one; the inserted row has none.
        m_toolTipSource = [source = std::move(m_toolTipSource), inserted = position - 1](int row, const QString &text) {
            return row == inserted ? QString() : source(row > inserted ? row - 1 : row, text);
        };
    }
    endInsertRows();
    emit itemsChanged();
}

NameListModel::Tail NameListModel::takeTail(int keep)
{
    Tail tail;
    keep = std::clamp(keep, 0, count());
    if (keep >= m_items.size())
        return tail;
    // Many rows leave a view faster by a reset than by a removal it has to lay out.
    const bool reset = keep == 0 || m_shownRows - keep > kSmallList;
    const bool shown = keep < m_shownRows;
    if (reset)
        beginResetModel();
    else if (shown)
        beginRemoveRows(QModelIndex(), keep, static_cast<int>(m_shownRows - 1));
    tail.rows = m_items.takeFrom(keep);
    if (keep == 0)
        tail.toolTips = std::exchange(m_toolTipSource, {});
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
    if (tail.rows.isEmpty())
        return;
    if (m_items.isEmpty() && tail.toolTips)
        m_toolTipSource = std::move(tail.toolTips);
    m_items.append(std::move(tail.rows));
    appended();
}

void NameListModel::setToolTipSource(ToolTipSource source)
{
    m_toolTipSource = std::move(source);
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
        return core::shownText(m_items.at(index.row()));
    if (role == Qt::EditRole)
        return m_items.at(index.row()).toString();
    if (role == Qt::ToolTipRole && m_toolTipSource) {
        // Cut like the row itself: a tooltip can name a whole multi-megabyte name.
        QString tip = m_toolTipSource(index.row(), m_items.at(index.row()).toString());
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

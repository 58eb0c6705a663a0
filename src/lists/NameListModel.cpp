#include "lists/NameListModel.h"

#include "core/BackgroundWork.h"
#include "core/Failure.h"
#include "core/ShownText.h"

#include <QTimer>
#include <algorithm>
#include <utility>

namespace orvella::lists {

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

void NameListModel::append(QStringView text)
{
    m_items.append(text);
    appended();
}

void NameListModel::appendMany(const QList<QString> &texts)
{
    if (texts.isEmpty())
        return;
    for (const QString &text : texts)
        m_items.append(text);
    appended();
}

void NameListModel::appendMany(TextRows texts)
{
    if (texts.isEmpty())
        return;
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
    m_items.replace(position - 1, text);
    const QModelIndex changed = index(position - 1);
    emit dataChanged(changed, changed);
    emit itemsChanged();
}

void NameListModel::removeAt(int position)
{
    checkPosition(position);
    flushPendingRows();
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
    beginResetModel();
    // Freeing ten million names' blocks takes a moment of its own: done on a worker.
    core::releaseInBackground(std::exchange(m_items, TextRows()));
    m_shownRows = 0;
    m_toolTipSource = {};
    endResetModel();
    emit itemsChanged();
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

#include "app/NamePreviewModel.h"

#include "lists/NameColumns.h"

#include <algorithm>

namespace orvella::app {

NamePreviewModel::NamePreviewModel(QList<QStringList> rows, QObject *parent)
    : QAbstractTableModel(parent), m_rows(std::move(rows))
{
}

void NamePreviewModel::show(const core::ColumnChoice &choice, const QStringList &captions)
{
    beginResetModel();
    m_firstRow = std::min<qsizetype>(choice.firstNameRow(), m_rows.size());
    m_names.clear();
    for (qsizetype r = m_firstRow; r < m_rows.size(); ++r)
        m_names.append(lists::nameOfRow(m_rows[r], choice));
    m_captions = captions;
    m_order = columnOrder(choice, int(captions.size()));
    endResetModel();
}

std::vector<int> NamePreviewModel::columnOrder(const core::ColumnChoice &choice, int columns)
{
    std::vector<int> order;
    order.reserve(size_t(std::max(columns, 0)));
    std::vector<bool> placed(size_t(std::max(columns, 0)), false);
    const auto place = [&](int column) {
        if (column >= 0 && column < columns && !placed[size_t(column)]) {
            placed[size_t(column)] = true;
            order.push_back(column);
        }
    };
    if (choice.kind == core::ColumnChoice::Kind::NameParts) {
        for (const int column : {choice.lastName, choice.firstName, choice.middleName, choice.suffix})
            place(column);
    } else {
        place(choice.wholeName);
    }
    for (int column = 0; column < columns; ++column)
        place(column);
    return order;
}

int NamePreviewModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_names.size());
}

int NamePreviewModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_order.size()) + 1;
}

QVariant NamePreviewModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_names.size())
        return {};
    if (index.column() == 0)
        return m_names[index.row()];
    const size_t at = size_t(index.column() - 1);
    return at < m_order.size() ? m_rows[m_firstRow + index.row()].value(m_order[at]) : QVariant();
}

QVariant NamePreviewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Vertical) // the row's number in the file
        return QString::number(m_firstRow + section + 1);
    if (section == 0)
        return QStringLiteral("Name as read");
    const size_t at = size_t(section - 1);
    return at < m_order.size() ? m_captions.value(m_order[at]) : QVariant();
}

} // namespace orvella::app

#pragma once

#include "core/ColumnChoice.h"

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

#include <vector>

namespace orvella::app {

// The preview of "Choose Name Columns": the first rows of a table below its header as a
// choice reads them, each with its row number in the file, the name as read first, then the columns the choice takes the name from, then
// the others in the table's order. Cells are read from the rows when a view asks for
// them, so a table of 16,384 columns costs no item or header label of its own.
class NamePreviewModel : public QAbstractTableModel {
public:
    explicit NamePreviewModel(QList<QStringList> rows, QObject *parent = nullptr);

    // Shows the rows as the choice reads them, under these captions (one a column).
    void show(const core::ColumnChoice &choice, const QStringList &captions);

    // The table's columns in the order the preview shows them after "Name as read":
    // the choice's name columns first, then every other one.
    static std::vector<int> columnOrder(const core::ColumnChoice &choice, int columns);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const QList<QStringList> m_rows; // shared with the dialog's copy
    qsizetype m_firstRow = 0;
    QStringList m_names; // the name as read of each row shown
    QStringList m_captions;
    std::vector<int> m_order;
};

} // namespace orvella::app

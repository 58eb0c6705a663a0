#pragma once

#include "core/Failure.h"
#include "export/ExportList.h"
#include "support/Printers.h"

#include <QList>
#include <QSet>
#include <QStringList>
#include <ostream>

namespace orvella::testing {

// A list of several columns for the exports: rows of fields, optionally some items
// reported as unchecked.
struct TableList : exporting::ExportList {
    QStringList captions{QStringLiteral("Result(s)")};
    QList<QStringList> rows;
    QSet<int> unchecked; // 1-based items

    TableList() = default;
    TableList(QStringList captionList, QList<QStringList> rowList)
        : captions(std::move(captionList)), rows(std::move(rowList))
    {
    }
    static TableList oneColumn(const QStringList &items)
    {
        TableList t;
        for (const QString &item : items)
            t.rows.append(QStringList{item});
        return t;
    }

    int columnCount() const override { return static_cast<int>(captions.size()); }
    QString caption(int column) const override { return captions.value(column - 1); }
    int itemCount() const override { return static_cast<int>(rows.size()); }
    QString field(int item, int column) const override
    {
        if (item < 1 || item > rows.size())
            throw core::Failure(QStringLiteral("no item %1").arg(item));
        return rows[item - 1].value(column - 1);
    }
    bool isChecked(int item) const override
    {
        if (item < 1 || item > rows.size())
            throw core::Failure(QStringLiteral("no item %1").arg(item));
        return !unchecked.contains(item);
    }
};

} // namespace orvella::testing

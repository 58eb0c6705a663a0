#pragma once

#include <QString>
#include <QStringList>

namespace orvella::core {

// How a sort of table rows groups its results and which rows count as the same, as
// the "Group By Column" dialog answers. A column is known by its header caption when
// the table has one (so that a table with the same header but the columns moved
// groups alike), else by its number, counted from 0 (-1: none).
struct RowGrouping {
    enum class Order {
        Natural,  // the cells' natural order: numbers by value ("7B" before "10A")
        FirstMet, // in the order the rows first show each cell
    };
    // What makes two rows the same for "Remove duplicates from results".
    enum class SameRows {
        Name,   // the name, as for names typed or from a names file
        Column, // one column's cell (an e-mail address, an order number)
        Row,    // every cell of the row
    };

    int column = -1;
    QString caption;
    Order order = Order::Natural;
    SameRows sameRows = SameRows::Name;
    int sameColumn = -1;
    QString sameCaption;

    bool groups() const { return column >= 0 || !caption.isEmpty(); }
    bool operator==(const RowGrouping &) const = default;
};

// What the dialog is shown: the table's column captions ("Column 3" where it has no
// header) and the choice that holds now.
struct GroupingRequest {
    QStringList columns;
    RowGrouping current;
};

} // namespace orvella::core

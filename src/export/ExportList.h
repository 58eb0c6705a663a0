#pragma once

#include <QString>

namespace orvella::lists {
class NameListModel;
} // namespace orvella::lists

namespace orvella::exporting {

// A list as the exports read it: items counted from 1, columns from 1. Column 1 of an
// item is its text, column c >= 2 its sub-item text c - 1. The exports read the list
// live, item by item, because other commands may run while they yield.
class ExportList {
public:
    virtual ~ExportList() = default;
    virtual int columnCount() const = 0;
    virtual QString caption(int column) const = 0;
    virtual int itemCount() const = 0;
    // Throws a Failure for an item or column that does not exist (any longer).
    virtual QString field(int item, int column) const = 0;
    // Whether the item's check box is ticked; a list without check boxes counts every
    // item as checked. Throws a Failure for an item that does not exist.
    virtual bool isChecked(int item) const = 0;

    // The same as field(item, column).size(); a list may answer without building the text.
    virtual qsizetype fieldLength(int item, int column) const { return field(item, column).size(); }
    // Appends field(item, column) to text and answers its length; a list may copy the
    // text straight from where it keeps it.
    virtual qsizetype appendField(QString &text, int item, int column) const
    {
        const QString value = field(item, column);
        text += value;
        return value.size();
    }
};

// One of the window's name lists: one column, captioned like the list.
class NameListExport : public ExportList {
public:
    explicit NameListExport(const lists::NameListModel &list) : m_list(list) {}
    int columnCount() const override { return 1; }
    QString caption(int column) const override;
    int itemCount() const override;
    QString field(int item, int column) const override;
    bool isChecked(int item) const override;
    qsizetype fieldLength(int item, int column) const override;
    qsizetype appendField(QString &text, int item, int column) const override;

private:
    const lists::NameListModel &m_list;
};

} // namespace orvella::exporting

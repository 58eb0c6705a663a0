#include "export/ExportList.h"

#include "core/Failure.h"
#include "lists/NameListModel.h"

namespace orvella::exporting {
namespace {
void checkColumn(int column)
{
    if (column != 1)
        throw core::Failure(QStringLiteral("Column %1 does not exist (the list has one column)").arg(column));
}
} // namespace

QString NameListExport::caption(int column) const
{
    checkColumn(column);
    return m_list.caption();
}

int NameListExport::itemCount() const
{
    return m_list.count();
}

QString NameListExport::field(int item, int column) const
{
    checkColumn(column);
    return m_list.item(item);
}

bool NameListExport::isChecked(int item) const
{
    (void)m_list.itemView(item); // a missing item fails like a missing field
    return true;
}

qsizetype NameListExport::fieldLength(int item, int column) const
{
    checkColumn(column);
    return m_list.itemView(item).size();
}

qsizetype NameListExport::appendField(QString &text, int item, int column) const
{
    checkColumn(column);
    const QStringView value = m_list.itemView(item);
    text.append(value);
    return value.size();
}

} // namespace orvella::exporting

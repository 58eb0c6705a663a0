#pragma once

#include "core/RowGrouping.h"
#include "tables/NameRows.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace orvella::commands {

struct CommandContext;

// "Group By Column…": which column of the input's table rows groups the results and
// which rows count as the same. The choice is kept per header row, with the name
// columns remembered for it; for a table without a header it holds until the program
// ends.
class GroupCommand {
public:
    explicit GroupCommand(CommandContext &context);

    // Whether the input holds table rows (the menu item is available then only).
    bool available() const;
    // Asks the desktop, proposing the choice that holds now, and keeps the answer.
    void choose();
    // The choice for the input as it is now: the fixed one when set, else the one kept
    // for the header of the input's first table (none when there is no table).
    core::RowGrouping current() const;
    // A choice that holds whatever is kept (the command line's), or none.
    void setFixed(std::optional<core::RowGrouping> grouping) { m_fixed = std::move(grouping); }

    // The captions the dialog offers for the table's columns: the header's cells, and
    // "Column N" where a cell is empty or there is no header.
    static QStringList columnCaptions(const tables::SourceTable &table);
    // How the status line names the group column: its caption, else "column N".
    static QString columnName(const core::RowGrouping &grouping);

private:
    core::RowGrouping keptFor(const tables::SourceTable &table) const;

    CommandContext &m_ctx;
    core::RowGrouping m_unheaded;
    std::optional<core::RowGrouping> m_fixed;
};

} // namespace orvella::commands

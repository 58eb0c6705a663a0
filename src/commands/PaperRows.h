#pragma once

#include "core/PaperChoices.h"
#include "names/NameParts.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace orvella::lists {
class NameListModel;
} // namespace orvella::lists

namespace orvella::commands {

// One result as it goes on paper.
struct PaperRow {
    QStringList cells;  // a list's columns, as chosen
    QString filedUnder; // what the row was sorted under: its letter heads its part of a list
    QString group;      // the group's label; "" when the results are not grouped
    QString first;      // a badge's large line
    QString last;       // the line below it
    QString extra;      // the badge's small line ("" none)
};

struct PaperRows {
    QString title;
    QStringList captions; // of each row's cells
    std::vector<PaperRow> rows;

    bool grouped() const { return !rows.empty() && !rows.front().group.isEmpty(); }
};

// The columns a list can print: the name parts ("Title" … "Filed under") and then the
// results' own columns ("Name" for results that came from no table).
QStringList paperColumnCaptions(const lists::NameListModel &results);

// The results as the choices put them on paper, each name taken apart by `reader` (the
// reading that sorted them). A chosen column the results do not have prints empty.
// yield runs now and then, for the window to stay answering.
PaperRows paperRows(const lists::NameListModel &results, const core::PaperChoices &choices,
                    const names::NamePartsReader &reader, const std::function<void()> &yield = {});

} // namespace orvella::commands

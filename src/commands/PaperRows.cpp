#include "commands/PaperRows.h"

#include "export/ResultTable.h"
#include "lists/NameListModel.h"

namespace orvella::commands {
namespace {

// Every name part, so that each chosen caption finds its column among the table's.
core::ExportOptions allNameParts()
{
    core::ExportOptions options;
    options.nameColumns.fill(true);
    return options;
}

QString captionOf(core::NameColumn column)
{
    return core::nameColumnCaption(column);
}

} // namespace

QStringList paperColumnCaptions(const lists::NameListModel &results)
{
    const exporting::ResultTable table(results, allNameParts());
    QStringList captions;
    for (const QString &caption : table.header()) {
        if (!captions.contains(caption))
            captions << caption;
    }
    return captions;
}

PaperRows paperRows(const lists::NameListModel &results, const core::PaperChoices &choices,
                    const names::NamePartsReader &reader, const std::function<void()> &yield)
{
    const exporting::ResultTable table(results, allNameParts(), reader);
    const QStringList header = table.header();
    PaperRows paper;
    // No column chosen prints the name as "Last, First".
    paper.captions = choices.columns.isEmpty() ? core::PaperChoices().columns : choices.columns;
    std::vector<int> picked;
    for (const QString &caption : paper.captions)
        picked.push_back(int(header.indexOf(caption)));
    const int first = int(header.indexOf(captionOf(core::NameColumn::FirstName)));
    const int last = int(header.indexOf(captionOf(core::NameColumn::LastName)));
    const int filed = int(header.indexOf(captionOf(core::NameColumn::FiledUnder)));
    const int extra = choices.badgeExtra.isEmpty() ? -1 : int(header.indexOf(choices.badgeExtra));
    const auto cell = [](const QStringList &cells, int column) { return column >= 0 ? cells.value(column) : QString(); };

    paper.rows.reserve(size_t(table.rowCount()));
    QStringList cells;
    QString group;
    for (qsizetype row = 0; row < table.rowCount(); ++row) {
        if (yield && row % 2000 == 1999)
            yield();
        table.cells(row, cells);
        PaperRow out;
        for (int column : picked)
            out.cells << cell(cells, column);
        out.first = cell(cells, first);
        out.last = cell(cells, last);
        // Results no sort filed (put in by hand) head their letter by their last name.
        out.filedUnder = cell(cells, filed);
        if (out.filedUnder.isEmpty())
            out.filedUnder = out.last.isEmpty() ? out.first : out.last;
        // A name of one word is its own large line.
        if (out.first.isEmpty())
            std::swap(out.first, out.last);
        out.extra = cell(cells, extra);
        // Grouped results head each group with its column and value ("Homeroom: 7B").
        if (const QString start = results.note(int(row + 1), tables::RowNote::GroupStart); !start.isEmpty())
            group = start;
        out.group = group;
        paper.rows.push_back(std::move(out));
    }
    return paper;
}

} // namespace orvella::commands

#include "paper/ListPages.h"

#include "commands/PaperRows.h"

#include <algorithm>

namespace orvella::paper {
namespace {

// Fills pages line by line, a column at a time.
class PageFiller {
public:
    explicit PageFiller(const ListFlow &flow)
        : m_lines(std::max(2, flow.linesPerColumn)), m_columns(std::clamp(flow.columnsPerPage, 1, 3))
    {
    }

    void newPage()
    {
        m_pages.push_back(ListPage{});
        m_pages.back().columns.resize(1);
    }
    // A new page unless the current one is still empty.
    void breakPage()
    {
        if (!m_pages.empty() && !m_pages.back().columns.front().empty())
            newPage();
    }
    // Room for `count` lines in the current column, or a fresh column.
    void makeRoom(int count)
    {
        if (m_pages.empty())
            return newPage();
        if (int(current().size()) + count <= m_lines)
            return;
        if (int(m_pages.back().columns.size()) < m_columns)
            m_pages.back().columns.emplace_back();
        else
            newPage();
    }
    void put(ListLine line) { current().push_back(std::move(line)); }
    std::vector<ListPage> take() { return std::move(m_pages); }

private:
    std::vector<ListLine> &current() { return m_pages.back().columns.back(); }

    int m_lines;
    int m_columns;
    std::vector<ListPage> m_pages;
};

} // namespace

QString headingLetter(const QString &filedUnder)
{
    const QString trimmed = filedUnder.trimmed();
    if (trimmed.isEmpty())
        return QString();
    const char32_t first = trimmed.at(0).isHighSurrogate() && trimmed.size() > 1
                               ? QChar::surrogateToUcs4(trimmed.at(0), trimmed.at(1))
                               : char32_t(trimmed.at(0).unicode());
    return QString::fromUcs4(&first, 1).toUpper();
}

std::vector<ListPage> layOutList(const commands::PaperRows &rows, const ListFlow &flow)
{
    PageFiller filler(flow);
    const bool grouped = rows.grouped();
    QString lastHeading;
    for (size_t row = 0; row < rows.rows.size(); ++row) {
        const commands::PaperRow &paperRow = rows.rows[row];
        QString heading;
        if (grouped && (row == 0 || paperRow.group != rows.rows[row - 1].group)) {
            heading = paperRow.group;
            if (flow.groupPages)
                filler.breakPage();
        } else if (!grouped && flow.letterHeadings) {
            const QString letter = headingLetter(paperRow.filedUnder);
            if (letter != lastHeading)
                heading = letter;
        }
        if (!heading.isEmpty()) {
            lastHeading = heading;
            filler.makeRoom(2);
            filler.put(ListLine{ListLine::Kind::Heading, -1, heading});
        } else {
            filler.makeRoom(1);
        }
        filler.put(ListLine{ListLine::Kind::Row, int(row), QString()});
    }
    return filler.take();
}

} // namespace orvella::paper

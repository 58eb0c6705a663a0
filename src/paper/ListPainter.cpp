#include "paper/ListPainter.h"

#include "paper/ListPages.h"
#include "paper/PageSetup.h"

#include <QDate>
#include <QFontMetricsF>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>
#include <cmath>

namespace orvella::paper {
namespace {

constexpr qreal kMarginMm = 15;

// The fonts and measures of a list's pages, in the device's units.
struct ListStyle {
    QFont body = paperFont(10);
    QFont heading = paperFont(12, true);
    QFont caption = paperFont(9, true);
    QFont header = paperFont(9);
    qreal line = 0;   // every line's height
    qreal gutter = 0; // between the columns of names
    qreal box = 0;    // the check box's side
};

class ListPainter {
public:
    ListPainter(const commands::PaperRows &rows, const core::PaperChoices &choices, QPagedPaintDevice &device)
        : m_rows(rows), m_choices(choices), m_device(device)
    {
    }

    void paint(const commands::PaperOutput::Progress &progress);

private:
    void paintPage(const ListPage &page, int number, int count);
    void paintFrame(int number, int count);
    void paintLine(const ListLine &line, const QRectF &place);
    void paintCells(const QStringList &cells, QRectF place, const QFont &font);

    const commands::PaperRows &m_rows;
    const core::PaperChoices &m_choices;
    QPagedPaintDevice &m_device;
    QPainter m_painter;
    ListStyle m_style;
    QRectF m_area;      // the page inside its margins
    qreal m_bodyTop = 0; // below the header (and the captions)
    qreal m_columnWidth = 0;
    QString m_date;
};

void ListPainter::paint(const commands::PaperOutput::Progress &progress)
{
    m_device.setPageLayout(pageLayoutFor(m_choices, QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm)));
    if (!m_painter.begin(&m_device))
        return;
    m_area = QRectF(QPointF(0, 0), m_device.pageLayout().paintRectPixels(m_device.logicalDpiY()).size());
    m_style.line = QFontMetricsF(m_style.heading, &m_device).height() * 1.3;
    m_style.gutter = m_style.line;
    m_style.box = QFontMetricsF(m_style.body, &m_device).ascent();
    m_date = QLocale().toString(QDate::currentDate(), QLocale::ShortFormat);
    const bool captions = m_rows.captions.size() > 1;
    m_bodyTop = m_style.line * (captions ? 3 : 2);
    const qreal bodyHeight = m_area.height() - m_bodyTop - m_style.line * 1.5;
    ListFlow flow;
    flow.linesPerColumn = std::max(2, int(std::floor(bodyHeight / m_style.line)));
    flow.columnsPerPage = m_choices.namesColumns;
    flow.letterHeadings = m_choices.letterHeadings;
    flow.groupPages = m_choices.groupPages;
    std::vector<ListPage> pages = layOutList(m_rows, flow);
    if (pages.empty())
        pages.push_back(ListPage{{{}}});
    const int columns = std::clamp(m_choices.namesColumns, 1, 3);
    m_columnWidth = (m_area.width() - m_style.gutter * (columns - 1)) / columns;
    for (size_t page = 0; page < pages.size(); ++page) {
        if (page > 0)
            m_device.newPage();
        paintPage(pages[page], int(page) + 1, int(pages.size()));
        if (progress)
            progress(double(page + 1) / double(pages.size()));
    }
    m_painter.end();
}

void ListPainter::paintFrame(int number, int count)
{
    // Lines half a point wide: the device's own thinnest line all but vanishes on paper.
    m_painter.setPen(QPen(Qt::black, m_device.logicalDpiY() * 0.5 / 72.0));
    m_painter.setFont(paperFont(14, true));
    const QRectF top(m_area.left(), 0, m_area.width(), m_style.line * 1.2);
    m_painter.drawText(top, Qt::AlignLeft | Qt::AlignVCenter, m_rows.title);
    m_painter.setFont(m_style.header);
    m_painter.drawText(top, Qt::AlignRight | Qt::AlignVCenter, m_date);
    m_painter.drawLine(QPointF(m_area.left(), top.bottom()), QPointF(m_area.right(), top.bottom()));
    const QRectF bottom(m_area.left(), m_area.bottom() - m_style.line, m_area.width(), m_style.line);
    m_painter.drawText(bottom, Qt::AlignHCenter | Qt::AlignBottom,
                       QStringLiteral("Page %1 of %2").arg(number).arg(count));
}

void ListPainter::paintPage(const ListPage &page, int number, int count)
{
    paintFrame(number, count);
    for (size_t column = 0; column < page.columns.size(); ++column) {
        const qreal left = m_area.left() + qreal(column) * (m_columnWidth + m_style.gutter);
        if (m_rows.captions.size() > 1)
            paintCells(m_rows.captions, QRectF(left, m_style.line * 1.7, m_columnWidth, m_style.line), m_style.caption);
        qreal top = m_bodyTop;
        for (const ListLine &line : page.columns[column]) {
            paintLine(line, QRectF(left, top, m_columnWidth, m_style.line));
            top += m_style.line;
        }
    }
}

void ListPainter::paintLine(const ListLine &line, const QRectF &place)
{
    if (line.kind == ListLine::Kind::Heading) {
        m_painter.setFont(m_style.heading);
        m_painter.drawText(place, Qt::AlignLeft | Qt::AlignBottom, line.heading);
        return;
    }
    paintCells(m_rows.rows[size_t(line.row)].cells, place, m_style.body);
}

// The cells side by side in equal shares of the place, after the check box when there
// is one; a cell too long for its share ends in "…".
void ListPainter::paintCells(const QStringList &cells, QRectF place, const QFont &font)
{
    if (m_choices.checkBoxes) {
        const qreal side = m_style.box;
        if (&cells != &m_rows.captions)
            m_painter.drawRect(QRectF(place.left(), place.center().y() - side / 2, side, side));
        place.setLeft(place.left() + side * 2);
    }
    if (cells.isEmpty())
        return;
    m_painter.setFont(font);
    const QFontMetricsF metrics(font, &m_device);
    const qreal share = place.width() / qreal(cells.size());
    const qreal padding = metrics.averageCharWidth();
    for (qsizetype cell = 0; cell < cells.size(); ++cell) {
        const QRectF box(place.left() + qreal(cell) * share, place.top(), share - padding, place.height());
        m_painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter,
                           metrics.elidedText(cells[cell], Qt::ElideRight, box.width()));
    }
}

} // namespace

void paintList(const commands::PaperRows &rows, const core::PaperChoices &choices, QPagedPaintDevice &device,
               const commands::PaperOutput::Progress &progress)
{
    ListPainter(rows, choices, device).paint(progress);
}

} // namespace orvella::paper

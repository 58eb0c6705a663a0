#include "paper/BadgePainter.h"

#include "paper/BadgeGrid.h"
#include "paper/PageSetup.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>
#include <algorithm>

namespace orvella::paper {
namespace {

// The common sheets' margin.
constexpr qreal kSheetMarginMm = 10;

// One line of a card: its text at the size that fits, centred on `middle` (a share of
// the card's height), with at most `largest` points and a share of the card's height.
struct CardLine {
    qreal middle;
    qreal largest;
    qreal heightShare;
    bool bold;
};
constexpr CardLine kFirstLine{0.36, 32, 0.28, true};
constexpr CardLine kLastLine{0.62, 18, 0.16, false};
constexpr CardLine kExtraLine{0.84, 11, 0.1, false};

void paintCardLine(QPainter &painter, QPagedPaintDevice &device, const QRectF &card, const QString &text,
                   const CardLine &line)
{
    if (text.isEmpty())
        return;
    const qreal cardPoints = card.height() * 72.0 / device.logicalDpiY();
    const qreal wanted = std::min(line.largest, cardPoints * line.heightShare);
    const qreal room = card.width() * 0.9;
    QFont font = paperFont(wanted, line.bold);
    const qreal size = fittedPointSize(wanted, room, [&](qreal pointSize) {
        font.setPointSizeF(pointSize);
        return QFontMetricsF(font, &device).horizontalAdvance(text);
    });
    font.setPointSizeF(size);
    painter.setFont(font);
    const qreal height = QFontMetricsF(font, &device).height();
    const QRectF place(card.left(), card.top() + card.height() * line.middle - height / 2, card.width(), height);
    painter.drawText(place, Qt::AlignCenter, text);
}

} // namespace

void paintBadges(const commands::PaperRows &rows, const core::PaperChoices &choices, QPagedPaintDevice &device,
                 const commands::PaperOutput::Progress &progress)
{
    const qreal margin = choices.sheet == core::BadgeSheet::Custom ? qreal(choices.badgeMarginMm) : kSheetMarginMm;
    device.setPageLayout(pageLayoutFor(choices, QMarginsF(margin, margin, margin, margin)));
    QPainter painter;
    if (!painter.begin(&device))
        return;
    const QSizeF area = device.pageLayout().paintRectPixels(device.logicalDpiY()).size();
    const std::vector<QRectF> cards = cardRects(area, choices.sheetRows(), choices.sheetColumns());
    // The cards' edges, light and dashed, to cut along.
    QPen edge(Qt::gray, device.logicalDpiY() * 0.5 / 72.0);
    edge.setStyle(Qt::DashLine);
    const size_t count = rows.rows.size();
    for (size_t row = 0; row < count; ++row) {
        const size_t place = row % cards.size();
        if (place == 0 && row > 0) {
            device.newPage();
            if (progress)
                progress(double(row) / double(count));
        }
        const QRectF &card = cards[place];
        const commands::PaperRow &paperRow = rows.rows[row];
        painter.setPen(edge);
        painter.drawRect(card);
        painter.setPen(Qt::black);
        paintCardLine(painter, device, card, paperRow.first, kFirstLine);
        paintCardLine(painter, device, card, paperRow.last, kLastLine);
        paintCardLine(painter, device, card, paperRow.extra, kExtraLine);
    }
    painter.end();
    if (progress)
        progress(1.0);
}

} // namespace orvella::paper

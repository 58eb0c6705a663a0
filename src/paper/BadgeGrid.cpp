#include "paper/BadgeGrid.h"

#include <algorithm>

namespace orvella::paper {

std::vector<QRectF> cardRects(QSizeF area, int rows, int columns, qreal gap)
{
    rows = std::max(1, rows);
    columns = std::max(1, columns);
    const qreal width = (area.width() - gap * (columns - 1)) / columns;
    const qreal height = (area.height() - gap * (rows - 1)) / rows;
    std::vector<QRectF> cards;
    cards.reserve(size_t(rows * columns));
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column)
            cards.emplace_back(column * (width + gap), row * (height + gap), width, height);
    }
    return cards;
}

qreal fittedPointSize(qreal wanted, qreal room, const std::function<qreal(qreal pointSize)> &widthAt)
{
    constexpr qreal kSmallest = 0.1;
    const qreal width = widthAt(wanted);
    if (width <= room || width <= 0)
        return wanted;
    // Widths grow about as the size does; hinting can make the guess a little wide.
    qreal size = std::max(kSmallest, wanted * room / width);
    while (size > kSmallest && widthAt(size) > room)
        size = std::max(kSmallest, size * 0.95);
    return size;
}

} // namespace orvella::paper

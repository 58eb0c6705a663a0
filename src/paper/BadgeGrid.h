#pragma once

#include <QRectF>
#include <QSizeF>
#include <functional>
#include <vector>

namespace orvella::paper {

// The cards of a badge sheet in the order they are filled: left to right along each
// row of cards, the rows down the sheet. `area` is the sheet inside its margins; the
// cards share it evenly, `gap` apart.
std::vector<QRectF> cardRects(QSizeF area, int rows, int columns, qreal gap = 0);

// The largest point size up to `wanted` at which a text fits `room`, as widthAt
// measures the text at a size. A text never shrinks below a tenth of a point; a text
// that fits keeps its size.
qreal fittedPointSize(qreal wanted, qreal room, const std::function<qreal(qreal pointSize)> &widthAt);

} // namespace orvella::paper

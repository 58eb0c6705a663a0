#pragma once

#include <QList>
#include <QRect>

namespace orvella::ui {

// The order a reader takes a window's controls in, from their places: where a vertical
// line between them crosses none of them, the controls are split into columns read
// left to right, each whole before the next; otherwise, where a horizontal line crosses
// none, into rows read top to bottom; and so on within each part. Controls that no such
// line separates are taken top to bottom, then left to right. Answers the positions of
// the rectangles in that order.
QList<qsizetype> readingOrder(const QList<QRect> &places);

} // namespace orvella::ui

#pragma once

#include <QRect>

class QWidget;

namespace orvella::ui {

// Where a window's frame goes on a screen's free area: no larger than the area, and
// moved the shortest way that puts it wholly inside (a frame larger than the area is
// cut to the area's size first).
QRect placedWithin(QRect frame, QRect available);

// Each time the window is shown it lies wholly on the free area of a screen: the
// anchor's screen (the window it was opened from), or its own without one. The first
// time, a window with an anchor is centred over the anchor, and one without is left
// where the desktop puts it; after that it keeps the place the user gave it, moved
// back onto the screen when it would run off. The size
// shrinks only when the window is larger than the free area (and never below the
// window's minimum size). Before the desktop has framed the window its frame is
// reckoned as RememberedSize::kFrameAllowance.
void keepOnScreen(QWidget *window, QWidget *anchor = nullptr);

// Escape closes the window, as its close box does.
void closeOnEscape(QWidget *window);

} // namespace orvella::ui

#pragma once

#include "core/Desktop.h"

class QCursor;
class QWidget;

namespace orvella::ui {

// Shows the pointer over the window: the arrow, the hourglass of a long command, or the
// window's own hand (custom).
void showPointer(QWidget *window, core::Pointer pointer, const QCursor &custom);

} // namespace orvella::ui

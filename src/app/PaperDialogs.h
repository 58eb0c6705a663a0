#pragma once

#include "core/Desktop.h"

class QWidget;

namespace orvella::app {

// The paper layout's choices in a dialog of their own (before a PDF is written); false
// when cancelled.
bool askPaperChoices(const core::PaperRequest &request, QWidget *parent);

// The print preview with the choices beside it, redrawn as they change; "Print…" opens
// the printer's dialog and prints. False when cancelled.
bool showPrintPreview(const core::PrintRequest &request, QWidget *parent);

} // namespace orvella::app

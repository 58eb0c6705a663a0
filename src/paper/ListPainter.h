#pragma once

#include "commands/PaperOutput.h"

namespace orvella::paper {

// Paints a list: on every page the title and the date above, "Page N of M" below, and
// the rows in the chosen columns under their headings, each with a box to tick when
// the choices ask for one.
void paintList(const commands::PaperRows &rows, const core::PaperChoices &choices, QPagedPaintDevice &device,
               const commands::PaperOutput::Progress &progress);

} // namespace orvella::paper

#pragma once

#include "commands/PaperOutput.h"

namespace orvella::paper {

// Paints name badges: sheets of cards in the sorted order, each card the first name
// large, the last name below it and the chosen column smaller, every line shrunk to fit
// its card's width.
void paintBadges(const commands::PaperRows &rows, const core::PaperChoices &choices, QPagedPaintDevice &device,
                 const commands::PaperOutput::Progress &progress);

} // namespace orvella::paper

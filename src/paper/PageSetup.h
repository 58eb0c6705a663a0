#pragma once

#include "core/PaperChoices.h"

#include <QFont>
#include <QMarginsF>
#include <QPageLayout>

namespace orvella::paper {

// The page the choices ask for (A4 or Letter, upright or on its side) with these
// margins, in millimetres.
QPageLayout pageLayoutFor(const core::PaperChoices &choices, const QMarginsF &marginsMm);

// The font names print in: a sans-serif face with wide coverage where installed; the
// letters it lacks are drawn from the other installed fonts.
QFont paperFont(qreal pointSize, bool bold = false);

} // namespace orvella::paper

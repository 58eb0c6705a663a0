#include "paper/PageSetup.h"

#include <QPageSize>
#include <QStringList>

namespace orvella::paper {

QPageLayout pageLayoutFor(const core::PaperChoices &choices, const QMarginsF &marginsMm)
{
    const QPageSize size(choices.pageSize == core::PaperSize::Letter ? QPageSize::Letter : QPageSize::A4);
    return QPageLayout(size, choices.landscape ? QPageLayout::Landscape : QPageLayout::Portrait, marginsMm,
                       QPageLayout::Millimeter);
}

QFont paperFont(qreal pointSize, bool bold)
{
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"), QStringLiteral("Noto Sans"),
                      QStringLiteral("sans-serif")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

} // namespace orvella::paper

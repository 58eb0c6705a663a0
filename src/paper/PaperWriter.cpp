#include "paper/PaperWriter.h"

#include "paper/BadgePainter.h"
#include "paper/FontCoverage.h"
#include "paper/ListPainter.h"
#include "paper/PageSetup.h"

#include <QBuffer>
#include <QPdfWriter>

namespace orvella::paper {
namespace {

// Fine enough for print, coarse enough that coordinates stay small.
constexpr int kPdfResolution = 600;

} // namespace

QStringList PaperWriter::namesWithoutFont(const commands::PaperRows &rows, const std::function<void()> &yield)
{
    FontCoverage coverage(paperFont(10));
    return coverage.namesWithout(rows, yield);
}

void PaperWriter::paint(const commands::PaperRows &rows, const core::PaperChoices &choices,
                        QPagedPaintDevice &device, const Progress &progress)
{
    if (choices.layout == core::PaperLayout::Badges)
        paintBadges(rows, choices, device, progress);
    else
        paintList(rows, choices, device, progress);
}

QByteArray PaperWriter::pdf(const commands::PaperRows &rows, const core::PaperChoices &choices,
                            const Progress &progress)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kPdfResolution);
        writer.setCreator(QStringLiteral("Orvella"));
        writer.setTitle(rows.title);
        paint(rows, choices, writer, progress);
    }
    return buffer.data();
}

} // namespace orvella::paper

#pragma once

#include "commands/PaperRows.h"

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QStringList>

namespace orvella::testing {

// What poppler reads out of a PDF document: `pdftotext -layout`, a page a string.
QStringList pdfPages(const QByteArray &pdf);
// A page's lines that hold text, each with its runs of spaces made one.
QStringList textLines(const QString &page);
// The box of each word on the first page, in points from the page's top left, by
// `pdftotext -bbox`.
std::vector<std::pair<QString, QRectF>> pdfWordBoxes(const QByteArray &pdf);
// A page of the document as a grey picture at `dpi` (pdftoppm).
QImage pdfPicture(const QByteArray &pdf, int page, int dpi);

// Rows of a result list as a test writes them: "Last, First" in one cell, filed under
// the last name, in the given group ("" none).
struct RowText {
    QString first;
    QString last;
    QString group;
    QString extra;
};
commands::PaperRows paperRowsOf(const std::vector<RowText> &rows, const QStringList &captions = {});

} // namespace orvella::testing

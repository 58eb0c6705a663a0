#pragma once

#include "commands/PaperOutput.h"

namespace orvella::paper {

// The program's pages: lists and badge sheets painted with Qt's painter, onto a printer
// or into a PDF document. Needs a QGuiApplication (the offscreen platform will do).
class PaperWriter : public commands::PaperOutput {
public:
    QStringList namesWithoutFont(const commands::PaperRows &rows, const std::function<void()> &yield) override;
    void paint(const commands::PaperRows &rows, const core::PaperChoices &choices, QPagedPaintDevice &device,
               const Progress &progress) override;
    QByteArray pdf(const commands::PaperRows &rows, const core::PaperChoices &choices,
                   const Progress &progress) override;
};

} // namespace orvella::paper

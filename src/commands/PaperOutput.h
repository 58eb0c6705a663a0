#pragma once

#include "commands/PaperRows.h"

#include <QByteArray>
#include <QStringList>
#include <functional>

class QPagedPaintDevice;

namespace orvella::commands {

// Puts result rows on pages: the printing and the PDF writer, which need the window
// system's fonts and painter. The program gives one to the commands (see
// CommandContext::paper); without it nothing can be printed.
class PaperOutput {
public:
    // Hears how far the laying out has come (0 to 1), between pieces of the work; the
    // window answers its events there.
    using Progress = std::function<void(double done)>;

    virtual ~PaperOutput() = default;

    // The rows' names (badge lines or cells) with a letter that no installed font has;
    // yield runs now and then.
    virtual QStringList namesWithoutFont(const PaperRows &rows, const std::function<void()> &yield) = 0;
    // Lays the rows out on the device's pages.
    virtual void paint(const PaperRows &rows, const core::PaperChoices &choices, QPagedPaintDevice &device,
                       const Progress &progress) = 0;
    // The same pages as a PDF document.
    virtual QByteArray pdf(const PaperRows &rows, const core::PaperChoices &choices, const Progress &progress) = 0;
};

} // namespace orvella::commands

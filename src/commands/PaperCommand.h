#pragma once

#include "core/PaperChoices.h"
#include "names/NameParts.h"

#include <QString>
#include <functional>

namespace orvella::commands {

struct CommandContext;
struct PaperRows;

// File > Print Results… and the PDF document of File > Export Results…: the results on
// pages as a list or as name badges, with the layout's choices asked first and
// remembered (see PaperSettings). Names with a letter no installed font has are told
// before anything is printed, and nothing is printed then.
class PaperCommand {
public:
    // readerOfResults answers the reading that sorted the results (unset: the option
    // buttons' default reading).
    explicit PaperCommand(CommandContext &context, std::function<names::NamePartsReader()> readerOfResults = {})
        : m_context(context), m_readerOfResults(std::move(readerOfResults))
    {
    }

    void printResults();
    // After the export's dialog answered a .pdf file: asks the layout's choices, the
    // title proposed from the file's name, and remembers them; false when cancelled.
    bool askPdfChoices(const QString &path, core::PaperChoices &choices);
    // Writes the results as a PDF document through the safe save; false (nothing
    // written) when a name has letters no font has. Throws core::Failure when the file
    // cannot be written.
    bool writePdf(const QString &path, const core::PaperChoices &choices);

private:
    PaperRows rowsFor(const core::PaperChoices &choices) const;
    // Tells the names no font can print; true when there were some.
    bool refusedForFonts(const PaperRows &rows) const;
    void showProgress(double done) const;

    CommandContext &m_context;
    std::function<names::NamePartsReader()> m_readerOfResults;
};

} // namespace orvella::commands

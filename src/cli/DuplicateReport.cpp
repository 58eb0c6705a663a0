#include "cli/DuplicateReport.h"

#include "core/FileOutput.h"
#include "lists/NameListModel.h"
#include "session/DuplicateSearch.h"
#include "session/Session.h"

namespace orvella::cli {

void writeLikelyDuplicates(session::Session &session, core::FileOutput &out, bool crlf)
{
    out.setLineEnd(crlf ? QByteArrayView("\r\n") : QByteArrayView("\n"));
    out.setBatched(true);
    const std::vector<names::DuplicateGroup> groups = session::findInputDuplicates(session);
    const lists::NameListModel &input = session.inputList();
    QString line;
    for (size_t g = 0; g < groups.size(); ++g) {
        const QString reason = names::reasonText(groups[g].reason);
        for (const qsizetype member : groups[g].members) {
            line = QString::number(g + 1) + QLatin1Char('\t') + reason + QLatin1Char('\t');
            line.append(input.itemView(int(member) + 1)).append(QLatin1Char('\t')).append(QString::number(member + 1));
            out.writeLine(line);
        }
    }
    out.commit();
}

} // namespace orvella::cli

#pragma once

#include "cli/SortRequest.h"
#include "core/Failure.h"
#include "tables/TableExport.h"

#include <QString>

#include <optional>

namespace orvella::commands {
class PaperOutput;
} // namespace orvella::commands
namespace orvella::core {
class FileOutput;
} // namespace orvella::core
namespace orvella::names {
struct NameReading;
} // namespace orvella::names
namespace orvella::session {
class Session;
} // namespace orvella::session

namespace orvella::cli {

class TerminalDesktop;
class TerminalProgress;

// Writes the results as the sort hands them over (list and --explain), or once it is
// done: a table, whose column is as wide as its widest name, or what Export Results
// writes (csv, tsv, xlsx, ods). Made once the inputs are read, since tsv is --explain
// for names that came from no table. The first failed write stops the writing and is
// kept for the end. Once the run has reported a failure, nothing more is written: what
// the sort hands over then is not what was asked for.
class ResultWriter {
public:
    ResultWriter(const SortRequest &request, session::Session &session, core::FileOutput &out,
                 TerminalProgress &progress, const TerminalDesktop &desktop);

    // After the sort: the table or the export, and the output put in place. Throws the
    // first failure.
    void finish();

private:
    void take(QStringView shown, const names::NameReading *reading);
    void writeExport(tables::TableFormat format);
    void writePdf();
    core::ExportOptions exportOptions() const;

    const SortRequest &m_request;
    session::Session &m_session;
    core::FileOutput &m_out;
    TerminalProgress &m_progress;
    const TerminalDesktop &m_desktop;
    // What Export Results would write, when it is that.
    std::optional<tables::TableFormat> m_export;
    std::optional<core::Failure> m_failure;
    // Stepping over titles, nicknames and suffixes: what was stepped over, in a fourth column.
    bool m_steppedColumn = false;
    qint64 m_written = 0;
    QString m_line;
};

} // namespace orvella::cli

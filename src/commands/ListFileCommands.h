#pragma once

#include "core/Desktop.h"
#include "lists/ListFileWriter.h"
#include "lists/TableLoad.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace orvella::commands {

struct CommandContext;

// The main window's list file commands: Load List Of Names From File, Save List Of
// Names To File and Save Results As Text File. They share one file dialog, whose file
// name is kept from one command to the next.
class ListFileCommands {
public:
    explicit ListFileCommands(CommandContext &context);

    void loadNames();   // "Load List Of Names From File"
    void saveNames();   // "Save List Of Names To File"
    void saveResults(); // "Save Results As Text File"
    // Text files dropped on the input list: appended as the load command appends them.
    void appendFiles(const QStringList &paths);
    // Files named when the program starts ("orvella FILE..."): appended in the given
    // order as the load command appends them; a relative path is taken from the
    // current folder. The paths are the arguments' own bytes: a name need be no valid
    // text in the locale's encoding.
    void appendStartFiles(const QList<QByteArray> &paths);
    // File > Forget Remembered Columns: every table's name columns are asked for again.
    void forgetRememberedColumns();

    // The file name the dialog proposes next (Save Results As Text File shows it).
    const QString &dialogFileName() const { return m_fileName; }

    // Puts a device between both savers and their files (see core::FileOutput).
    void setOutputFilter(core::FileOutput::DeviceFilter filter) { m_outputFilter = std::move(filter); }

private:
    // Reads the files one after the other into the input list under the busy pointer;
    // a file that cannot be read is reported under the procedure's name and the next
    // one is still read.
    // Paths are texts or the bytes the system knows them by.
    template<typename Path>
    void appendFiles(const char *procedure, const QList<Path> &paths);
    // Reads one file into the input list: a table (CSV, TSV, Excel, OpenDocument) by
    // the columns the user chooses, any other file as a names file.
    void readInto(const QString &path);
    void readInto(const QByteArray &nativePath);

    CommandContext &m_context;
    QString m_fileName;
    // The rows without a name of the tables the command running loads.
    lists::TableRowCounts m_rowCounts;
    core::FileOutput::DeviceFilter m_outputFilter;
};

} // namespace orvella::commands

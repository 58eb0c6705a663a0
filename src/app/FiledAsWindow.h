#pragma once

#include "names/FiledAs.h"

#include <QList>
#include <QWidget>

class QTableWidget;

namespace orvella::core {
class Desktop;
} // namespace orvella::core
namespace orvella::session {
class ReadingSettings;
} // namespace orvella::session

namespace orvella::app {

// Edits the Filed-As list: one row an entry (the name as written, the words it files
// under, the rest for ties). Add puts an empty row at the end, a cell is changed where
// it stands, Remove drops the selected rows; Load puts a file's entries in the table
// and Save As writes the table to a file (one entry a line, fields between TABs).
// Save writes the table to the settings at once; Cancel and Escape close the window
// without a change.
class FiledAsWindow : public QWidget {
    Q_OBJECT
public:
    FiledAsWindow(session::ReadingSettings &reading, core::Desktop &desktop, QWidget *parent = nullptr);

    // The entries as the table holds them, and the table filled with entries.
    QList<names::FiledAsEntry> entries() const;
    void showEntries(const QList<names::FiledAsEntry> &entries);

    void addRow();
    void removeSelectedRows();
    void load();
    void saveAs();
    void save();

private:
    session::ReadingSettings &m_reading;
    core::Desktop &m_desktop;
    QTableWidget *m_table = nullptr;
};

} // namespace orvella::app

#pragma once

#include "core/Spreadsheet.h"
#include "tables/WorkbookFolder.h"

#include <QString>
#include <QStringView>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace orvella::tables {

// The spreadsheet application as this program drives it: the cells of one new workbook
// are gathered in memory, and making it visible writes them to a new .xlsx file in a
// private temporary folder and opens that file with the desktop's spreadsheet
// application. Every cell is a text cell, so a name such as "=1+1" stays text.
// The file is written on a worker thread while the window goes on; writing also removes
// the folders that earlier runs of the program left behind. A folder whose workbook was
// never opened is removed with this object; one that was opened stays while this run
// lasts.
class XlsxSpreadsheet : public core::Spreadsheet {
public:
    // Opens a written workbook file; false when no application could be started for it.
    using Opener = std::function<bool(const QString &path)>;

    // The private folder is made inside tempRoot (the system's temporary folder when empty).
    // yield is called over and over while the file is being written.
    explicit XlsxSpreadsheet(Opener open, QString tempRoot = QString(), std::function<void()> yield = {});
    ~XlsxSpreadsheet() override;
    XlsxSpreadsheet(const XlsxSpreadsheet &) = delete;
    XlsxSpreadsheet &operator=(const XlsxSpreadsheet &) = delete;

    void addWorkbook() override;
    void setCell(int row, int column, const QString &value) override;
    int lastRow() const override { return kMaxRows; }
    void autoFitColumn(int column) override;
    void autoFitAllColumns() override;
    void makeVisible() override;

    // Writes the workbook to the file at target instead of opening it, with the safe
    // save of the list files (core::FileOutput): an existing file is replaced only
    // once the whole workbook is there. Throws core::Failure, with the texts of the list
    // saves, when it cannot be saved; the file is then left as it was.
    void saveAs(const QString &target);

    // The workbook file once it has been written, empty before.
    const QString &filePath() const { return m_path; }

    // A sheet's limits.
    static constexpr int kMaxRows = 1048576;
    static constexpr int kMaxColumns = 16384;
    static constexpr int kMaxTextLength = 32767;
    static constexpr double kMaxColumnWidth = 255.0;

    // The column width (in widths of the digit "0") that shows the text whole.
    static double fittedWidth(QStringView text);

private:
    struct Cell {
        int row;
        int column;
        size_t offset; // of the NUL-terminated UTF-8 text: its chunk (high half) and place in it
    };

    void requireWorkbook() const;
    void write();

    Opener m_open;
    QString m_tempRoot;
    std::function<void()> m_yield;
    WorkbookFolder m_folder;
    bool m_hasWorkbook = false;
    bool m_shown = false;
    // The texts gathered until the workbook is written, in chunks that are filled and
    // never moved: a single string would be copied whole each time it grows, for a
    // moment holding a million names twice.
    static constexpr size_t kTextChunk = size_t(1) << 22;
    const char *cellText(const Cell &cell) const;
    std::deque<Cell> m_cells;
    std::vector<std::string> m_texts;
    bool m_inOrder = true;
    std::vector<double> m_widest; // per column: widest text set so far (0: none)
    std::vector<double> m_width;  // per column: fitted width (0: standard width)
    QString m_path;
};

} // namespace orvella::tables

#include "tables/xlsx/XlsxSpreadsheet.h"

#include "core/BackgroundWork.h"
#include "core/Failure.h"
#include "core/UnfinishedWrite.h"
#include "core/FileCopy.h"
#include "tables/SheetText.h"
#include "core/FileOutput.h"

#include <QDir>
#include <QFile>

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace orvella::tables {
namespace {

const QString kFileName = QStringLiteral("Results.xlsx");

bool isWide(char32_t u)
{
    // East Asian wide and full-width characters take about two digit widths.
    return (u >= 0x1100 && u <= 0x115F) || (u >= 0x2E80 && u <= 0xA4CF) || (u >= 0xAC00 && u <= 0xD7A3) ||
           (u >= 0xF900 && u <= 0xFAFF) || (u >= 0xFE30 && u <= 0xFE4F) || (u >= 0xFF00 && u <= 0xFF60) ||
           (u >= 0xFFE0 && u <= 0xFFE6) || (u >= 0x1F300 && u <= 0x1FAFF) || (u >= 0x20000 && u <= 0x3FFFD);
}

QString libraryError(lxw_error error)
{
    return QString::fromUtf8(lxw_strerror(error));
}

} // namespace

XlsxSpreadsheet::XlsxSpreadsheet(Opener open, QString tempRoot, std::function<void()> yield)
    : m_open(std::move(open)), m_tempRoot(tempRoot.isEmpty() ? QDir::tempPath() : std::move(tempRoot)),
      m_yield(std::move(yield))
{
}

XlsxSpreadsheet::~XlsxSpreadsheet()
{
    // An opened workbook keeps its folder (and the hold on it) until the program ends:
    // the spreadsheet application may still have it open.
    if (!m_shown)
        removeWorkbookFolder(m_folder);
}

double XlsxSpreadsheet::fittedWidth(QStringView text)
{
    // Letters of the sheet's standard font are on average a little wider than its
    // digits; a margin keeps the last letter clear of the cell border.
    double units = 0;
    for (char32_t u : text.toUcs4())
        units += isWide(u) ? 2.0 : 1.0;
    if (units == 0)
        return 0;
    return std::min(kMaxColumnWidth, units * 1.1 + 1.0);
}

void XlsxSpreadsheet::requireWorkbook() const
{
    if (!m_hasWorkbook)
        throw core::Failure(QStringLiteral("No workbook is open in the spreadsheet"));
}

void XlsxSpreadsheet::addWorkbook()
{
    if (m_hasWorkbook)
        throw core::Failure(QStringLiteral("The spreadsheet already holds its workbook"));
    m_hasWorkbook = true;
}

void XlsxSpreadsheet::setCell(int row, int column, const QString &value)
{
    requireWorkbook();
    if (!m_path.isEmpty())
        throw core::Failure(QStringLiteral("The workbook has already been written to %1").arg(m_path));
    if (row < 1 || row > kMaxRows)
        throw core::Failure(QStringLiteral("Row %1 lies outside the sheet (rows 1 to %2)").arg(row).arg(kMaxRows));
    if (column < 1 || column > kMaxColumns)
        throw core::Failure(
            QStringLiteral("Column %1 lies outside the sheet (columns 1 to %2)").arg(column).arg(kMaxColumns));
    const QString stored = sheetText(value);
    if (stored.size() > kMaxTextLength)
        throw core::Failure(QStringLiteral("A cell holds at most %1 characters; this text has %2")
                               .arg(kMaxTextLength)
                               .arg(stored.size()));

    if (!m_cells.empty()) {
        const Cell &last = m_cells.back();
        if (row < last.row || (row == last.row && column <= last.column))
            m_inOrder = false;
    }
    const QByteArray utf8 = stored.toUtf8();
    const size_t needed = static_cast<size_t>(utf8.size()) + 1;
    if (m_texts.empty() || m_texts.back().size() + needed > m_texts.back().capacity()) {
        m_texts.emplace_back();
        m_texts.back().reserve(std::max(kTextChunk, needed));
    }
    std::string &chunk = m_texts.back();
    m_cells.push_back({row, column, (m_texts.size() - 1) << 32 | chunk.size()});
    chunk.append(utf8.constData(), static_cast<size_t>(utf8.size()));
    chunk.push_back('\0');

    const auto index = static_cast<size_t>(column - 1);
    if (m_widest.size() <= index)
        m_widest.resize(index + 1, 0.0);
    m_widest[index] = std::max(m_widest[index], fittedWidth(value));
}

const char *XlsxSpreadsheet::cellText(const Cell &cell) const
{
    return m_texts[cell.offset >> 32].data() + (cell.offset & 0xFFFFFFFFu);
}

void XlsxSpreadsheet::autoFitColumn(int column)
{
    requireWorkbook();
    if (column < 1 || column > kMaxColumns)
        throw core::Failure(
            QStringLiteral("Column %1 lies outside the sheet (columns 1 to %2)").arg(column).arg(kMaxColumns));
    const auto index = static_cast<size_t>(column - 1);
    // A column without text keeps the standard width.
    if (index >= m_widest.size() || m_widest[index] == 0)
        return;
    if (m_width.size() <= index)
        m_width.resize(index + 1, 0.0);
    m_width[index] = m_widest[index];
}

void XlsxSpreadsheet::autoFitAllColumns()
{
    requireWorkbook();
    m_width.resize(std::max(m_width.size(), m_widest.size()), 0.0);
    for (size_t i = 0; i < m_widest.size(); ++i) {
        if (m_widest[i] > 0)
            m_width[i] = m_widest[i];
    }
}

void XlsxSpreadsheet::makeVisible()
{
    requireWorkbook();
    if (m_shown)
        return;
    if (m_path.isEmpty()) {
        const core::UnfinishedWrite writing; // the program does not end with the workbook half written
        core::runWhileYielding([this] { write(); }, m_yield);
    }
    if (!m_open(m_path))
        throw core::Failure(QStringLiteral("No application could be started to open the workbook %1").arg(m_path));
    m_shown = true;
}

void XlsxSpreadsheet::saveAs(const QString &target)
{
    requireWorkbook();
    // Made first: a file that cannot be saved fails before the workbook is written.
    core::FileOutput out(target);
    core::runWhileYielding(
        [&] {
            if (m_path.isEmpty())
                write();
            copyFileInto(m_path, out);
        },
        m_yield);
    out.commit(m_yield);
}

void XlsxSpreadsheet::write()
{
    removeAbandonedWorkbookFolders(m_tempRoot);
    // A folder of our own that only this user can enter: the names are personal data.
    m_folder = makeWorkbookFolder(m_tempRoot);
    const QByteArray folder = QFile::encodeName(m_folder.path);
    const QString path = QDir(m_folder.path).filePath(kFileName);

    // Rows must reach the writer in order; of two texts for one cell the later one counts.
    if (!m_inOrder) {
        std::stable_sort(m_cells.begin(), m_cells.end(), [](const Cell &a, const Cell &b) {
            return a.row != b.row ? a.row < b.row : a.column < b.column;
        });
        std::deque<Cell> unique;
        for (const Cell &cell : m_cells) {
            if (!unique.empty() && unique.back().row == cell.row && unique.back().column == cell.column)
                unique.back() = cell;
            else
                unique.push_back(cell);
        }
        m_cells = std::move(unique);
        m_inOrder = true;
    }

    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = const_cast<char *>(folder.constData());
    const QByteArray pathBytes = QFile::encodeName(path);
    lxw_workbook *workbook = workbook_new_opt(pathBytes.constData(), &options);
    if (!workbook) {
        removeWorkbookFolder(m_folder);
        throw core::Failure(QStringLiteral("The workbook %1 could not be created").arg(path));
    }
    lxw_worksheet *sheet = workbook_add_worksheet(workbook, nullptr);

    lxw_error error = sheet ? LXW_NO_ERROR : LXW_ERROR_MEMORY_MALLOC_FAILED;
    for (size_t i = 0; error == LXW_NO_ERROR && i < m_width.size(); ++i) {
        if (m_width[i] > 0)
            error = worksheet_set_column(sheet, static_cast<lxw_col_t>(i), static_cast<lxw_col_t>(i), m_width[i],
                                         nullptr);
    }
    for (size_t i = 0; error == LXW_NO_ERROR && i < m_cells.size(); ++i) {
        const Cell &cell = m_cells[i];
        error = worksheet_write_string(sheet, static_cast<lxw_row_t>(cell.row - 1),
                                       static_cast<lxw_col_t>(cell.column - 1), cellText(cell),
                                       nullptr);
    }
    // Closing writes the file and frees the workbook in every case.
    const lxw_error closed = workbook_close(workbook);
    if (error == LXW_NO_ERROR)
        error = closed;
    if (error != LXW_NO_ERROR) {
        removeWorkbookFolder(m_folder);
        throw core::Failure(QStringLiteral("The workbook %1 could not be written: %2").arg(path, libraryError(error)));
    }

    m_path = path;
    // The application has the file now; the gathered cells are no longer needed.
    std::deque<Cell>().swap(m_cells);
    std::vector<std::string>().swap(m_texts);
}

} // namespace orvella::tables

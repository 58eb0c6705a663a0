// Result rows as an .xlsx workbook: one sheet, every cell a text cell.

#include "core/BackgroundWork.h"
#include "core/Failure.h"
#include "core/NumberText.h"
#include "core/FileCopy.h"
#include "tables/SheetText.h"
#include "tables/TableWriters.h"
#include "tables/WorkbookFolder.h"
#include "tables/xlsx/XlsxSpreadsheet.h"

#include <QFile>

#include <xlsxwriter.h>

namespace orvella::tables {
namespace {

// The workbook libxlsxwriter writes. Closing it writes the file and frees it; a
// workbook given up on is closed too (its file is removed with the scratch folder).
class Workbook {
public:
    Workbook(const QString &path, const QString &scratch)
        : m_path(QFile::encodeName(path)), m_scratch(QFile::encodeName(scratch))
    {
        lxw_workbook_options options{};
        // Rows come in order, so each row goes to the writer's temporary file as it is
        // done and a million rows take little memory.
        options.constant_memory = LXW_TRUE;
        options.tmpdir = m_scratch.data();
        m_book = workbook_new_opt(m_path.constData(), &options);
        m_sheet = m_book ? workbook_add_worksheet(m_book, nullptr) : nullptr;
    }
    ~Workbook()
    {
        if (m_book)
            workbook_close(m_book);
    }
    Workbook(const Workbook &) = delete;
    Workbook &operator=(const Workbook &) = delete;

    lxw_worksheet *sheet() const { return m_sheet; }
    lxw_error close() { return workbook_close(std::exchange(m_book, nullptr)); }

private:
    QByteArray m_path;
    QByteArray m_scratch;
    lxw_workbook *m_book = nullptr;
    lxw_worksheet *m_sheet = nullptr;
};

QString libraryError(lxw_error error)
{
    return QString::fromUtf8(lxw_strerror(error));
}

// Cells longer than an Excel cell holds are cut to fit rather than losing the whole
// export for one long note: what Excel would show of them is all there is to write. The
// user hears which cells, a few of them by name; CSV and ODS keep any length.
class CutCells {
public:
    // The cell's text as the sheet stores it, cut to fit when it is too long.
    QString fitted(const QString &cell, lxw_row_t row, lxw_col_t column)
    {
        QString text = sheetText(cell);
        if (text.size() <= XlsxSpreadsheet::kMaxTextLength)
            return text;
        if (m_count++ < kNamed) {
            char name[LXW_MAX_CELL_NAME_LENGTH];
            lxw_rowcol_to_cell(name, row, column);
            m_named.append(QStringLiteral("%1 (%2 characters)").arg(QLatin1String(name), core::groupedCount(cell.size())));
        }
        return sheetTextCut(cell, XlsxSpreadsheet::kMaxTextLength);
    }

    // What the user is told; nothing when no cell was cut.
    QStringList changes() const
    {
        if (m_count == 0)
            return {};
        QString text = QStringLiteral("An Excel cell holds at most %1 characters, so %2 cut to fit: %3")
                           .arg(core::groupedCount(XlsxSpreadsheet::kMaxTextLength),
                                m_count == 1 ? QStringLiteral("this cell was") : QStringLiteral("these cells were"),
                                m_named.join(QStringLiteral(", ")));
        if (m_count > kNamed)
            text += QStringLiteral(" and %1 more").arg(core::groupedCount(m_count - kNamed));
        return {text + QStringLiteral(". A CSV file keeps the whole text.")};
    }

private:
    static constexpr qsizetype kNamed = 10;
    qsizetype m_count = 0;
    QStringList m_named;
};

} // namespace

QStringList writeXlsx(core::FileOutput &out, const QString &target, const TableSource &rows,
                      const std::function<void()> &yield)
{
    const ScratchFolder scratch;
    const QString path = scratch.filePath(QStringLiteral("Results.xlsx"));
    Workbook book(path, scratch.path());
    if (!book.sheet())
        throw core::Failure(QStringLiteral("Cannot write %1: the workbook could not be made").arg(target));

    CutCells cut;
    lxw_row_t row = 0;
    const auto writeRow = [&](const QStringList &cells) {
        if (row >= lxw_row_t(XlsxSpreadsheet::kMaxRows))
            throw core::Failure(QStringLiteral("Cannot write %1: a sheet holds at most %2 rows")
                                    .arg(target)
                                    .arg(XlsxSpreadsheet::kMaxRows));
        if (cells.size() > XlsxSpreadsheet::kMaxColumns)
            throw core::Failure(QStringLiteral("Cannot write %1: a sheet holds at most %2 columns; row %3 has %4")
                                    .arg(target)
                                    .arg(XlsxSpreadsheet::kMaxColumns)
                                    .arg(row + 1)
                                    .arg(cells.size()));
        for (qsizetype column = 0; column < cells.size(); ++column) {
            if (cells[column].isEmpty())
                continue; // left blank
            const QString text = cut.fitted(cells[column], row, lxw_col_t(column));
            // A text cell, never a formula or a number: "=1+2" and "0012" stay as written.
            const lxw_error error =
                worksheet_write_string(book.sheet(), row, lxw_col_t(column), text.toUtf8().constData(), nullptr);
            if (error != LXW_NO_ERROR)
                throw core::Failure(QStringLiteral("Cannot write %1: %2").arg(target, libraryError(error)));
        }
        ++row;
    };
    for (const QStringList &head : headRows(rows))
        writeRow(head);
    forEachRow(rows, yield, writeRow);

    // Putting the workbook together and copying it take a while: the window goes on.
    core::runWhileYielding(
        [&] {
            const lxw_error error = book.close();
            if (error != LXW_NO_ERROR)
                throw core::Failure(QStringLiteral("Cannot write %1: %2").arg(target, libraryError(error)));
            copyFileInto(path, out);
        },
        yield);
    return cut.changes();
}

} // namespace orvella::tables

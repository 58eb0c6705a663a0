// Result rows as an .xlsx workbook: one sheet, every cell a text cell. The sheet's XML
// is compressed into a file in a private scratch folder as the rows come, put in an
// archive there with the other parts, and the finished archive is copied into the
// output.

#include "core/BackgroundWork.h"
#include "core/Failure.h"
#include "core/NumberText.h"
#include "core/FileCopy.h"
#include "tables/SheetText.h"
#include "tables/TableWriters.h"
#include "tables/WorkbookFolder.h"
#include "tables/xlsx/XlsxSheetXml.h"
#include "tables/xlsx/XlsxSpreadsheet.h"
#include "tables/zip/ZipWriter.h"

namespace orvella::tables {
namespace {

// The parts of the workbook besides its sheet: what the archive holds and how the
// parts relate, the workbook of one sheet and the one style its cells have.
constexpr char kContentTypes[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
    "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
    "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
    "<Override PartName=\"/xl/workbook.xml\""
    " ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
    "<Override PartName=\"/xl/worksheets/sheet1.xml\""
    " ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
    "<Override PartName=\"/xl/styles.xml\""
    " ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>"
    "</Types>\n";

constexpr char kPackageRelations[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\""
    " Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\""
    " Target=\"xl/workbook.xml\"/>"
    "</Relationships>\n";

constexpr char kWorkbook[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\""
    " xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
    "<bookViews><workbookView/></bookViews>"
    "<sheets><sheet name=\"Sheet1\" sheetId=\"1\" r:id=\"rId1\"/></sheets>"
    "</workbook>\n";

constexpr char kWorkbookRelations[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\""
    " Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\""
    " Target=\"worksheets/sheet1.xml\"/>"
    "<Relationship Id=\"rId2\""
    " Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\""
    " Target=\"styles.xml\"/>"
    "</Relationships>\n";

constexpr char kStyles[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
    "<fonts count=\"1\"><font><sz val=\"11\"/><name val=\"Calibri\"/><family val=\"2\"/></font></fonts>"
    "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
    "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
    "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
    "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>"
    "<cellXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/></cellXfs>"
    "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
    "</styleSheet>\n";

// Cells longer than an Excel cell holds are cut to fit rather than losing the whole
// export for one long note: what Excel would show of them is all there is to write. The
// user hears which cells, a few of them by name; CSV and ODS keep any length.
class CutCells {
public:
    // The cell's text as the sheet stores it, cut to fit when it is too long.
    QString fitted(const QString &cell, qsizetype row, qsizetype column)
    {
        QString text = sheetText(cell);
        if (text.size() <= XlsxSpreadsheet::kMaxTextLength)
            return text;
        if (m_count++ < kNamed) {
            const QString name = QLatin1String(XlsxSheetXml::columnName(column)) + QString::number(row + 1);
            m_named.append(QStringLiteral("%1 (%2 characters)").arg(name, core::groupedCount(cell.size())));
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
    const QString sheetPath = scratch.filePath(QStringLiteral("sheet1.xml.deflated"));
    XlsxSheetXml sheet(sheetPath, target);

    CutCells cut;
    qsizetype row = 0;
    const auto writeRow = [&](const QStringList &cells) {
        if (row >= XlsxSpreadsheet::kMaxRows)
            throw core::Failure(QStringLiteral("Cannot write %1: a sheet holds at most %2 rows")
                                    .arg(target)
                                    .arg(XlsxSpreadsheet::kMaxRows));
        if (cells.size() > XlsxSpreadsheet::kMaxColumns)
            throw core::Failure(QStringLiteral("Cannot write %1: a sheet holds at most %2 columns; row %3 has %4")
                                    .arg(target)
                                    .arg(XlsxSpreadsheet::kMaxColumns)
                                    .arg(row + 1)
                                    .arg(cells.size()));
        sheet.beginRow();
        for (qsizetype column = 0; column < cells.size(); ++column) {
            if (!cells[column].isEmpty()) // an empty cell is left blank
                sheet.addCell(column, cut.fitted(cells[column], row, column));
        }
        sheet.endRow();
        ++row;
    };
    for (const QStringList &head : headRows(rows))
        writeRow(head);
    forEachRow(rows, yield, writeRow);

    // The rest of the compression, putting the archive together and copying it take a
    // while: the window goes on.
    core::runWhileYielding(
        [&] {
            const DeflatedPart sheetPart = sheet.finish();
            const QString archivePath = scratch.filePath(QStringLiteral("Results.xlsx"));
            ZipWriter archive(archivePath, target);
            const auto addPart = [&archive](const char *name, const auto &text) {
                archive.addBytes(name, text, sizeof text - 1, ZipWriter::Method::Deflate);
            };
            addPart("[Content_Types].xml", kContentTypes);
            addPart("_rels/.rels", kPackageRelations);
            addPart("xl/workbook.xml", kWorkbook);
            addPart("xl/_rels/workbook.xml.rels", kWorkbookRelations);
            addPart("xl/styles.xml", kStyles);
            archive.addDeflatedFile("xl/worksheets/sheet1.xml", sheetPath, sheetPart);
            archive.close();
            copyFileInto(archivePath, out);
        },
        yield);
    return cut.changes();
}

} // namespace orvella::tables

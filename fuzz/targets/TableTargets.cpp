// The table readers over arbitrary files.
//
// csv_table: the input is a CSV file (a TSV file when its first byte is odd; that byte
// is not part of the file). Rules:
// - a UTF-8 file (of less than half a piece) and the same text as a UTF-16 file give
//   the same rows, or the same failure: the bytes split straight and the decoded text
//   split once it is UTF-8 again agree;
// - every table keeps checkTable's rules;
// - the rows written by the CSV export load back as the same rows.
// xlsx_part: the input is one part of an Excel workbook (its first byte picks which:
// the sheet, the shared strings, the styles or the workbook), the other parts fixed.
// xlsx_archive, ods_table: the input is the whole file (for ods_table, when it does not
// start as a ZIP archive does, it is the content.xml of one).
// For the workbooks: a read gives a table keeping checkTable's rules, or a failure
// (core::Failure) with a description; nothing else.

#include "FuzzTargets.h"
#include "TableSupport.h"

#include "tables/TableExport.h"
#include "tables/TextFileDecoder.h"

#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

#include <optional>

namespace orvella::fuzz {
namespace {

// Rows as an export's source: the rows of a table, each padded to its width.
class RowsSource : public tables::TableSource {
public:
    explicit RowsSource(std::vector<QStringList> rows) : m_rows(std::move(rows)) {}
    QStringList header() const override { return {}; }
    qsizetype rowCount() const override { return qsizetype(m_rows.size()); }
    void cells(qsizetype row, QStringList &cells) const override { cells = m_rows[size_t(row)]; }

private:
    std::vector<QStringList> m_rows;
};

std::vector<QStringList> allRows(const tables::TableRows &rows)
{
    std::vector<QStringList> all;
    for (qsizetype row = 0; row < rows.rowCount(); ++row)
        all.push_back(rows.row(row));
    return all;
}

void checkRoundTrip(const std::vector<QStringList> &rows)
{
    const QString path = scratchPath(QStringLiteral("export.csv"));
    tables::writeTable(path, tables::TableFormat::Csv, RowsSource(rows));
    const TableRead back = readTable(path);
    FUZZ_CHECK(back.rows.has_value(), "the export does not load: " + shown(back.failure));
    const std::vector<QStringList> loaded = allRows(*back.rows);
    FUZZ_CHECK(loaded.size() == rows.size(),
               std::to_string(rows.size()) + " rows load back as " + std::to_string(loaded.size()));
    for (size_t i = 0; i < loaded.size(); ++i)
        FUZZ_CHECK(loaded[i] == rows[i], "row " + std::to_string(i) + " loads back as " +
                                                 shown(loaded[i].join(u'|')) + ", not " +
                                                 shown(rows[i].join(u'|')));
}

// The text of a UTF-8 file (after its mark, if any) as a UTF-16 file; none when the file
// is not UTF-8.
std::optional<QByteArray> asUtf16(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    QStringDecoder decoder(QStringConverter::Utf8,
                           QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    QStringEncoder encoder(QStringConverter::Utf16LE);
    return QByteArray("\xFF\xFE") + QByteArray(encoder.encode(text));
}

// The file as UTF-16 gives the same rows or the same failure as the UTF-8 file read.
// Both fit in their first piece, so that the delimiter is found from the same text.
void checkSameAsUtf16(const QString &path, const QByteArray &bytes, const TableRead &read)
{
    const std::optional<QByteArray> utf16 = asUtf16(bytes);
    if (!utf16 || bytes.size() > tables::kReadChunkBytes / 2)
        return;
    const QString utf16Path = scratchPath(QStringLiteral("utf16-") + QFileInfo(path).fileName());
    writeScratch(utf16Path, *utf16);
    TableRead wide = readTable(utf16Path);
    wide.failure.replace(utf16Path, path);
    FUZZ_CHECK(read.failure == wide.failure, "the UTF-8 and the UTF-16 file fail differently: " +
                                                 shown(read.failure) + " and " + shown(wide.failure));
    if (read.rows)
        FUZZ_CHECK(allRows(*read.rows) == allRows(*wide.rows), "the UTF-8 and the UTF-16 file give different rows");
}

void readWorkbook(const QString &name, const QByteArray &bytes)
{
    const QString path = scratchPath(name);
    writeScratch(path, bytes);
    const TableRead read = readTable(path);
    if (read.rows)
        checkTable(*read.rows, true);
}

const QByteArray kWorkbook =
    "<workbook xmlns:r='http://schemas.openxmlformats.org/officeDocument/2006/relationships'>"
    "<sheets><sheet name='One' sheetId='1' r:id='rId1'/></sheets></workbook>";
const QByteArray kRelations =
    "<Relationships><Relationship Id='rId1' Type='x/worksheet' Target='worksheets/sheet1.xml'/>"
    "<Relationship Id='rId2' Type='x/sharedStrings' Target='sharedStrings.xml'/>"
    "<Relationship Id='rId3' Type='x/styles' Target='styles.xml'/></Relationships>";
const QByteArray kSheet = "<worksheet><sheetData><row><c t='s'><v>0</v></c><c s='1'><v>45366.5</v></c>"
                          "<c t='inlineStr'><is><t>in_x0041_</t></is></c></row><row r='3'><c r='C3' t='s'><v>1</v>"
                          "</c></row></sheetData></worksheet>";
const QByteArray kStrings = "<sst><si><t>Ann Lee</t></si><si><r><t>Bo</t></r><r><t>b</t></r></si></sst>";
const QByteArray kStyles = "<styleSheet><numFmts><numFmt numFmtId='164' formatCode='yyyy-mm-dd hh:mm'/></numFmts>"
                           "<cellXfs><xf numFmtId='0'/><xf numFmtId='164'/></cellXfs></styleSheet>";

} // namespace

void fuzzCsvTable(const std::uint8_t *data, std::size_t size)
{
    ensureApplication();
    useFuzzBudget();
    const bool tsv = size > 0 && (data[0] & 1);
    const QByteArray bytes = size > 0 ? QByteArray(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1))
                                      : QByteArray();
    const QString path = scratchPath(tsv ? QStringLiteral("table.tsv") : QStringLiteral("table.csv"));
    writeScratch(path, bytes);
    const TableRead read = readTable(path);
    checkSameAsUtf16(path, bytes, read);
    if (!read.rows)
        return;
    checkTable(*read.rows, false);
    const std::vector<QStringList> rows = allRows(*read.rows);
    if (!rows.empty() && rows.size() <= 256)
        checkRoundTrip(rows);
}

void fuzzXlsxPart(const std::uint8_t *data, std::size_t size)
{
    ensureApplication();
    useFuzzBudget();
    if (size == 0)
        return;
    std::vector<std::pair<QString, QByteArray>> parts = {
        {QStringLiteral("xl/workbook.xml"), kWorkbook},
        {QStringLiteral("xl/_rels/workbook.xml.rels"), kRelations},
        {QStringLiteral("xl/worksheets/sheet1.xml"), kSheet},
        {QStringLiteral("xl/sharedStrings.xml"), kStrings},
        {QStringLiteral("xl/styles.xml"), kStyles}};
    const std::size_t chosen = std::size_t(data[0]) % 4; // the workbook, its sheet, strings or styles
    parts[chosen == 0 ? 0 : chosen + 1].second = QByteArray(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    readWorkbook(QStringLiteral("part.xlsx"), zipOf(parts));
}

void fuzzXlsxArchive(const std::uint8_t *data, std::size_t size)
{
    ensureApplication();
    useFuzzBudget();
    readWorkbook(QStringLiteral("whole.xlsx"), QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
}

void fuzzOdsTable(const std::uint8_t *data, std::size_t size)
{
    ensureApplication();
    useFuzzBudget();
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (bytes.startsWith("PK\x03\x04")) {
        readWorkbook(QStringLiteral("whole.ods"), bytes);
        return;
    }
    readWorkbook(QStringLiteral("content.ods"),
                 zipOf({{QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.spreadsheet"},
                        {QStringLiteral("content.xml"), bytes}}));
}

} // namespace orvella::fuzz

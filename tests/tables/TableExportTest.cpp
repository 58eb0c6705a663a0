// Result rows written as CSV, TSV, plain list, XLSX and ODS: the exact bytes of the
// text formats, the workbooks read back by other programs' readers, and saves that
// fail part-way leaving the file that was there before untouched.

#include "core/Failure.h"
#include "tables/SheetText.h"
#include "tables/TableExport.h"
#include "tables/zip/ZipArchive.h"
#include "support/Files.h"
#include "support/NoNewThreads.h"
#include "support/Printers.h"
#include "support/SmallDisk.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>
#include <system_error>
#include <thread>

#include <xlsxwriter.h>

using namespace orvella;
using namespace orvella::testing;
using tables::TableFormat;

namespace {

struct Rows : tables::TableSource {
    QStringList head;
    QList<QStringList> body;
    qsizetype failAt = -1; // the row whose reading throws, as a list changed meanwhile
    bool asBytes = false;  // rows handed over as UTF-8, as a table's cells are
    mutable std::vector<QByteArray> utf8;

    QStringList header() const override { return head; }
    qsizetype rowCount() const override { return body.size(); }
    void cells(qsizetype row, QStringList &cells) const override
    {
        if (row == failAt)
            throw core::Failure(QStringLiteral("An item vanished"));
        cells = body[row];
    }
    bool cellBytes(qsizetype row, std::vector<QByteArrayView> &cells) const override
    {
        if (!asBytes)
            return false;
        utf8.clear();
        for (const QString &cell : body[row])
            utf8.push_back(cell.toUtf8());
        cells.assign(utf8.begin(), utf8.end());
        return true;
    }
};

// Rows of varied text that compress poorly, so that every format makes a file of some
// size; row i's cells depend on i alone.
Rows manyRows(int count)
{
    Rows rows;
    rows.head = {"Name", "Key", "Note"};
    for (quint32 i = 0; i < quint32(count); ++i)
        rows.body.append({QString::number(i * 2654435761u, 36), QString::number(i * 40503u + 7, 36),
                          QString::number(i * 97u, 16)});
    return rows;
}

QByteArray written(TableFormat format, const Rows &rows, const core::ExportOptions &options = {})
{
    QTemporaryDir dir;
    const QString path = dir.filePath("out");
    tables::writeTable(path, format, rows, {}, options);
    return readBytes(path);
}

core::ExportOptions textOptions(char16_t delimiter, core::TextEncoding encoding = core::TextEncoding::Utf8WithMark,
                                core::LineEnds ends = core::LineEnds::CrLf, bool protect = true)
{
    core::ExportOptions options;
    options.delimiter = delimiter;
    options.encoding = encoding;
    options.lineEnds = ends;
    options.protectFormulas = protect;
    return options;
}

const QByteArray kBom = "\xEF\xBB\xBF";
const QByteArray kOldFile = "old contents\r\n";

struct TextCase {
    const char *name;
    TableFormat format;
    QStringList header;
    QList<QStringList> rows;
    QByteArray expected;
    core::ExportOptions options = {};
};

const TextCase kTextCases[] = {
    {"csv header then rows", TableFormat::Csv, {"Name", "Key"}, {{"Ann Lee", "Lee"}, {"Bob", "Bob"}},
     kBom + "Name,Key\r\nAnn Lee,Lee\r\nBob,Bob\r\n"},
    {"csv quotes separators, quotes, line ends, edge spaces and the other delimiters", TableFormat::Csv, {},
     {{"a,b", "say \"hi\"", "\"", "two\r\nlines", "lf\nonly", "cr\ronly"},
      {" lead", "trail ", "in side", "tab\tinside", "\tedge", "Lee; Ann"}},
     kBom + "\"a,b\",\"say \"\"hi\"\"\",\"\"\"\",\"two\r\nlines\",\"lf\nonly\",\"cr\ronly\"\r\n"
            "\" lead\",\"trail \",in side,\"tab\tinside\",\"\tedge\",\"Lee; Ann\"\r\n",
     textOptions(u',', core::TextEncoding::Utf8WithMark, core::LineEnds::CrLf, false)},
    {"csv empty cells, an empty row and a row of one empty cell", TableFormat::Csv, {}, {{"", "x", ""}, {}, {""}},
     kBom + ",x,\r\n\r\n\"\"\r\n"},
    {"csv non-ASCII, and formulas as written without protection", TableFormat::Csv, {},
     {{"Zoë 李小龍", "=1+2", "0012", "😀"}}, kBom + "Zoë 李小龍,=1+2,0012,😀\r\n",
     textOptions(u',', core::TextEncoding::Utf8WithMark, core::LineEnds::CrLf, false)},
    {"csv protection: formulas get an apostrophe, numbers and other cells do not", TableFormat::Csv, {"=Total"},
     {{"=1+2", "+A1", "-A1", "@SUM(A1)", "\tx", "\rx"}, {"-12", "+3.5", "+44 20 7946 0000", "-(1,200.50)", "-", "a=b"}},
     kBom + "'=Total\r\n'=1+2,'+A1,'-A1,'@SUM(A1),\"'\tx\",\"'\rx\"\r\n"
            "-12,+3.5,+44 20 7946 0000,\"-(1,200.50)\",'-,a=b\r\n"},
    {"tsv protection", TableFormat::Tsv, {}, {{"=1", "-5", "+1-555-0100"}}, kBom + "'=1\t-5\t+1-555-0100\r\n"},
    {"csv semicolon quotes the other delimiters", TableFormat::Csv, {}, {{"a;b", "a,b", "c"}},
     kBom + "\"a;b\";\"a,b\";c\r\n", textOptions(u';')},
    {"csv TAB delimiter", TableFormat::Csv, {}, {{"a b", "c,d", "e"}}, kBom + "a b\t\"c,d\"\te\r\n", textOptions(u'\t')},
    {"tsv keeps the TAB whatever the delimiter", TableFormat::Tsv, {}, {{"a;b", "c"}}, kBom + "a;b\tc\r\n",
     textOptions(u';')},
    {"csv UTF-8 without a mark, LF", TableFormat::Csv, {"Name"}, {{"Zoë", "x\ny"}}, "Name\nZoë,\"x\ny\"\n",
     textOptions(u',', core::TextEncoding::Utf8, core::LineEnds::Lf)},
    {"csv Windows-1252", TableFormat::Csv, {}, {{"Zoë", "€5 – “x”"}}, "Zo\xEB,\x80" "5 \x96 \x93x\x94\r\n",
     textOptions(u',', core::TextEncoding::Windows1252)},
    {"csv lone surrogate", TableFormat::Csv, {}, {{QString(QChar(0xD800)) + "x"}}, kBom + "?x\r\n"},
    {"csv a cell that starts with U+FEFF keeps it", TableFormat::Csv, {},
     {{QString(QChar(0xFEFF)) + " x", QString(QChar(0xA0)) + "y "}},
     kBom + kBom + " x,\"\xC2\xA0y \"\r\n"},
    {"csv header alone", TableFormat::Csv, {"Name"}, {}, kBom + "Name\r\n"},
    {"csv nothing at all", TableFormat::Csv, {}, {}, kBom},
    {"tsv quotes tabs, quotes and line ends, not commas", TableFormat::Tsv, {"Name", "Key"},
     {{"a,b", "tab\there", "q\"", " edge", "line\nbreak", ""}},
     kBom + "Name\tKey\r\na,b\t\"tab\there\"\t\"q\"\"\"\t\" edge\"\t\"line\nbreak\"\t\r\n"},
    {"plain list: first cells alone, no header, no mark", TableFormat::PlainList, {"Name", "Key"},
     {{"Ann Lee", "Lee"}, {"Zoë, \"Z\""}, {}, {"", "x"}}, "Ann Lee\r\nZoë, \"Z\"\r\n\r\n\r\n"},
    {"plain list: the text options are not its", TableFormat::PlainList, {}, {{"=Zoë"}}, "=Zoë\r\n",
     textOptions(u';', core::TextEncoding::Windows1252, core::LineEnds::Lf)},
};

TEST(TextTableExport, WritesTheExactBytes)
{
    // Rows handed over as text and as UTF-8 bytes are written alike.
    for (const bool asBytes : {false, true}) {
        for (const TextCase &c : kTextCases) {
            SCOPED_TRACE(std::string(c.name) + (asBytes ? " (as bytes)" : ""));
            Rows rows;
            rows.head = c.header;
            rows.body = c.rows;
            rows.asBytes = asBytes;
            EXPECT_EQ(written(c.format, rows, c.options), c.expected);
        }
    }
}

// Runs a Python reader on the file and answers what it printed as JSON.
QJsonValue readWithPython(const char *script, const QStringList &args)
{
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), QStringList{"-c", QString::fromUtf8(script)} + args);
    python.waitForFinished(-1);
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    return QJsonDocument::fromJson("[" + python.readAllStandardOutput() + "]").array().at(0);
}

QList<QStringList> rowsOf(const QJsonValue &value)
{
    QList<QStringList> rows;
    for (const QJsonValue &row : value.toArray()) {
        QStringList cells;
        for (const QJsonValue &cell : row.toArray())
            cells << cell.toString();
        rows << cells;
    }
    return rows;
}

const QList<QStringList> kAwkwardRows = {
    {"=1+2", "0012", "TRUE", "Zoë 李小龍"},
    {"", "a,b", "say \"hi\"", ""},
    {"two\nlines", "  two  spaces  ", "tab\there", "_x0041_"},
    {"<b>&amp;</b>", " ", "😀", "1/2/2003"},
};

TEST(TextTableExport, CsvAndTsvReadBackIntactByACsvReader)
{
    const char *reader = R"PY(
import csv, json, sys
with open(sys.argv[1], newline='', encoding='utf-8-sig') as f:
    print(json.dumps(list(csv.reader(f, delimiter=sys.argv[2]))))
)PY";
    for (const auto &[format, delimiter] : {std::pair{TableFormat::Csv, ","}, std::pair{TableFormat::Tsv, "\t"}}) {
        SCOPED_TRACE(delimiter);
        QTemporaryDir dir;
        Rows rows;
        rows.head = {"Name", "Key", "Note", "More"};
        rows.body = kAwkwardRows;
        core::ExportOptions unprotected;
        unprotected.protectFormulas = false;
        tables::writeTable(dir.filePath("t"), format, rows, {}, unprotected);
        EXPECT_EQ(rowsOf(readWithPython(reader, {dir.filePath("t"), delimiter})), QList<QStringList>{rows.head} + rows.body);
    }
}

// Every delimiter, encoding and line end, read back by Python's csv module in the
// encoding chosen: the cells come back as they were, a formula with its apostrophe.
TEST(TextTableExport, EachDelimiterAndEncodingReadsBackInPython)
{
    const char *reader = R"PY(
import csv, json, sys
with open(sys.argv[1], newline='', encoding=sys.argv[3]) as f:
    print(json.dumps(list(csv.reader(f, delimiter=sys.argv[2]))))
)PY";
    const struct {
        core::TextEncoding encoding;
        const char *python;
    } encodings[] = {{core::TextEncoding::Utf8WithMark, "utf-8-sig"},
                     {core::TextEncoding::Utf8, "utf-8"},
                     {core::TextEncoding::Windows1252, "cp1252"}};
    Rows rows;
    rows.head = {"Name", "Note", "Sum", "Phone"};
    rows.body = {{"Zoë “Z” Müller", "a,b;c\td", "=1+2", "+44 20 7946 0000"},
                 {"€ – —", "two\nlines", "-A1", "-12"},
                 {"", " edge ", "@x", "say \"hi\""}};
    QList<QStringList> expected = QList<QStringList>{rows.head} + rows.body;
    for (const qsizetype row : {1, 2, 3})
        expected[row][2].prepend(u'\'');
    for (const char16_t delimiter : {u',', u';', u'\t'}) {
        for (const auto &[encoding, python] : encodings) {
            for (const core::LineEnds ends : {core::LineEnds::CrLf, core::LineEnds::Lf}) {
                SCOPED_TRACE(std::string(python) + " delimiter " + std::to_string(int(delimiter)));
                QTemporaryDir dir;
                tables::writeTable(dir.filePath("t"), TableFormat::Csv, rows, {}, textOptions(delimiter, encoding, ends));
                const QJsonValue read = readWithPython(reader, {dir.filePath("t"), QString(QChar(delimiter)), python});
                EXPECT_EQ(rowsOf(read), expected);
                EXPECT_EQ(readBytes(dir.filePath("t")).startsWith(kBom), encoding == core::TextEncoding::Utf8WithMark);
            }
        }
    }
}

// A cell Windows-1252 has no character for: the failure names the file, the row (the
// header is row 1) and the character; nothing is written and the old file stays.
TEST(TextTableExport, Windows1252RefusesARowItCannotHold)
{
    Rows rows;
    rows.head = {"Name"};
    rows.body = {{"Zoë €"}, {"Ann"}, {"Lee", "李小龍"}, {"Ω"}};
    for (const TableFormat format : {TableFormat::Csv, TableFormat::Tsv}) {
        QTemporaryDir dir;
        const QString path = dir.filePath("results");
        writeBytes(path, kOldFile);
        try {
            tables::writeTable(path, format, rows, {}, textOptions(u',', core::TextEncoding::Windows1252));
            ADD_FAILURE() << "wrote a character Windows-1252 lacks";
        } catch (const core::Failure &f) {
            EXPECT_EQ(f.description(), "Cannot write " + path + " in Windows-1252: row 4 holds \u201C李\u201D, "
                                       "which it has no character for");
        }
        EXPECT_EQ(readBytes(path), kOldFile);
        EXPECT_EQ(folderEntries(dir.path()), QStringList{"results"});
    }
}

TEST(XlsxTableExport, EveryCellReadsBackAsTextEmptyCellsBlank)
{
    const char *reader = R"PY(
import json, re, sys, zipfile
import openpyxl
# A spreadsheet application reads "_xHHHH_" as the character with that code.
def shown(v):
    return '' if v is None else re.sub(r'_x([0-9A-Fa-f]{4})_', lambda m: chr(int(m.group(1), 16)), v)
book = openpyxl.load_workbook(sys.argv[1])
sheet = book.active
rows = [[shown(c.value) for c in row] for row in sheet.iter_rows()]
types = sorted({c.data_type for row in sheet.iter_rows() for c in row if c.value is not None})
blank = sum(1 for row in sheet.iter_rows() for c in row if c.value is None)
xml = zipfile.ZipFile(sys.argv[1]).read('xl/worksheets/sheet1.xml').decode()
print(json.dumps({'sheets': len(book.sheetnames), 'rows': rows, 'types': types, 'blank': blank,
                  'formulas': '<f>' in xml or '<f ' in xml}))
)PY";
    QTemporaryDir dir;
    Rows rows;
    rows.head = {"Name", "", "Note", "More"};
    rows.body = kAwkwardRows;
    tables::writeTable(dir.filePath("t.xlsx"), TableFormat::Xlsx, rows);
    const QJsonObject book = readWithPython(reader, {dir.filePath("t.xlsx")}).toObject();
    EXPECT_EQ(book["sheets"].toInt(), 1);
    EXPECT_EQ(rowsOf(book["rows"]), QList<QStringList>{rows.head} + rows.body);
    EXPECT_EQ(book["types"].toArray(), QJsonArray{"s"});
    EXPECT_EQ(book["blank"].toInt(), 3);
    EXPECT_FALSE(book["formulas"].toBool());
}

// The cells of the sheet, as XML, from the first row to the last.
QByteArray sheetData(const QString &workbook)
{
    const QByteArray xml = tables::ZipArchive(workbook, "an Excel workbook").read("xl/worksheets/sheet1.xml");
    const qsizetype start = xml.indexOf("<sheetData>"), end = xml.indexOf("</sheetData>");
    return start >= 0 && end > start ? xml.sliced(start, end - start) : xml;
}

// Each cell's XML is what libxlsxwriter wrote for it, which spreadsheet applications
// have read all along: white space kept at either end, markup escaped, control
// characters (a CR among them) as codes, characters XML cannot hold as sheetText gives.
TEST(XlsxTableExport, CellsAreWrittenAsLibxlsxwriterWroteThem)
{
    QList<QStringList> rows = kAwkwardRows;
    rows += QStringList{"a\r", "\r\na", "\va", "a\f", " ", "\t", "\n", "a\x7F\u00A0", "\u0001\u001F"};
    rows += QStringList{QString(QChar(0xD800)) + "x", "x" + QString(QChar(0xDC00)), QString(QChar(0xFFFF)), "_x00e9_"};
    rows += QStringList{};
    rows += QStringList{"", "", "after an empty row"};
    QTemporaryDir dir;
    const QString ours = dir.filePath("ours.xlsx");
    Rows source;
    source.body = rows;
    tables::writeTable(ours, TableFormat::Xlsx, source);

    const QString theirs = dir.filePath("theirs.xlsx");
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook *book = workbook_new_opt(QFile::encodeName(theirs).constData(), &options);
    lxw_worksheet *sheet = workbook_add_worksheet(book, nullptr);
    for (int row = 0; row < rows.size(); ++row) {
        for (int column = 0; column < rows[row].size(); ++column) {
            if (!rows[row][column].isEmpty())
                worksheet_write_string(sheet, lxw_row_t(row), lxw_col_t(column),
                                       tables::sheetText(rows[row][column]).toUtf8().constData(), nullptr);
        }
    }
    ASSERT_EQ(workbook_close(book), LXW_NO_ERROR);
    EXPECT_EQ(sheetData(ours), sheetData(theirs));
}

// The sheet's text goes to the compression a piece at a time, on a worker thread or,
// when the system refuses one, as each piece is made: thousands of rows, many pieces,
// read back whole and in order either way, the sheet the same byte for byte.
TEST(XlsxTableExport, ManyRowsReadBackWholeWithOrWithoutAThread)
{
    const char *reader = R"PY(
import json, sys
import openpyxl
sheet = openpyxl.load_workbook(sys.argv[1]).active
print(json.dumps([[c.value for c in row] for row in sheet.iter_rows()]))
)PY";
    const Rows rows = manyRows(40000);
    QByteArray sheets[2];
    for (const bool threads : {true, false}) {
        SCOPED_TRACE(threads ? "threads" : "no threads");
        QTemporaryDir dir;
        const QString path = dir.filePath("t.xlsx");
        if (threads) {
            tables::writeTable(path, TableFormat::Xlsx, rows);
        } else {
            NoNewThreads noThreads;
            ASSERT_TRUE(noThreads.set());
            ASSERT_THROW(std::thread([] {}).join(), std::system_error);
            tables::writeTable(path, TableFormat::Xlsx, rows);
        }
        sheets[threads] = tables::ZipArchive(path, "an Excel workbook").read("xl/worksheets/sheet1.xml");
        if (threads)
            EXPECT_EQ(rowsOf(readWithPython(reader, {path})), QList<QStringList>{rows.head} + rows.body);
    }
    EXPECT_GT(sheets[1].size(), qsizetype(4) << 20);
    EXPECT_EQ(sheets[0], sheets[1]);
}

// Each cell is where its row and column put it, up to the sheet's last row and column;
// one row or column more stops the export with a message that says why, and the file
// keeps what it held.
TEST(XlsxTableExport, CellsUpToTheSheetsLastKeepTheirPlacesAndOneMoreFails)
{
    const char *reader = R"PY(
import json, sys
import openpyxl
# Read-only: the cells that are there, not every cell up to the last.
sheet = openpyxl.load_workbook(sys.argv[1], read_only=True).active
print(json.dumps({c.coordinate: c.value for row in sheet.iter_rows() for c in row if c.value is not None}))
)PY";
    const qsizetype kRows = 1048576, kColumns = 16384;
    const auto wideRow = [](qsizetype columns, QList<std::pair<qsizetype, QString>> cells) {
        QStringList row(columns);
        for (const auto &[column, text] : cells) {
            if (column < columns)
                row[column] = text;
        }
        return row;
    };
    struct Case {
        const char *name;
        qsizetype bodyRows; // empty rows below the header, then the wide row
        qsizetype columns;  // of the wide row
        QString failure;    // after "Cannot write <path>: "; none when it is saved
    };
    const Case cases[] = {
        {"the last cell", kRows - 2, kColumns, {}},
        {"one row more", kRows - 1, 3, "a sheet holds at most 1048576 rows"},
        {"one column more", 0, kColumns + 1, "a sheet holds at most 16384 columns; row 2 has 16385"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString path = dir.filePath("t.xlsx");
        writeBytes(path, kOldFile);
        Rows rows;
        rows.head = {"Name"};
        rows.body = QList<QStringList>(c.bodyRows);
        rows.body.append(wideRow(c.columns, {{0, "A"}, {25, "Z"}, {26, "AA"}, {701, "ZZ"}, {702, "AAA"},
                                             {c.columns - 1, "last"}}));
        if (!c.failure.isEmpty()) {
            try {
                tables::writeTable(path, TableFormat::Xlsx, rows);
                ADD_FAILURE() << "saved";
            } catch (const core::Failure &f) {
                EXPECT_EQ(f.description(), QStringLiteral("Cannot write %1: %2").arg(path, c.failure));
            }
            EXPECT_EQ(readBytes(path), kOldFile);
            continue;
        }
        tables::writeTable(path, TableFormat::Xlsx, rows);
        const QString last = QString::number(kRows);
        EXPECT_EQ(readWithPython(reader, {path}).toObject(),
                  (QJsonObject{{"A1", "Name"}, {"A" + last, "A"}, {"Z" + last, "Z"}, {"AA" + last, "AA"},
                               {"ZZ" + last, "ZZ"}, {"AAA" + last, "AAA"}, {"XFD" + last, "last"}}));
    }
}

// Reads the archive's entries and the sheet as an OpenDocument reader does: literal
// white space folds to one space and is dropped at either end of a paragraph; text:s,
// text:tab and text:line-break stand for spaces, a TAB and a line break.
const char *kOdsReader = R"PY(
import json, re, sys, zipfile
import xml.etree.ElementTree as ET
T = '{urn:oasis:names:tc:opendocument:xmlns:table:1.0}'
X = '{urn:oasis:names:tc:opendocument:xmlns:text:1.0}'
O = '{urn:oasis:names:tc:opendocument:xmlns:office:1.0}'
def fold(s):
    return re.sub(r'[ \t\r\n]+', ' ', s or '')
def paragraph(p):
    parts = [fold(p.text)]
    for child in p:
        if child.tag == X + 's': parts.append('\0' * int(child.get(X + 'c', '1')))
        elif child.tag == X + 'tab': parts.append('\1')
        elif child.tag == X + 'line-break': parts.append('\2')
        parts.append(fold(child.tail))
    text = ''.join(parts).strip(' ')
    return text.replace('\0', ' ').replace('\1', '\t').replace('\2', '\n')
z = zipfile.ZipFile(sys.argv[1])
first = z.infolist()[0]
root = ET.fromstring(z.read('content.xml'))
rows, types = [], set()
for row in root.iter(T + 'table-row'):
    cells = row.findall(T + 'table-cell')
    types |= {c.get(O + 'value-type') for c in cells if len(c)}
    rows.append(['\n'.join(paragraph(p) for p in c.findall(X + 'p')) for c in cells])
ET.fromstring(z.read('META-INF/manifest.xml'))
print(json.dumps({'first': first.filename, 'stored': first.compress_type == zipfile.ZIP_STORED,
                  'mimetype': z.read('mimetype').decode(), 'rows': rows, 'types': sorted(types),
                  'columns': [c.get(T + 'number-columns-repeated') for c in root.iter(T + 'table-column')]}))
)PY";

TEST(OdsTableExport, ArchiveAndCellsReadBackAsWritten)
{
    QTemporaryDir dir;
    Rows rows;
    rows.head = {"Name", "Key"};
    rows.body = kAwkwardRows;
    rows.body += QStringList{"  lead", "trail  ", " a  b   c ", "\t x \n y \r\n"};
    rows.body += QStringList{"only one"};
    rows.body += QStringList{};
    tables::writeTable(dir.filePath("t.ods"), TableFormat::Ods, rows);

    const QJsonObject sheet = readWithPython(kOdsReader, {dir.filePath("t.ods")}).toObject();
    EXPECT_EQ(sheet["first"].toString(), "mimetype");
    EXPECT_TRUE(sheet["stored"].toBool());
    EXPECT_EQ(sheet["mimetype"].toString(), "application/vnd.oasis.opendocument.spreadsheet");
    EXPECT_EQ(sheet["types"].toArray(), QJsonArray{"string"});
    EXPECT_EQ(sheet["columns"].toArray(), QJsonArray{"4"});
    QList<QStringList> expected = QList<QStringList>{rows.head} + rows.body;
    expected[5][3] = "\t x \n y \n"; // a CR LF is one line break
    expected.last() = QStringList{""};  // a row holds at least one cell
    EXPECT_EQ(rowsOf(sheet["rows"]), expected);
}

const TableFormat kAllFormats[] = {TableFormat::Csv, TableFormat::Tsv, TableFormat::PlainList, TableFormat::Xlsx,
                                   TableFormat::Ods};

// A workbook's parts are dated 1 January 1980, 00:00, whenever it is written, so that
// the same rows make the same bytes: every part's local header says so.
TEST(WorkbookExport, PartsCarryOneFixedDate)
{
    QTemporaryDir dir;
    Rows rows;
    rows.head = {"Name"};
    rows.body = {{"Ann Lee"}};
    for (const TableFormat format : {TableFormat::Xlsx, TableFormat::Ods}) {
        const QString path = dir.filePath(format == TableFormat::Xlsx ? "t.xlsx" : "t.ods");
        tables::writeTable(path, format, rows);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        int parts = 0;
        for (qsizetype at = bytes.indexOf("PK\x03\x04"); at >= 0; at = bytes.indexOf("PK\x03\x04", at + 4)) {
            EXPECT_EQ(bytes.mid(at + 10, 4), QByteArray("\x00\x00\x21\x00", 4)) << path.toStdString() << " @" << at;
            ++parts;
        }
        EXPECT_GE(parts, 3) << path.toStdString();
    }
}

// A save fails at any point of the writing: the target keeps its old bytes, the
// folder holds no temporary file and the message names the file. With room for the
// whole file it is saved.
TEST(TableExportFailure, DiskFullPartWayKeepsTheOldFile)
{
    const Rows rows = manyRows(3000);
    for (const TableFormat format : kAllFormats) {
        const qint64 size = written(format, rows).size();
        for (const qint64 budget : {qint64(0), qint64(1), size / 2, size - 1, size}) {
            SCOPED_TRACE(std::to_string(int(format)) + " budget " + std::to_string(budget));
            QTemporaryDir dir;
            const QString path = dir.filePath("results");
            writeBytes(path, kOldFile);
            std::optional<QString> failure;
            try {
                tables::writeTable(path, format, rows, {}, [budget](QIODevice &file) {
                    return std::make_unique<FailingDevice>(file, budget);
                });
            } catch (const core::Failure &f) {
                failure = f.description();
            }
            EXPECT_EQ(folderEntries(dir.path()), QStringList{"results"});
            if (budget < size) {
                ASSERT_TRUE(failure.has_value());
                EXPECT_TRUE(failure->contains(path)) << failure->toStdString();
                EXPECT_EQ(readBytes(path), kOldFile);
            } else {
                EXPECT_FALSE(failure.has_value());
                EXPECT_EQ(readBytes(path).size(), size);
            }
        }
    }
}

// Reading the rows fails part-way: the failure reaches the caller, the target keeps
// its old bytes and no scratch file is left in the temporary folder.
TEST(TableExportFailure, RowsFailingPartWayKeepTheOldFileAndLeaveNoScratch)
{
    Rows rows = manyRows(10000);
    rows.failAt = 9000;
    for (const TableFormat format : kAllFormats) {
        SCOPED_TRACE(int(format));
        QTemporaryDir dir;
        QTemporaryDir scratch;
        const QString path = dir.filePath("results");
        writeBytes(path, kOldFile);
        const QByteArray savedTmp = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(scratch.path()));
        EXPECT_THROW(tables::writeTable(path, format, rows), core::Failure);
        qputenv("TMPDIR", savedTmp);
        EXPECT_EQ(readBytes(path), kOldFile);
        EXPECT_EQ(folderEntries(dir.path()), QStringList{"results"});
        EXPECT_EQ(folderEntries(scratch.path()), QStringList{});
    }
}

// The temporary folder's disk fills while a workbook's sheet is written there: the
// failure names the file and the reason, the file keeps its old text and the scratch
// folder goes.
TEST(TableExportFailure, FullTemporaryDiskKeepsTheOldFile)
{
    const Rows rows = manyRows(60000);
    for (const TableFormat format : {TableFormat::Xlsx, TableFormat::Ods}) {
        SCOPED_TRACE(int(format));
        SmallDisk disk(256);
        if (!disk.mounted())
            GTEST_SKIP() << "needs the superuser, to mount a small tmpfs";
        QTemporaryDir dir;
        const QString path = dir.filePath("results");
        writeBytes(path, kOldFile);
        const QByteArray savedTmp = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(disk.path()));
        try {
            tables::writeTable(path, format, rows);
            ADD_FAILURE() << "saved with a full temporary disk";
        } catch (const core::Failure &f) {
            EXPECT_TRUE(f.description().startsWith("Cannot write " + path + ": ")) << f.description().toStdString();
            EXPECT_TRUE(f.description().contains("No space left on device")) << f.description().toStdString();
        }
        qputenv("TMPDIR", savedTmp);
        EXPECT_EQ(readBytes(path), kOldFile);
        EXPECT_EQ(folderEntries(disk.path()), QStringList{});
    }
}

// A disk that is really full: the file's old text stays whole in every format.
TEST(TableExportFailure, FullDiskKeepsTheOldFile)
{
    const Rows rows = manyRows(20000);
    for (const TableFormat format : kAllFormats) {
        SCOPED_TRACE(int(format));
        SmallDisk disk(64);
        if (!disk.mounted())
            GTEST_SKIP() << "needs the superuser, to mount a small tmpfs";
        const QString path = disk.filePath("results");
        writeBytes(path, kOldFile);
        try {
            tables::writeTable(path, format, rows);
            ADD_FAILURE() << "saved on a full disk";
        } catch (const core::Failure &f) {
            EXPECT_TRUE(f.description().contains("No space left on device")) << f.description().toStdString();
        }
        EXPECT_EQ(readBytes(path), kOldFile);
        EXPECT_EQ(folderEntries(disk.path()), QStringList{"results"});
    }
}

} // namespace

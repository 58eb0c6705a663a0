// Which files are tables, and workbooks (XLSX and ODS) read into the cells their sheets show.
#include "TableFixture.h"

#include <xlsxwriter.h>

#include <vector>

using namespace orvella;
using namespace orvella::testing;

namespace {

TEST(TableKind, IsTheExtensionInAnyCase)
{
    EXPECT_EQ(tables::tableKindOf("/a/names.csv"), tables::TableKind::Csv);
    EXPECT_EQ(tables::tableKindOf("names.TSV"), tables::TableKind::Tsv);
    EXPECT_EQ(tables::tableKindOf("/a.b/Book.XlSx"), tables::TableKind::Xlsx);
    EXPECT_EQ(tables::tableKindOf("sheet.ods"), tables::TableKind::Ods);
    EXPECT_EQ(tables::tableKindOf("names.txt"), tables::TableKind::None);
    EXPECT_EQ(tables::tableKindOf("csv"), tables::TableKind::None);
    EXPECT_EQ(tables::tableKindOf("/a.csv/names"), tables::TableKind::None);
}

// A workbook written with libxlsxwriter: every kind of cell and the common formats.
TEST(XlsxFiles, CellsShowAsTheSpreadsheetShowsThem)
{
    TableFixture f;
    const QString file = f.path("book.xlsx");
    lxw_workbook *book = workbook_new(QFile::encodeName(file).constData());
    lxw_worksheet *sheet = workbook_add_worksheet(book, nullptr);
    const auto format = [book](const char *code) {
        lxw_format *made = workbook_add_format(book);
        format_set_num_format(made, code);
        return made;
    };
    lxw_format *builtInDate = workbook_add_format(book);
    format_set_num_format_index(builtInDate, 14);
    worksheet_write_string(sheet, 0, 0, "Zo\xC3\xAB M\xC3\xBCller", nullptr);
    worksheet_write_string(sheet, 0, 1, "line one\nline two", nullptr);
    worksheet_write_string(sheet, 0, 2, "_x005F_x0041_", nullptr); // the text "_x0041_", escaped
    worksheet_write_number(sheet, 0, 4, 42, nullptr); // D1 left empty
    worksheet_write_number(sheet, 1, 0, 0.1 + 0.2, nullptr);
    worksheet_write_number(sheet, 1, 1, 1234567.891, format("#,##0.00"));
    worksheet_write_number(sheet, 1, 2, 0.256, format("0%"));
    worksheet_write_number(sheet, 1, 3, 2.5, format("0.00"));
    worksheet_write_number(sheet, 1, 4, -0.5, nullptr);
    worksheet_write_number(sheet, 1, 5, 1e20, nullptr);
    worksheet_write_number(sheet, 2, 0, 45366, builtInDate);
    worksheet_write_number(sheet, 2, 1, 45366.5, format("dd/mm/yyyy hh:mm"));
    worksheet_write_number(sheet, 2, 2, 0.75, format("h:mm:ss"));
    worksheet_write_boolean(sheet, 2, 3, 1, nullptr);
    worksheet_write_formula_num(sheet, 2, 4, "=1+2", nullptr, 3);
    worksheet_write_formula_str(sheet, 2, 5, "=\"A\"&\"B\"", nullptr, "AB");
    worksheet_write_blank(sheet, 3, 0, format("0.00")); // a row of a styled blank only
    worksheet_write_number(sheet, 5, 2, 7, format("0")); // after a skipped row
    worksheet_write_string(sheet, 5, 3, "", nullptr);
    ASSERT_EQ(workbook_close(book), LXW_NO_ERROR);

    EXPECT_EQ(rowsOf(f.read(file)),
              (Rows{{QString::fromUtf8("Zoë Müller"), "line one\nline two", "_x0041_", "", "42", ""},
                    {"0.3", "1,234,567.89", "26%", "2.50", "-0.5", "1E+20"},
                    {"2024-03-15", "2024-03-15 12:00:00", "18:00:00", "TRUE", "3", "AB"},
                    {"", "", "7", "", "", ""}}));
}

// Parts as other writers make them: rich text, inline strings, errors, the 1904 dates,
// an absolute path to the sheet, no styles at all.
TEST(XlsxFiles, PartsWrittenByHand)
{
    TableFixture f;
    const QByteArray workbook =
        "<workbook xmlns='http://schemas.openxmlformats.org/spreadsheetml/2006/main' "
        "xmlns:r='http://schemas.openxmlformats.org/officeDocument/2006/relationships'>"
        "<workbookPr date1904='1'/><sheets><sheet name='First' sheetId='5' r:id='rId9'/>"
        "<sheet name='Second' sheetId='1' r:id='rId1'/></sheets></workbook>";
    const QByteArray relations =
        "<Relationships xmlns='http://schemas.openxmlformats.org/package/2006/relationships'>"
        "<Relationship Id='rId1' Type='x/worksheet' Target='worksheets/sheet1.xml'/>"
        "<Relationship Id='rId9' Target='/xl/worksheets/other.xml' Type='x/worksheet'/></Relationships>";
    const QByteArray strings = "<sst><si><r><t>Ann </t></r><r><rPr/><t xml:space='preserve'>Lee </t></r>"
                               "<rPh><t>PHONETIC</t></rPh></si><si><t>second</t></si></sst>";
    const QByteArray sheet = "<worksheet><sheetData>"
                             "<row r='2'><c r='B2' t='s'><v>0</v></c><c t='s'><v>1</v></c>"
                             "<c r='E2' t='inlineStr'><is><t>in</t><r><t>line</t></r></is></c></row>"
                             "<row><c r='A3' t='e'><v>#DIV/0!</v></c><c r='B3' t='b'><v>0</v></c>"
                             "<c r='C3' t='s'><v>99</v></c><c r='D3'><f>1/3</f><v>0.33333333333333331</v></c></row>"
                             "</sheetData></worksheet>";
    const QString file = f.writeZip("hand.xlsx", {{"xl/workbook.xml", workbook},
                                                  {"xl/_rels/workbook.xml.rels", relations},
                                                  {"xl/sharedStrings.xml", strings},
                                                  {"xl/worksheets/other.xml", sheet},
                                                  {"xl/worksheets/sheet1.xml", "<worksheet/>"}});
    EXPECT_EQ(rowsOf(f.read(file)), (Rows{{"", "Ann Lee ", "second", "", "inline"},
                                          {"#DIV/0!", "FALSE", "", "0.333333333333333", ""}}));
}

struct FormatCase {
    const char *code;
    double value;
    const char *shown;
};

// The formats workbooks give their own codes for.
TEST(XlsxFiles, NumberFormatCodes)
{
    const std::vector<FormatCase> cases = {
        {"General", 1234567890123, "1234567890123"}, {"General", 0.000012, "0.000012"},
        {"General", 123456789012345678.0, "1.23456789012346E+17"}, {"0", 2.5, "3"}, {"0", -0.2, "0"},
        {"#,##0", -1234567, "-1,234,567"}, {"0.0#", 3.14159, "3.14"}, {"0.0#", 3, "3.0"},
        {"0.00%", 0.12345, "12.35%"}, {"0.00E+00", 12345, "1.23E+04"},
        {"[$-409]d\\-mmm\\-yyyy;@", 45366, "2024-03-15"}, {"\"Day \"dd/mm/yy", 1, "1900-01-01"},
        {"[h]:mm:ss", 1.5, "36:00:00"}, {"mm:ss", 0.0104166666666667, "00:15:00"},
        {"yyyy-mm-dd hh:mm:ss", 45366.999999, "2024-03-16 00:00:00"}, {"yyyy-mm-dd", -1, "-1"},
        {"[Red]0.00;[Blue]-0.00", 7, "7.00"}, {"@", 5, "5"},
    };
    TableFixture f;
    int number = 0;
    for (const FormatCase &c : cases) {
        const QString file = f.path(QStringLiteral("format%1.xlsx").arg(number++));
        lxw_workbook *book = workbook_new(QFile::encodeName(file).constData());
        lxw_worksheet *sheet = workbook_add_worksheet(book, nullptr);
        lxw_format *format = workbook_add_format(book);
        format_set_num_format(format, c.code);
        worksheet_write_number(sheet, 0, 0, c.value, format);
        ASSERT_EQ(workbook_close(book), LXW_NO_ERROR);
        EXPECT_EQ(f.read(file).cell(0, 0), c.shown) << c.code << " " << c.value;
    }
}

// A sheet that LibreOffice wrote from awkward.csv (see fixtures/README.md), as a workbook
// and as an OpenDocument spreadsheet.
TEST(LibreOfficeFiles, GiveTheCellsTheSheetShows)
{
    TableFixture f;
    const Rows first = {{"Name", "Age", "Born", "Note", "Sum", "Share"},
                        {QString::fromUtf8("Zoë Müller"), "42", "2024-03-15", "line one\nline two", "3", "12.00%"},
                        {QString::fromUtf8("李 小龙"), "7.25", "", "He said \"hi\"", "6", ""}};
    Rows xlsx = rowsOf(f.read(kTablesTestDir + "/fixtures/awkward.xlsx"));
    Rows ods = rowsOf(f.read(kTablesTestDir + "/fixtures/awkward.ods"));
    ASSERT_EQ(xlsx.size(), 4u); // the row of empty cells is dropped
    ASSERT_EQ(ods.size(), 4u);
    EXPECT_EQ(Rows(xlsx.begin(), xlsx.begin() + 3), first);
    EXPECT_EQ(Rows(ods.begin(), ods.begin() + 3), first);
    // "=€" is no formula either application can work out: each shows its own error.
    EXPECT_EQ(xlsx[3], (QStringList{"  Ann Lee", "-1234.5", "1999-12-31 13:45:10", "#N/A", "2.5", "0.5"}));
    EXPECT_EQ(ods[3], (QStringList{"  Ann Lee", "-1234.5", "1999-12-31 13:45:10", "Err:501", "2.5", "0.5"}));
}

// What LibreOffice writes beyond the cells in use: repeats that must cost nothing.
TEST(OdsFiles, RepeatsAndParagraphs)
{
    TableFixture f;
    const QByteArray content =
        "<office:document-content xmlns:office='urn:oasis:names:tc:opendocument:xmlns:office:1.0' "
        "xmlns:table='urn:oasis:names:tc:opendocument:xmlns:table:1.0' "
        "xmlns:text='urn:oasis:names:tc:opendocument:xmlns:text:1.0'><office:body><office:spreadsheet>"
        "<table:table table:name='First'><table:table-column table:number-columns-repeated='1024'/>"
        "<table:table-header-rows><table:table-row><table:table-cell><text:p>a<text:s text:c='3'/>b"
        "<text:tab/>c<text:line-break/>d <text:span>e<text:s/>f</text:span></text:p><text:p>second</text:p>"
        "<office:annotation><text:p>a comment</text:p></office:annotation></table:table-cell>"
        "<table:table-cell table:number-columns-repeated='2'><text:p>x</text:p></table:table-cell>"
        "<table:covered-table-cell/><table:table-cell office:value-type='float' office:value='4'/>"
        "<table:table-cell table:number-columns-repeated='16000'/></table:table-row></table:table-header-rows>"
        "<table:table-row table:number-rows-repeated='3'><table:table-cell/><table:table-cell>"
        "<text:p>r</text:p></table:table-cell></table:table-row>"
        "<table:table-row table:number-rows-repeated='1048000'><table:table-cell "
        "table:number-columns-repeated='16384'/></table:table-row></table:table>"
        "<table:table table:name='Second'><table:table-row><table:table-cell><text:p>no</text:p>"
        "</table:table-cell></table:table-row></table:table></office:spreadsheet></office:body>"
        "</office:document-content>";
    const QString file = f.writeZip("hand.ods", {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
                                                 {"content.xml", content}});
    EXPECT_EQ(rowsOf(f.read(file)), (Rows{{"a   b\tc\nd e f\nsecond", "x", "x", "", "4"},
                                          {"", "r", "", "", ""},
                                          {"", "r", "", "", ""},
                                          {"", "r", "", "", ""}}));

    // A row repeated past a sheet's last row is refused, not made.
    QByteArray absurd = content;
    absurd.replace("number-rows-repeated='3'", "number-rows-repeated='999999999999'");
    const QString absurdFile = f.writeZip("absurd.ods", {{"content.xml", absurd}});
    EXPECT_EQ(f.failureOf(absurdFile),
              absurdFile + " is not an OpenDocument spreadsheet: its first sheet has more than 1048576 rows");
}

TEST(WorkbookFiles, DamagedOrForeignFilesFailClearly)
{
    TableFixture f;
    const QByteArray xlsx = readBytes(kTablesTestDir + "/fixtures/awkward.xlsx");
    const QByteArray ods = readBytes(kTablesTestDir + "/fixtures/awkward.ods");
    writeBytes(f.path("text.xlsx"), "Name,Age\nAnn,42\n");
    writeBytes(f.path("text.ods"), "");
    writeBytes(f.path("cut.xlsx"), xlsx.left(xlsx.size() / 2));
    writeBytes(f.path("cut.ods"), ods.left(ods.size() - 30));
    writeBytes(f.path("ods.xlsx"), ods);
    writeBytes(f.path("xlsx.ods"), xlsx);
    const QString excel = QStringLiteral(" is not an Excel workbook: ");
    const QString open = QStringLiteral(" is not an OpenDocument spreadsheet: ");
    EXPECT_TRUE(f.failureOf(f.path("text.xlsx")).startsWith(f.path("text.xlsx") + excel + "it is no ZIP archive"));
    EXPECT_TRUE(f.failureOf(f.path("text.ods")).startsWith(f.path("text.ods") + open + "it is no ZIP archive"));
    EXPECT_TRUE(f.failureOf(f.path("cut.xlsx")).startsWith(f.path("cut.xlsx") + excel));
    EXPECT_TRUE(f.failureOf(f.path("cut.ods")).startsWith(f.path("cut.ods") + open));
    EXPECT_EQ(f.failureOf(f.path("ods.xlsx")), f.path("ods.xlsx") + excel + "it has no xl/workbook.xml");
    EXPECT_EQ(f.failureOf(f.path("xlsx.ods")), f.path("xlsx.ods") + open + "it has no content.xml");
    EXPECT_TRUE(f.failureOf(f.path("missing.xlsx")).startsWith("Cannot open " + f.path("missing.xlsx") + ": "));

    // Damage inside the compressed sheet: a failure, never a crash or a half table.
    int failures = 0;
    for (qsizetype at = 200; at < xlsx.size() - 200; at += 97) {
        QByteArray damaged = xlsx;
        damaged[at] = char(damaged[at] ^ 0x5A);
        writeBytes(f.path("damaged.xlsx"), damaged);
        failures += f.failureOf(f.path("damaged.xlsx")).isEmpty() ? 0 : 1;
    }
    EXPECT_GT(failures, 0);
}

} // namespace

// Files made to take the reader's memory or time: workbooks that inflate far past their
// size, devices and streams that never end, damaged archives. Each is refused with a
// message that names the file and the limit, or read within a memory bound that the
// table counts itself.
#include "core/Failure.h"
#include "lists/ListFileReader.h"
#include "lists/NameListModel.h"
#include "tables/TableFileReader.h"
#include "support/Files.h"
#include "support/Printers.h"
#include "support/ScriptedDesktop.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <zip.h>

#include <sys/stat.h>

#include <functional>
#include <utility>
#include <vector>

using namespace orvella;
using namespace orvella::testing;

namespace {

constexpr qsizetype kMiB = qsizetype(1) << 20;

struct Part {
    const char *name;
    QByteArray bytes;
    bool stored = false; // kept as it is rather than deflated
};

struct Fixture {
    QTemporaryDir dir;
    ScriptedDesktop desktop;

    QString path(const QString &name) const { return dir.filePath(name); }

    QString writeZip(const QString &name, const std::vector<Part> &parts)
    {
        const QString file = path(name);
        zip_t *archive = zip_open(QFile::encodeName(file).constData(), ZIP_CREATE | ZIP_TRUNCATE, nullptr);
        EXPECT_NE(archive, nullptr);
        for (const Part &part : parts) {
            zip_source_t *source = zip_source_buffer(archive, part.bytes.constData(), zip_uint64_t(part.bytes.size()), 0);
            const zip_int64_t index = zip_file_add(archive, part.name, source, ZIP_FL_ENC_UTF_8);
            EXPECT_GE(index, 0);
            if (part.stored)
                zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_STORE, 0);
        }
        EXPECT_EQ(zip_close(archive), 0);
        return file;
    }

    // The description of the failure the reader throws ("" when it reads the file).
    QString failureOf(const QString &file, tables::TableRows *read = nullptr)
    {
        try {
            tables::TableRows rows = tables::readTableFile(file, tables::tableKindOf(file), desktop);
            if (read)
                *read = std::move(rows);
        } catch (const core::Failure &failure) {
            return failure.description();
        }
        return QString();
    }
};

QByteArray odsContent(const QByteArray &rows)
{
    return "<office:document-content xmlns:office='urn:oasis:names:tc:opendocument:xmlns:office:1.0' "
           "xmlns:table='urn:oasis:names:tc:opendocument:xmlns:table:1.0' "
           "xmlns:text='urn:oasis:names:tc:opendocument:xmlns:text:1.0'><office:body><office:spreadsheet>"
           "<table:table table:name='First'>" +
        rows + "</table:table></office:spreadsheet></office:body></office:document-content>";
}

std::vector<Part> xlsxParts(const QByteArray &sheetRows, const QByteArray &strings = QByteArray())
{
    std::vector<Part> parts = {
        {"xl/workbook.xml", "<workbook xmlns:r='http://schemas.openxmlformats.org/officeDocument/2006/relationships'>"
                            "<sheets><sheet name='One' sheetId='1' r:id='rId1'/></sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<Relationships><Relationship Id='rId1' Type='x/worksheet' Target='worksheets/sheet1.xml'/></Relationships>"},
        {"xl/worksheets/sheet1.xml", "<worksheet><sheetData>" + sheetRows + "</sheetData></worksheet>"}};
    if (!strings.isEmpty())
        parts.push_back({"xl/sharedStrings.xml", "<sst>" + strings + "</sst>"});
    return parts;
}

QByteArray repeated(const QByteArray &piece, qsizetype times)
{
    QByteArray bytes;
    bytes.reserve(piece.size() * times);
    for (qsizetype i = 0; i < times; ++i)
        bytes += piece;
    return bytes;
}

// Tiny workbooks that ask for a sheet's whole size: read with little memory, as the
// table counts it, or refused naming the limit.
TEST(HostileWorkbooks, AreReadWithinABoundOrRefused)
{
    Fixture f;
    const QString odsRows = f.writeZip(
        "rows.ods", {{"content.xml", odsContent("<table:table-row table:number-rows-repeated='1048575'>"
                                                "<table:table-cell><text:p>a</text:p></table:table-cell>"
                                                "<table:table-cell table:number-columns-repeated='16382'/>"
                                                "<table:table-cell><text:p>z</text:p></table:table-cell>"
                                                "</table:table-row>")}});
    const QString xlsxWide = f.writeZip(
        "wide.xlsx", xlsxParts(repeated("<row><c r='XFD1' t='inlineStr'><is><t>x</t></is></c></row>", 1048576)));
    tables::TableRows rows;
    ASSERT_EQ(f.failureOf(odsRows, &rows), "");
    EXPECT_EQ(rows.rowCount(), 1048575);
    EXPECT_EQ(rows.row(1048574).first(), "a");
    EXPECT_EQ(rows.cell(1048574, 16383), "z");
    EXPECT_LT(rows.cost(), 24 * kMiB);
    ASSERT_EQ(f.failureOf(xlsxWide, &rows), "");
    EXPECT_EQ(rows.rowCount(), 1048576);
    EXPECT_EQ(rows.columns(), 16384);
    EXPECT_EQ(rows.cell(1048575, 16383), "x");
    EXPECT_EQ(rows.cell(1048575, 16382), "");
    EXPECT_LT(rows.cost(), 40 * kMiB);

    // Texts past what a cell holds: one no cell shows is passed over unless it is too long
    // to hold at all; one a cell shows refuses the file.
    const QByteArray longText = "<si><t>" + QByteArray(40000, 'w') + "</t></si>";
    const QByteArray hugeText = "<si><t>" + QByteArray(16 * kMiB, 'w') + "</t></si>";
    const QByteArray used = "<row><c t='s'><v>1</v></c></row>";
    const QString unused = f.writeZip("unused.xlsx", xlsxParts(used, longText + "<si><t>Ann</t></si>"));
    const QString shown = f.writeZip("shown.xlsx", xlsxParts(used, "<si><t>Ann</t></si>" + longText));
    const QString huge = f.writeZip("huge.xlsx", xlsxParts(used, hugeText + "<si><t>Ann</t></si>"));
    const QString spaces = f.writeZip(
        "spaces.ods", {{"content.xml", odsContent("<table:table-row><table:table-cell><text:p>" +
                                                  repeated("<text:s text:c='32767'/>", 100000) +
                                                  "</text:p></table:table-cell></table:table-row>")}});
    ASSERT_EQ(f.failureOf(unused, &rows), "");
    EXPECT_EQ(rows.cell(0, 0), "Ann");
    const QString cellLimit =
        " is too large to read: a cell of its first sheet holds more than 32767 characters, the most a sheet's "
        "cell holds";
    EXPECT_EQ(f.failureOf(shown), shown + cellLimit);
    // An OpenDocument cell may hold more (up to 1,048,576 characters), not endlessly more.
    EXPECT_EQ(f.failureOf(spaces), spaces + " is too large to read: a cell of its first sheet holds more than 1048576 "
                                            "characters, the most a sheet's cell holds");
    EXPECT_EQ(f.failureOf(huge),
              huge + " is too large to read: its part xl/sharedStrings.xml holds a text or tag of more than 1048576 bytes");
}

// Past the memory a table may take, a table of any kind is refused naming the limit; a
// text file larger than that before its first piece is read.
TEST(HostileWorkbooks, TablesPastTheirBudgetAreRefused)
{
    Fixture f;
    writeBytes(f.path("big.csv"), repeated("Ann Lee,12 Long Road\n", 100000));
    const QString ods = f.writeZip(
        "big.ods", {{"content.xml", odsContent("<table:table-row><table:table-cell table:number-columns-repeated="
                                               "'16384'><text:p>" + QByteArray(30000, 'x') +
                                               "</text:p></table:table-cell></table:table-row>")}});
    // A file larger than the budget, one line without an end, is refused before a piece
    // of it is read (the reader yields before each piece).
    writeBytes(f.path("one-line.csv"), QByteArray(4 * kMiB, 'x'));
    tables::setDefaultTableBudget(kMiB);
    const QString csvFailure = f.failureOf(f.path("big.csv"));
    const QString odsFailure = f.failureOf(ods);
    f.desktop.yields = 0;
    const QString lineFailure = f.failureOf(f.path("one-line.csv"));
    const int lineYields = f.desktop.yields;
    tables::setDefaultTableBudget(0);
    EXPECT_EQ(lineYields, 0);
    const QString limit = " is too large to read: its cells would take more than 1 MB of memory, the most a table "
                          "may take on this computer";
    EXPECT_EQ(csvFailure, f.path("big.csv") + limit);
    EXPECT_EQ(odsFailure, ods + limit);
    EXPECT_EQ(lineFailure, f.path("one-line.csv") + limit);
    EXPECT_EQ(f.failureOf(f.path("big.csv")), "");
}

// A device or a pipe is no table; a NUL refuses a file before its line has ended; a
// stream is read up to a bound.
TEST(HostileTextFiles, NeverEndingOrNulFilesAreRefusedEarly)
{
    Fixture f;
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), f.path("zero.csv")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(f.path("pipe.tsv")).constData(), 0600), 0);
    EXPECT_EQ(f.failureOf(f.path("zero.csv")), f.path("zero.csv") + " is not a regular file");
    EXPECT_EQ(f.failureOf(f.path("pipe.tsv")), f.path("pipe.tsv") + " is not a regular file");

    // Eight pieces of NUL bytes without a line end, after nothing, a Windows-1252 letter
    // or a UTF-16 mark: refused at the first piece (the reader yields before each piece;
    // a file that is not UTF-8 is read again from its start, through the decoder).
    const std::vector<std::pair<QByteArray, int>> nulFiles = {{"", 2}, {"\xFC", 2}, {"\xFF\xFE", 1}};
    for (const auto &[start, yields] : nulFiles) {
        writeBytes(f.path("nul.csv"), start + QByteArray(8 * tables::kReadChunkBytes, '\0'));
        f.desktop.yields = 0;
        EXPECT_EQ(f.failureOf(f.path("nul.csv")), f.path("nul.csv") + " is not a CSV file: it holds NUL characters");
        EXPECT_EQ(f.desktop.yields, yields) << start.toHex().constData();
    }

    writeBytes(f.path("endless"), QByteArray(2 * kMiB + 1, 'a'));
    lists::NameListModel list{QString()};
    QFile stream(f.path("endless"));
    ASSERT_TRUE(stream.open(QIODevice::ReadOnly));
    try {
        lists::ReadListStream(list, stream, QStringLiteral("standard input"), f.desktop, 2 * kMiB);
        ADD_FAILURE() << "read";
    } catch (const core::Failure &failure) {
        EXPECT_EQ(failure.description(), "standard input is too large to read: it holds more than 2 MB");
    }
    EXPECT_EQ(list.count(), 0);
}

// A part whose bytes do not match their checksum is damaged, even where the XML in it
// still reads; "_x0000_" is no NUL in a cell.
TEST(HostileWorkbooks, DamagedPartsAndEscapedNul)
{
    Fixture f;
    const std::function<void(const QString &)> damage = [](const QString &file) {
        QByteArray bytes = readBytes(file);
        const qsizetype at = bytes.indexOf("Ann");
        ASSERT_GE(at, 0);
        bytes[at] = 'B';
        writeBytes(file, bytes);
    };
    std::vector<Part> xlsx = xlsxParts("<row><c t='inlineStr'><is><t>Ann_x0000_Lee</t></is></c></row>");
    const QString good = f.writeZip("good.xlsx", xlsx);
    xlsx.back().stored = true;
    const QString sheet = f.writeZip("sheet.xlsx", xlsx);
    const QString ods = f.writeZip(
        "content.ods", {{"content.xml", odsContent("<table:table-row><table:table-cell><text:p>Ann</text:p>"
                                                   "</table:table-cell></table:table-row></table:table>"
                                                   "<table:table table:name='Second'>"), true}});
    damage(sheet);
    damage(ods);
    tables::TableRows rows;
    ASSERT_EQ(f.failureOf(good, &rows), "");
    EXPECT_EQ(rows.cell(0, 0), QString::fromUtf8("Ann\xEF\xBF\xBDLee"));
    EXPECT_EQ(f.failureOf(sheet), sheet + " is not an Excel workbook: xl/worksheets/sheet1.xml is damaged (CRC error)");
    EXPECT_EQ(f.failureOf(ods), ods + " is not an OpenDocument spreadsheet: content.xml is damaged (CRC error)");
}

} // namespace

// A sheet's row with a cell at each end of 16,384 columns is kept sparse: a walk over its
// cells (whether a nameless row is blank) asks about the two it has, not about every
// empty column between them.
TEST(HostileWorkbooks, SparseRowsAreCountedAndWalkedByTheirKeptCells)
{
    tables::TableRows table;
    const std::vector<tables::SheetCell> ends = {{0, u"Ann"}, {16383, u"Lee"}};
    for (int row = 0; row < 1000; ++row)
        table.appendRow(std::span<const tables::SheetCell>(ends));
    EXPECT_EQ(table.cell(0, 16383), "Lee");

    int asked = 0;
    EXPECT_TRUE(table.anyKeptCell(999, [&](QByteArrayView cell) { return ++asked, cell == "Lee"; }));
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(table.anyKeptCell(1000, [](QByteArrayView) { return true; }));
}

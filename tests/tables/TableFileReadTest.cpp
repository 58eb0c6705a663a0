#include "core/Failure.h"
#include "tables/TableFileReader.h"
#include "tables/TextFileDecoder.h"
#include "tables/csv/Utf8CsvReader.h"
#include "support/Files.h"
#include "support/ScriptedDesktop.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <xlsxwriter.h>
#include <zip.h>

#include <initializer_list>
#include <utility>
#include <vector>

using namespace orvella;
using namespace orvella::testing;
using Rows = std::vector<QStringList>;

namespace {

const QString kTestDir = QStringLiteral(ORVELLA_TABLES_TEST_DIR);

// Every row as the table holds it, padded to the widest.
Rows rowsOf(const tables::TableRows &table)
{
    Rows rows;
    for (qsizetype row = 0; row < table.rowCount(); ++row)
        rows.push_back(table.row(row));
    return rows;
}

struct TableFixture {
    QTemporaryDir dir;
    ScriptedDesktop desktop;

    QString path(const QString &name) const { return dir.filePath(name); }
    tables::TableRows read(const QString &file)
    {
        return tables::readTableFile(file, tables::tableKindOf(file), desktop);
    }
    // Through the decoder, however the file is encoded.
    tables::TableRows readSlowly(const QString &file)
    {
        return tables::readCsvTableSlowly(file, tables::tableKindOf(file), desktop);
    }
    Rows read(const QString &name, const QByteArray &bytes)
    {
        writeBytes(path(name), bytes);
        return rowsOf(read(path(name)));
    }
    // The description of the failure the reader throws ("" when it does not throw).
    QString failureOf(const QString &file, bool slowly = false)
    {
        try {
            slowly ? readSlowly(file) : read(file);
        } catch (const core::Failure &failure) {
            return failure.description();
        }
        return QString();
    }
    // A ZIP archive of the given parts.
    QString writeZip(const QString &name, const std::vector<std::pair<const char *, QByteArray>> &parts)
    {
        const QString file = path(name);
        zip_t *archive = zip_open(QFile::encodeName(file).constData(), ZIP_CREATE | ZIP_TRUNCATE, nullptr);
        EXPECT_NE(archive, nullptr);
        for (const auto &[part, bytes] : parts) {
            zip_source_t *source = zip_source_buffer(archive, bytes.constData(), zip_uint64_t(bytes.size()), 0);
            EXPECT_GE(zip_file_add(archive, part, source, ZIP_FL_ENC_UTF_8), 0);
        }
        EXPECT_EQ(zip_close(archive), 0);
        return file;
    }
};

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

struct CsvCase {
    const char *label;
    const char *file;
    QByteArray bytes;
    Rows rows;
};

class CsvFiles : public ::testing::TestWithParam<CsvCase> {};

// The first row, cell and character where two tables differ (the cells of the files
// that run across pieces are too long to print whole).
::testing::AssertionResult sameRows(const Rows &got, const Rows &wanted)
{
    for (size_t r = 0; r < std::min(got.size(), wanted.size()); ++r) {
        for (qsizetype c = 0; c < std::min(got[r].size(), wanted[r].size()); ++c) {
            const QString &a = got[r][c], &b = wanted[r][c];
            if (a == b)
                continue;
            qsizetype at = 0;
            while (at < std::min(a.size(), b.size()) && a[at] == b[at])
                ++at;
            return ::testing::AssertionFailure() << "row " << r << " cell " << c << " from character " << at << ": \""
                                                 << a.mid(at, 20).toStdString() << "\" instead of \""
                                                 << b.mid(at, 20).toStdString() << "\"";
        }
        if (got[r].size() != wanted[r].size())
            return ::testing::AssertionFailure() << "row " << r << " has " << got[r].size() << " cells, not "
                                                 << wanted[r].size();
    }
    if (got.size() != wanted.size())
        return ::testing::AssertionFailure() << got.size() << " rows, not " << wanted.size();
    return ::testing::AssertionSuccess();
}

TEST_P(CsvFiles, GiveTheirRecordsCellByCell)
{
    TableFixture f;
    const Rows rows = f.read(GetParam().file, GetParam().bytes);
    EXPECT_TRUE(sameRows(rows, GetParam().rows));
    // A UTF-8 file is split straight from its bytes: the rows are those of its text.
    EXPECT_TRUE(sameRows(rowsOf(f.readSlowly(f.path(GetParam().file))), rows));
}

// A file whose first line of 'x' is long enough that the byte at `at` of `rest` starts
// the file's second piece (after a byte-order mark of `mark` bytes); a last line of 'w'
// fills that piece, so that nothing of the first piece is left where it was read.
QByteArray acrossPieces(const QByteArray &rest, qsizetype at, qsizetype mark = 0)
{
    return QByteArray(tables::kReadChunkBytes - mark - at - 1, 'x') + "\n" + rest + QByteArray(tables::kReadChunkBytes, 'w');
}

// The rows of such a file: that first line, these, and the last line.
Rows afterLongLine(qsizetype at, Rows rows, qsizetype mark = 0)
{
    qsizetype width = 1;
    for (const QStringList &row : rows)
        width = std::max(width, row.size());
    rows.insert(rows.begin(), QStringList{QString(tables::kReadChunkBytes - mark - at - 1, u'x')});
    rows.push_back({QString(tables::kReadChunkBytes, u'w')});
    for (QStringList &row : rows) {
        while (row.size() < width)
            row.append(QString());
    }
    return rows;
}

CsvCase splitAt(const char *label, const QByteArray &rest, qsizetype at, const Rows &rows)
{
    return CsvCase{label, "t.csv", acrossPieces(rest, at), afterLongLine(at, rows)};
}

// Rows of valid UTF-8 over more than one piece, then a last line as given.
QByteArray manyRowsThen(const QByteArray &last, const QByteArray &mark = QByteArray())
{
    QByteArray bytes = mark;
    while (bytes.size() < tables::kReadChunkBytes + 1000)
        bytes += "Jos\xC3\xA9," + QByteArray(200, 'y') + "\r\n";
    return bytes + last;
}

Rows manyRowsThen(const QStringList &last)
{
    Rows rows;
    QByteArray bytes;
    while (bytes.size() < tables::kReadChunkBytes + 1000) {
        bytes += "Jos\xC3\xA9," + QByteArray(200, 'y') + "\r\n";
        rows.push_back({QString::fromUtf8("José"), QString(200, u'y')});
    }
    rows.push_back(last);
    return rows;
}

// Read straight from the bytes, a file needs whatever the piece's end cuts kept whole,
// and the delimiter found from the same first text as the decoder's.
const QByteArray kDoubledQuote = "a,\"b\r\nc\"\"d\",e\n";
const QByteArray kSemicolons = "a;b;\"c\"\r\n";
const QByteArray kUtf8 = "Zo\xC3\xAB,\xE6\x9D\x8E,\xF0\x9F\x98\x80\n";
const Rows kUtf8Rows = {{QString::fromUtf8("Zoë"), QString::fromUtf8("李"), QString::fromUtf8("😀")}};

QByteArray longFirstRecordThenSemicolons()
{
    QByteArray bytes = "\"" + QByteArray(tables::kReadChunkBytes + 300000, 'q') + "\"\n";
    for (int i = 0; i < 25; ++i)
        bytes += "a;b\n";
    return bytes;
}

Rows longFirstRecordThenSemicolonsRows()
{
    Rows rows{{QString(tables::kReadChunkBytes + 300000, u'q'), ""}};
    for (int i = 0; i < 25; ++i)
        rows.push_back({"a", "b"});
    return rows;
}

INSTANTIATE_TEST_SUITE_P(
    AcrossPieces, CsvFiles,
    ::testing::Values(
        splitAt("QuotedFieldCutAfterItsQuote", kDoubledQuote, 3, {{"a", "b\r\nc\"d", "e"}}),
        splitAt("DoubledQuoteCut", kDoubledQuote, 9, {{"a", "b\r\nc\"d", "e"}}),
        splitAt("CutAfterTheClosingQuote", kDoubledQuote, 12, {{"a", "b\r\nc\"d", "e"}}),
        splitAt("CutAfterADelimiter", kSemicolons + kSemicolons, 2, {{"a;b;\"c\""}, {"a;b;\"c\""}}),
        splitAt("CrAtThePieceEndLfNext", "a,b\r\nc,d\n", 4, {{"a", "b"}, {"c", "d"}}),
        splitAt("TwoByteCharacterCut", kUtf8, 3, kUtf8Rows),
        splitAt("ThreeByteCharacterCut", kUtf8, 8, kUtf8Rows),
        splitAt("FourByteCharacterCut", kUtf8, 11, kUtf8Rows),
        CsvCase{"TsvFieldCut", "t.tsv", acrossPieces("a\t\"b\tc\"\"\"\n", 5),
                afterLongLine(5, {{"a", "b\tc\""}})},
        CsvCase{"Utf8MarkAndCharacterCut", "t.csv", "\xEF\xBB\xBF" + acrossPieces(kUtf8, 9, 3),
                afterLongLine(9, kUtf8Rows, 3)},
        // Not UTF-8 after a piece or more that is: read again from the start, the line
        // as Windows-1252, a byte after a UTF-8 mark as U+FFFD, and a character cut
        // short by the file's end too.
        CsvCase{"Windows1252LineAfterManyRows", "t.csv", manyRowsThen("M\xFCller,\x80\r\n"),
                manyRowsThen(QStringList{QString::fromUtf8("Müller"), QString::fromUtf8("€")})},
        CsvCase{"BadByteAfterAUtf8Mark", "t.csv", manyRowsThen("M\xFCller,x", "\xEF\xBB\xBF"),
                manyRowsThen(QStringList{QString::fromUtf8("M\uFFFDller"), "x"})},
        CsvCase{"CharacterCutByTheFilesEnd", "t.csv", manyRowsThen("a,\xE6\x9D"),
                manyRowsThen(QStringList{"a", QString::fromUtf8("æ\xC2\x9D")})},
        // The delimiter is found from the first records: past a first piece without a
        // line end, and not from a last record without one in a text of 64 Ki units.
        CsvCase{"DelimiterFoundPastALongFirstLine", "t.csv", longFirstRecordThenSemicolons(),
                longFirstRecordThenSemicolonsRows()},
        CsvCase{"LongLastLineCountsNotForTheDelimiter", "t.csv", "a;" + QByteArray(70000, 'z'),
                {{"a;" + QString(70000, u'z')}}}),
    [](const auto &info) { return std::string(info.param.label); });

INSTANTIATE_TEST_SUITE_P(
    Table, CsvFiles,
    ::testing::Values(
        CsvCase{"QuotesAndDoubledQuotes", "t.csv", "a,\"b,c\",\"say \"\"hi\"\"\"\r\n", {{"a", "b,c", "say \"hi\""}}},
        CsvCase{"LineEndsInsideQuotesKept", "t.csv", "\"x\r\ny\",\"p\nq\",\"r\rs\"\nlast,,",
                {{"x\r\ny", "p\nq", "r\rs"}, {"last", "", ""}}},
        CsvCase{"EveryLineEnd", "t.csv", "a,b\r\nc,d\ne,f\rg,h", {{"a", "b"}, {"c", "d"}, {"e", "f"}, {"g", "h"}}},
        CsvCase{"EmptyLinesSkippedDelimiterLinesKept", "t.csv", "\r\na,b\r\n\r\n\n\r,\r\nc,d\n\n",
                {{"a", "b"}, {"", ""}, {"c", "d"}}},
        CsvCase{"EmptyCells", "t.csv", "a,,c\n,b,\n", {{"a", "", "c"}, {"", "b", ""}}},
        CsvCase{"RaggedRowsPadded", "t.csv", "a\nb,c,d\ne,f", {{"a", "", ""}, {"b", "c", "d"}, {"e", "f", ""}}},
        CsvCase{"QuotedEmptyCellIsARow", "t.csv", "\"\"\na", {{""}, {"a"}}},
        CsvCase{"StrayQuotesKept", "t.csv", "ab\"c,d\"e\"\n", {{"ab\"c", "d\"e\""}}},
        CsvCase{"TextAfterClosingQuoteAppended", "t.csv", "\"ab\"cd,\"x\" y\n", {{"abcd", "x y"}}},
        CsvCase{"QuoteOpenAtTheEndKeepsItsText", "t.csv", "a,\"bc\nd", {{"a", "bc\nd"}}},
        CsvCase{"SemicolonsFound", "t.csv", "Name;Age\nLee, Ann;42\nYoung, Bob;7\n",
                {{"Name", "Age"}, {"Lee, Ann", "42"}, {"Young, Bob", "7"}}},
        CsvCase{"TabsFound", "t.csv", "a b\tc,d\te\n1\t2\t3\n", {{"a b", "c,d", "e"}, {"1", "2", "3"}}},
        CsvCase{"DelimiterInsideQuotesDoesNotCount", "t.csv", "\"a;b;c\",d\n\"e;f;g\",h\n",
                {{"a;b;c", "d"}, {"e;f;g", "h"}}},
        // TABs and line ends inside one quoted cell split more lines than the commas do,
        // but only the commas read the whole file as one clean table.
        CsvCase{"QuotedLinesOfTabsDoNotOutvoteCleanCommas", "t.csv",
                "Name,Note\r\nAnn,\"qu\tBab\n\to\nB\ro\t\n\"\r\n",
                {{"Name", "Note"}, {"Ann", "qu\tBab\n\to\nB\ro\t\n"}}},
        CsvCase{"NoDelimiterIsOneColumn", "t.csv", "Ann Lee\nBob Young\n", {{"Ann Lee"}, {"Bob Young"}}},
        CsvCase{"TsvIsAlwaysTabs", "t.tsv", "a,b\tc\nd,e\tf\n", {{"a,b", "c"}, {"d,e", "f"}}},
        CsvCase{"Utf8ByteOrderMark", "t.csv", "\xEF\xBB\xBFNom,Z\xC3\xA9\n", {{"Nom", QString::fromUtf8("Zé")}}},
        CsvCase{"Utf16LittleEndian", "t.csv", QByteArray("\xFF\xFE" "a\0,\0\xE9\0\n\0", 10), {{"a", QString::fromUtf8("é")}}},
        CsvCase{"Utf16BigEndian", "t.csv", QByteArray("\xFE\xFF\0\"\0a\0,\0\"\0,\0b", 14), {{"a,", "b"}}},
        CsvCase{"Windows1252LineAmongUtf8", "t.csv", "Jos\xC3\xA9,x\r\nM\xFCller,\x80\r\n",
                {{QString::fromUtf8("José"), "x"}, {QString::fromUtf8("Müller"), QString::fromUtf8("€")}}}),
    [](const auto &info) { return std::string(info.param.label); });

// The text comes in 1 MiB pieces: a quoted field, a doubled quote and a CR LF cut by a
// piece's end must come out whole.
TEST(CsvFiles, FieldsRunAcrossPieces)
{
    const qsizetype chunk = tables::kReadChunkBytes;
    TableFixture f;
    // A quoted field with a line end before the piece's end and text after it.
    const QByteArray before(chunk - 100, 'x'), after(200, 'y');
    EXPECT_EQ(f.read("q.csv", "h,\"" + before + "\r\n" + after + "\"\"z\"\r\nnext,row"),
              (Rows{{"h", QString(before) + "\r\n" + QString(after) + "\"z"}, {"next", "row"}}));
    // CR at the end of one piece, LF at the start of the next: one record end.
    const QByteArray fill(chunk - 2, 'x');
    EXPECT_EQ(f.read("crlf.csv", fill + "a\r\nb"), (Rows{{QString(fill) + "a"}, {"b"}}));

    // UTF-16 pieces end anywhere: here between the two quotes of a doubled quote.
    QByteArray utf16("\xFF\xFE\"\0", 4);
    while (utf16.size() < chunk + 2 - 2)
        utf16.append("a\0", 2);
    utf16.append("\"\0\"\0b\0\"\0,\0c\0", 12);
    const Rows rows = f.read("u.csv", utf16);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], QString((chunk - 4) / 2, u'a') + "\"b");
    EXPECT_EQ(rows[0][1], "c");
}

// The check that keeps a file on the fast way agrees with Qt's UTF-8 decoder on every
// sequence of up to three bytes and on four-byte ones around each limit, whole, among
// ASCII that is read sixteen bytes at a time, and byte by byte as if pieces ended there.
TEST(CsvFiles, Utf8CheckAgreesWithTheDecoder)
{
    const auto decodes = [](QByteArrayView bytes) {
        QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        const QString text = decoder.decode(bytes);
        return !decoder.hasError() && !bytes.contains('\0');
    };
    const auto checks = [](QByteArrayView bytes, bool bytewise) {
        tables::Utf8Checker checker;
        if (!bytewise)
            return checker.take(bytes) && checker.finish();
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            if (!checker.take(bytes.sliced(i, 1)))
                return false;
        }
        return checker.finish();
    };
    const QByteArray ascii = "0123456789abcdef";
    const auto agree = [&](const QByteArray &bytes) {
        const bool valid = decodes(bytes);
        // In the first and in the second half of sixteen bytes read at once.
        const QByteArray early = ascii.left(5) + bytes + ascii, late = ascii.left(13) + bytes + ascii;
        return checks(bytes, false) == valid && checks(bytes, true) == valid && checks(early, false) == valid
               && checks(late, false) == valid;
    };
    const auto bytesOf = [](std::initializer_list<char> bytes) { return QByteArray(bytes.begin(), qsizetype(bytes.size())); };
    int disagreements = 0;
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; ++b) {
            disagreements += agree(bytesOf({char(a), char(b)})) ? 0 : 1;
            // Every third byte after the leads of three.
            for (int c = a >= 0xE0 && a < 0xF0 ? 0 : 256; c < 256; ++c)
                disagreements += agree(bytesOf({char(a), char(b), char(c)})) ? 0 : 1;
        }
    }
    const char limits[] = {'\x00', '\x41', '\x7F', '\x80', '\x8F', '\x90', '\x9F', '\xA0', '\xBF', '\xC0', '\xF4', '\xFF'};
    for (int lead = 0xC0; lead < 0x100; ++lead) {
        for (const char b : limits) {
            for (const char c : limits) {
                disagreements += agree(bytesOf({char(lead), b, c})) ? 0 : 1;
                for (const char d : limits)
                    disagreements += agree(bytesOf({char(lead), b, c, d})) ? 0 : 1;
            }
        }
    }
    EXPECT_EQ(disagreements, 0);
}

// Files written and read by Python's csv module: the reader gives the rows Python gives.
TEST(CsvFiles, ReadAsPythonsCsvModuleReadsThem)
{
    TableFixture f;
    QProcess python;
    python.start(QStringLiteral("python3"), {kTestDir + "/csv_python_cases.py", f.dir.path(), "20240315", "120"});
    ASSERT_TRUE(python.waitForFinished(-1)) << python.errorString().toStdString();
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();

    const QJsonArray cases = QJsonDocument::fromJson(readBytes(f.path("expected.json"))).array();
    ASSERT_EQ(cases.size(), 120);
    for (const QJsonValue &entry : cases) {
        const QString file = entry[QStringLiteral("file")].toString();
        const tables::TableRows table = f.read(f.path(file));
        const QJsonArray rows = entry[QStringLiteral("rows")].toArray();
        ASSERT_EQ(table.rowCount(), rows.size()) << file.toStdString();
        for (qsizetype r = 0; r < rows.size(); ++r) {
            const QJsonArray cells = rows[r].toArray();
            for (qsizetype c = 0; c < table.columns(); ++c)
                ASSERT_EQ(table.cell(r, int(c)), cells.at(c).toString()) << file.toStdString() << " row " << r;
        }
    }
}

TEST(CsvFiles, AMillionRowsOfSixColumns)
{
    TableFixture f;
    QByteArray bytes;
    for (int i = 0; i < 1'000'000; ++i)
        bytes += "Name " + QByteArray::number(i) + ",Lee,\"x, y\",42,,last\r\n";
    writeBytes(f.path("big.csv"), bytes);
    const tables::TableRows table = f.read(f.path("big.csv"));
    ASSERT_EQ(table.rowCount(), 1'000'000);
    EXPECT_EQ(table.row(999'999), (QStringList{"Name 999999", "Lee", "x, y", "42", "", "last"}));
    EXPECT_GT(f.desktop.yields, 10); // between the pieces of the file
}

TEST(CsvFiles, FilesThatAreNoTableFailClearly)
{
    TableFixture f;
    writeBytes(f.path("nul.csv"), QByteArray("a,b\nc\0d\n", 8));
    writeBytes(f.path("nul.tsv"), QByteArray("a\0", 2));
    EXPECT_EQ(f.failureOf(f.path("nul.csv")), f.path("nul.csv") + " is not a CSV file: it holds NUL characters");
    EXPECT_EQ(f.failureOf(f.path("nul.tsv")), f.path("nul.tsv") + " is not a TSV file: it holds NUL characters");
    // A NUL after a piece or more of UTF-8: the same failure as through the decoder.
    writeBytes(f.path("late-nul.csv"), manyRowsThen(QByteArray("a,\0\n", 4)));
    EXPECT_EQ(f.failureOf(f.path("late-nul.csv")), f.path("late-nul.csv") + " is not a CSV file: it holds NUL characters");
    EXPECT_EQ(f.failureOf(f.path("late-nul.csv"), true), f.failureOf(f.path("late-nul.csv")));
    EXPECT_TRUE(f.failureOf(f.path("missing.csv")).startsWith("Cannot open " + f.path("missing.csv") + ": "));
    EXPECT_EQ(f.failureOf(f.dir.path()), f.dir.path() + " is a folder, not a table file");
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
    Rows xlsx = rowsOf(f.read(kTestDir + "/fixtures/awkward.xlsx"));
    Rows ods = rowsOf(f.read(kTestDir + "/fixtures/awkward.ods"));
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
    const QByteArray xlsx = readBytes(kTestDir + "/fixtures/awkward.xlsx");
    const QByteArray ods = readBytes(kTestDir + "/fixtures/awkward.ods");
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

// CSV and TSV files: every encoding, fields across the pieces the file is read in, the
// delimiter found, and the rows Python's csv module reads from the same files.
#include "TableFixture.h"

#include "tables/TextFileDecoder.h"
#include "tables/csv/Utf8Checker.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringDecoder>
#include <QStringEncoder>

#include <initializer_list>
#include <map>
#include <optional>

using namespace orvella;
using namespace orvella::testing;

namespace {

struct CsvCase {
    const char *label;
    const char *file;
    QByteArray bytes;
    Rows rows;
    // Whether the same text as UTF-16 gives the same rows: not when the delimiter is
    // found past the first piece, which holds half as much text in UTF-16.
    bool sameAsUtf16 = true;
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

// The text of a UTF-8 file (after its mark, if any) as a UTF-16 file; none when the file
// is not UTF-8.
std::optional<QByteArray> asUtf16(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                       QStringConverter::Flag::ConvertInitialBom);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    QStringEncoder encoder(QStringConverter::Utf16LE);
    return QByteArray("\xFF\xFE") + QByteArray(encoder.encode(text));
}

TEST_P(CsvFiles, GiveTheirRecordsCellByCell)
{
    TableFixture f;
    const Rows rows = f.read(GetParam().file, GetParam().bytes);
    EXPECT_TRUE(sameRows(rows, GetParam().rows));
    // A UTF-8 file is split straight from its bytes, a UTF-16 file once its decoded text
    // is UTF-8 again: the same text gives the same rows either way.
    const std::optional<QByteArray> utf16 = asUtf16(GetParam().bytes);
    if (utf16 && GetParam().sameAsUtf16)
        EXPECT_TRUE(sameRows(f.read(GetParam().file, *utf16), rows)) << "as UTF-16";
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
                longFirstRecordThenSemicolonsRows(), false},
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
        // The halves of a pair that the closing quote stands between meet in the cell; a
        // half alone reads as U+FFFD.
        CsvCase{"Utf16PairAroundAClosingQuote", "t.csv", QByteArray("\xFF\xFE\"\0\x3D\xD8\"\0\x00\xDE,\0b\0", 14),
                {{QString::fromUtf8("\xF0\x9F\x98\x80"), "b"}}},
        CsvCase{"Utf16LoneSurrogates", "t.csv", QByteArray("\xFF\xFE" "a\0\x3D\xD8,\0\x00\xDE", 10),
                {{QString::fromUtf8("a\xEF\xBF\xBD"), QString::fromUtf8("\xEF\xBF\xBD")}}},
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

    // And between the two halves of a surrogate pair, which stay one character.
    QByteArray pair("\xFF\xFE", 2);
    while (pair.size() < chunk)
        pair.append("a\0", 2);
    pair.append("\x3D\xD8\x00\xDE,\0c\0", 8);
    EXPECT_EQ(f.read("p.csv", pair), (Rows{{QString((chunk - 2) / 2, u'a') + QString::fromUtf8("\xF0\x9F\x98\x80"), "c"}}));
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

// Files written and read by Python's csv module: the reader gives the rows Python gives,
// for the same cases in UTF-8, UTF-16 and Windows-1252 alike.
TEST(CsvFiles, ReadAsPythonsCsvModuleReadsThem)
{
    TableFixture f;
    QProcess python;
    python.start(QStringLiteral("python3"), {kTablesTestDir + "/csv_python_cases.py", f.dir.path(), "20240315", "120"});
    ASSERT_TRUE(python.waitForFinished(-1)) << python.errorString().toStdString();
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();

    // Each case in every encoding that holds its text: all in UTF-8 and UTF-16, some in
    // Windows-1252 too.
    const QJsonArray files = QJsonDocument::fromJson(readBytes(f.path("expected.json"))).array();
    std::map<QString, int> encodings;
    for (const QJsonValue &entry : files)
        ++encodings[entry[QStringLiteral("file")].toString().section(u'.', 1, 1)];
    EXPECT_GT(encodings["cp1252"], 10);
    encodings.erase("cp1252");
    EXPECT_EQ(encodings, (std::map<QString, int>{{"utf-16-be", 120}, {"utf-16-le", 120}, {"utf-8", 120},
                                                 {"utf-8-sig", 120}}));
    for (const QJsonValue &entry : files) {
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

// The table remembers the delimiter it was read with, straight from UTF-8 or through
// the decoder, for an export to propose it.
TEST(CsvFiles, RememberTheirDelimiter)
{
    TableFixture f;
    const std::pair<const char *, QByteArray> files[] = {
        {"comma.csv", "a,b\nc,d\n"},
        {"semicolon.csv", "a;b\nc;d\n"},
        {"tab.csv", "a\tb\nc\td\n"},
        {"semicolon-windows-1252.csv", "M\xFCller;b\nc;d\n"},
        {"plain.tsv", "a;b,c\n"},
    };
    const char expected[] = {',', ';', '\t', ';', '\t'};
    for (size_t i = 0; i < std::size(files); ++i) {
        writeBytes(f.path(files[i].first), files[i].second);
        EXPECT_EQ(f.read(f.path(files[i].first)).delimiter(), expected[i]) << files[i].first;
    }
}

TEST(CsvFiles, FilesThatAreNoTableFailClearly)
{
    TableFixture f;
    // A NUL in a file of any encoding, in its first piece or after a piece or more.
    const std::vector<std::pair<QString, QByteArray>> nulFiles = {
        {"nul.csv", QByteArray("a,b\nc\0d\n", 8)},
        {"nul.tsv", QByteArray("a\0", 2)},
        {"late-nul.csv", manyRowsThen(QByteArray("a,\0\n", 4))},
        {"windows-1252-nul.csv", QByteArray("M\xFCller,\0\n", 9)},
        {"late-windows-1252-nul.csv", manyRowsThen(QByteArray("M\xFCller\n\0", 8))},
        {"utf-16-nul.csv", QByteArray("\xFF\xFE" "a\0,\0\0\0", 8)},
        {"late-utf-16-nul.tsv", *asUtf16(manyRowsThen("a\tb")) + QByteArray(2, '\0')},
    };
    for (const auto &[name, bytes] : nulFiles) {
        writeBytes(f.path(name), bytes);
        const QString kind = name.endsWith(".tsv") ? "TSV" : "CSV";
        EXPECT_EQ(f.failureOf(f.path(name)), f.path(name) + " is not a " + kind + " file: it holds NUL characters");
    }
    EXPECT_TRUE(f.failureOf(f.path("missing.csv")).startsWith("Cannot open " + f.path("missing.csv") + ": "));
    EXPECT_EQ(f.failureOf(f.dir.path()), f.dir.path() + " is a folder, not a table file");
}

} // namespace

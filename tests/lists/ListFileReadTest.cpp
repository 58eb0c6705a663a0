#include "core/Failure.h"
#include "core/ShownText.h"
#include "lists/ListFileReader.h"
#include "lists/NameListModel.h"
#include "support/CommandFixture.h"
#include "support/MemorySettings.h"
#include "support/ScriptedDesktop.h"
#include "support/Files.h"

#include <QStringDecoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvella;
using namespace orvella::testing;

namespace {

const QString kTitle = QStringLiteral("Orvella test");

struct ReadFixture {
    QTemporaryDir dir;
    ScriptedDesktop desktop;
    lists::NameListModel list{QStringLiteral(" Name(s)")};
    lists::FileReading reading = lists::FileReading::Yielding;

    QString path(const QString &name = QStringLiteral("list.txt")) const { return dir.filePath(name); }
    QStringList read(const QByteArray &bytes)
    {
        writeBytes(path(), bytes);
        lists::ReadListFile(list, path(), desktop, kTitle, reading);
        return itemsOf(list);
    }
    // The description of the failure the reader throws ("" when it does not throw).
    QString failureOf(const QString &file)
    {
        try {
            lists::ReadListFile(list, file, desktop, kTitle, reading);
        } catch (const core::Failure &failure) {
            return failure.description();
        }
        return QString();
    }
};

struct LineCase {
    const char *label;
    QByteArray bytes;
    QStringList items;
};

class LineEnds : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineEnds, EveryNonEmptyLineIsOneItemExactlyAsWritten)
{
    ReadFixture f;
    EXPECT_EQ(f.read(GetParam().bytes), GetParam().items);
    EXPECT_TRUE(f.desktop.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, LineEnds,
    ::testing::Values(
        LineCase{"CrLf", "Ann Lee\r\nBob Young\r\n", {"Ann Lee", "Bob Young"}},
        LineCase{"LfOnly", "Ann Lee\nBob Young\n", {"Ann Lee", "Bob Young"}},
        LineCase{"CrOnly", "Ann Lee\rBob Young", {"Ann Lee", "Bob Young"}},
        LineCase{"Mixed", "a\r\nb\nc\rd\n\re", {"a", "b", "c", "d", "e"}},
        LineCase{"BlankLinesSkipped", "\r\n\r\na\n\n\nb\r\r\n", {"a", "b"}},
        LineCase{"NoFinalLineEnd", "a\r\nlast", {"a", "last"}},
        LineCase{"SpacesAndTabsKept", "  \r\n\tTab Name \t\r\n x ", {"  ", "\tTab Name \t", " x "}},
        LineCase{"DuplicatesKept", "a\na\na", {"a", "a", "a"}},
        LineCase{"EmptyFile", "", {}},
        LineCase{"OnlyLineEnds", "\r\n\n\r\r\n\n", {}},
        LineCase{"LineLongerThanABlockAmongShortOnes", "a\n" + QByteArray(40000, 'x') + "\nb\r\n",
                 {"a", QString(40000, QChar(u'x')), "b"}}),
    [](const auto &info) { return std::string(info.param.label); });

struct EncodingCase {
    const char *label;
    QByteArray bytes;
    QStringList items;
};

class Encodings : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(Encodings, EveryLetterIsKept)
{
    ReadFixture f;
    EXPECT_EQ(f.read(GetParam().bytes), GetParam().items);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Encodings,
    ::testing::Values(
        EncodingCase{"Utf8", "Jos\xC3\xA9 N\xC3\xBA\xC3\xB1" "ez\r\n\xE6\x9D\x8E \xF0\x9F\x98\x80\r\n",
                     {QString::fromUtf8("José Núñez"), QString::fromUtf8("李 😀")}},
        EncodingCase{"Utf8ByteOrderMarkDropped", "\xEF\xBB\xBF" "Ann\r\nBob", {"Ann", "Bob"}},
        EncodingCase{"Utf8ByteOrderMarkInsideKept", "a\r\n\xEF\xBB\xBF" "b", {"a", QString(QChar(0xFEFF)) + "b"}},
        EncodingCase{"Utf16LittleEndian", QByteArray("\xFF\xFE" "A\0n\0\r\0\n\0\xE9\0\x3D\xD8\x00\xDE", 16),
                     {"An", QString::fromUtf8("é😀")}},
        EncodingCase{"Utf16BigEndian", QByteArray("\xFE\xFF\0A\0n\0\n\0\xE9", 10), {"An", QString::fromUtf8("é")}},
        EncodingCase{"Utf16StrayLastByteDropped", QByteArray("\xFF\xFE" "A\0B", 5), {"A"}},
        EncodingCase{"Windows1252", "Jos\xE9 M\xFCller\r\n\x80 \x8A\x9F\x81", {QString::fromUtf8("José Müller"),
                                                                               QString::fromUtf8("€ ŠŸ\xC2\x81")}},
        // Each line is judged on its own: only a line that is not UTF-8 is Windows-1252.
        EncodingCase{"InvalidUtf8LateInFile", "Jos\xC3\xA9\r\nRen\xE9", {QString::fromUtf8("José"),
                                                                           QString::fromUtf8("René")}},
        EncodingCase{"OneStrayByteAmongUtf8Lines", "Zo\xC3\xAB M\xC3\xBCller\r\nAnn \xFF\xC3\xA9\nJos\xC3\xA9\rx",
                     {QString::fromUtf8("Zoë Müller"), QString::fromUtf8("Ann ÿÃ©"), QString::fromUtf8("José"), "x"}},
        EncodingCase{"Windows1252LineThenUtf8Line", "M\xFCller\r\nM\xC3\xBCller",
                     {QString::fromUtf8("Müller"), QString::fromUtf8("Müller")}},
        EncodingCase{"CutSequenceAtEnd", "Ren\xE9", {QString::fromUtf8("René")}},
        // A byte-order mark decides for the whole file; a byte that is not UTF-8 then
        // reads as the replacement character.
        EncodingCase{"Utf8ByteOrderMarkDecidesEveryLine", "\xEF\xBB\xBFRen\xE9\r\nZo\xC3\xAB",
                     {QString::fromUtf8("Ren\uFFFD"), QString::fromUtf8("Zoë")}}),
    [](const auto &info) { return std::string(info.param.label); });

TEST(ReadListFile, Windows1252MatchesTheCodePageForEveryByte)
{
    QStringDecoder system("windows-1252");
    if (!system.isValid())
        GTEST_SKIP() << "Qt offers no Windows-1252 decoder here";
    QByteArray all;
    for (int b = 1; b < 256; ++b) {
        if (b != '\r' && b != '\n')
            all.append(char(b));
    }
    all.append(char(0xFF)); // makes sure the file is not valid UTF-8
    ReadFixture f;
    EXPECT_EQ(f.read(all), QStringList{system(all)});
}

TEST(ReadListFile, AppendsAfterExistingItemsAndTwiceGivesTwice)
{
    ReadFixture f;
    f.list.append("kept");
    f.read("a\r\nb\r\n");
    lists::ReadListFile(f.list, f.path(), f.desktop, kTitle);
    EXPECT_EQ(itemsOf(f.list), (QStringList{"kept", "a", "b", "a", "b"}));
}

// The file is read in pieces; a character, a name or a CR LF cut by a piece's end
// must come out whole.
TEST(ReadListFile, PiecesJoinAcrossChunkBoundaries)
{
    const qsizetype chunk = tables::kReadChunkBytes;
    struct Case {
        QByteArray bytes;
        QStringList items;
    };
    const QByteArray fill(chunk - 2, 'x');
    const std::vector<Case> cases = {
        // "é" (2 bytes) starts one byte before the boundary.
        {QByteArray(chunk - 1, 'a') + "\xC3\xA9z", {QString(chunk - 1, u'a') + QString::fromUtf8("éz")}},
        // "😀" (4 bytes) with one byte in the first piece.
        {QByteArray(chunk - 1, 'a') + "\xF0\x9F\x98\x80", {QString(chunk - 1, u'a') + QString::fromUtf8("😀")}},
        // CR at the end of the first piece, LF at the start of the next.
        {fill + "a\r\nb", {QString(fill) + "a", "b"}},
        // A name across the boundary.
        {fill + "\nname across\n", {QString(fill), "name across"}},
        // A line across the boundary whose second part is not UTF-8 is Windows-1252
        // from its start; the lines around it stay UTF-8.
        {"Zo\xC3\xAB\n\xC3\xA9" + fill + "\xFF\nJos\xC3\xA9",
         {QString::fromUtf8("Zoë"), QString::fromUtf8("Ã©") + QString(fill) + QString::fromUtf8("ÿ"),
          QString::fromUtf8("José")}},
    };
    for (const Case &c : cases) {
        ReadFixture f;
        EXPECT_EQ(f.read(c.bytes), c.items);
    }

    // A UTF-16 surrogate pair split between pieces.
    QByteArray utf16("\xFF\xFE", 2);
    while (utf16.size() < chunk - 1)
        utf16.append("a\0", 2);
    utf16.append("\x3D\xD8\x00\xDE", 4);
    ReadFixture f;
    const QStringList items = f.read(utf16);
    ASSERT_EQ(items.size(), 1);
    EXPECT_TRUE(items[0].endsWith(QString::fromUtf8("a😀")));
    EXPECT_EQ(items[0].size(), (chunk - 2) / 2 + 2);
}

TEST(ReadListFile, MissingFileSaysFileNotFoundAndAddsNothing)
{
    ReadFixture f;
    f.list.append("kept");
    lists::ReadListFile(f.list, f.path("nowhere.txt"), f.desktop, kTitle);
    EXPECT_EQ(itemsOf(f.list), QStringList{"kept"});
    ASSERT_EQ(f.desktop.messages.size(), 1u);
    EXPECT_EQ(f.desktop.messages[0].text, "File not found");
    EXPECT_EQ(f.desktop.messages[0].style, 0);
    EXPECT_EQ(f.desktop.messages[0].title, kTitle);
}

TEST(ReadListFile, FilesThatAreNoListFailClearlyAndAddNothing)
{
    ReadFixture f;
    f.list.append("kept");
    writeBytes(f.path("binary.txt"), QByteArray("Ann\r\nB\0b\r\nCy", 12));
    QByteArray utf16NoMark("A\0n\0n\0", 6);
    writeBytes(f.path("utf16.txt"), utf16NoMark);

    EXPECT_EQ(f.failureOf(f.dir.path()), f.dir.path() + " is a folder, not a list file");
    EXPECT_EQ(f.failureOf(f.path("binary.txt")), f.path("binary.txt") + " is not a text file: it holds NUL characters");
    EXPECT_TRUE(f.failureOf(f.path("utf16.txt")).contains("NUL"));

    EXPECT_EQ(itemsOf(f.list), QStringList{"kept"});
    EXPECT_TRUE(f.desktop.messages.empty());
}

TEST(ReadListFile, FiftyMegabytesWithoutLineEndIsOneItem)
{
    ReadFixture f;
    QByteArray big(50 * 1024 * 1024, 'n');
    big[7] = ' ';
    const QStringList items = f.read(big);
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items[0], QString::fromLatin1(big));
    // The list shows the start of such an item only; the item itself is whole.
    f.list.flushPendingRows();
    EXPECT_EQ(f.list.data(f.list.index(0), Qt::DisplayRole).toString(),
              QString::fromLatin1(big.left(orvella::core::kShownLength)) + QChar(0x2026));
    EXPECT_EQ(f.list.item(1).size(), big.size());
}

TEST(ReadListFile, MillionLinesArriveInOneBatch)
{
    ReadFixture f;
    QByteArray bytes;
    for (int i = 0; i < 1'000'000; ++i)
        bytes += "Name " + QByteArray::number(i) + "\r\n";
    int changes = 0;
    QObject::connect(&f.list, &lists::NameListModel::itemsChanged, [&] { ++changes; });
    const QStringList items = f.read(bytes);
    ASSERT_EQ(items.size(), 1'000'000);
    EXPECT_EQ(items[999'999], "Name 999999");
    EXPECT_EQ(changes, 1);
}

} // namespace

// A run without a window reads a long file in two halves at once, split at a line end
// near its middle: the lines around the split, decoded each on its own, come out as one
// reading gives them.
TEST(ReadListFile, LongFilesReadInTwoHalvesGiveEveryLineAsWritten)
{
    struct Case {
        const char *what;
        QByteArray mark, lineEnd;
        std::vector<std::pair<QByteArray, QString>> specials; // bytes, and the line read from them
    };
    const QString replacement(QChar::ReplacementCharacter);
    const std::vector<Case> cases = {
        {"CR LF, Windows-1252 and UTF-8 lines", "", "\r\n",
         {{"M\xFCller", QString::fromUtf8("Müller")},
          {"Zo\xC3\xAB", QString::fromUtf8("Zoë")},
          {"\xEF\xBB\xBFLead", QChar(0xFEFF) + QStringLiteral("Lead")}}},
        {"lone LF", "", "\n", {{"\x80uro", QString::fromUtf8("€uro")}, {"Ren\xC3\xA9", QString::fromUtf8("René")}}},
        {"a UTF-8 mark makes every line UTF-8", "\xEF\xBB\xBF", "\r",
         {{"Bad\xFF", QStringLiteral("Bad") + replacement}, {"Ok", QStringLiteral("Ok")}}},
    };
    for (const Case &c : cases) {
        constexpr int kLines = 700000; // 14 bytes a line: past the size read in halves
        const int middle = kLines / 2;
        QByteArray bytes = c.mark;
        QStringList expected;
        for (int i = 0; i < kLines; ++i) {
            // The special lines stand around the middle, so that whichever line the
            // split follows, some of them are read by each half.
            if (i >= middle - 2 && i < middle + 3) {
                for (const auto &[raw, read] : c.specials) {
                    bytes += raw + c.lineEnd;
                    expected << read;
                }
            }
            const QByteArray filler = "Name " + QByteArray::number(1000000 + i);
            bytes += filler + c.lineEnd;
            expected << QString::fromLatin1(filler);
        }
        ReadFixture f;
        f.reading = lists::FileReading::TwoHalves;
        EXPECT_EQ(f.read(bytes), expected) << c.what;
    }

    // A NUL in the second half refuses the file as one reading does.
    ReadFixture f;
    f.reading = lists::FileReading::TwoHalves;
    QByteArray bytes;
    for (int i = 0; i < 700000; ++i)
        bytes += "Name " + QByteArray::number(1000000 + i) + (i == 600000 ? QByteArray("\0\r\n", 3) : "\r\n");
    writeBytes(f.path(), bytes);
    EXPECT_EQ(f.failureOf(f.path()), f.path() + " is not a text file: it holds NUL characters");
    EXPECT_TRUE(itemsOf(f.list).isEmpty());
}

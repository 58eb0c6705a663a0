#include "TableList.h"
#include "core/Failure.h"
#include "commands/ExportCommands.h"
#include "export/SpreadsheetPresence.h"
#include "tables/xlsx/XlsxSpreadsheet.h"
#include "lists/NameListModel.h"
#include "support/CommandFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace orvella;
using namespace orvella::testing;
using tables::XlsxSpreadsheet;

namespace {

// Reads a workbook back with openpyxl and, independently, looks into the sheet's XML.
const char *kReader = R"PY(
import json, sys, zipfile
import openpyxl
path = sys.argv[1]
book = openpyxl.load_workbook(path)
sheet = book.active
# only the cells that exist: a sheet may reach its last row and column
cells = [[c.coordinate, c.value, c.data_type]
         for c in sorted(sheet._cells.values(), key=lambda c: (c.row, c.column)) if c.value is not None]
widths = {k: d.width for k, d in sheet.column_dimensions.items() if d.customWidth}
with zipfile.ZipFile(path) as z:
    xml = z.read('xl/worksheets/sheet1.xml').decode('utf-8')
print(json.dumps({'sheets': book.sheetnames, 'cells': cells, 'widths': widths,
                  'formulas': '<f>' in xml or '<f ' in xml, 'xml': xml}))
)PY";

QJsonObject readWorkbook(const QString &path)
{
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromLatin1(kReader), path});
    python.waitForFinished(-1);
    const QByteArray out = python.readAllStandardOutput();
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    return QJsonDocument::fromJson(out).object();
}

struct Cell {
    QString coordinate;
    QString value;
    QString type;
    bool operator==(const Cell &) const = default;
};

std::vector<Cell> cellsOf(const QJsonObject &book)
{
    std::vector<Cell> cells;
    for (const QJsonValue &v : book.value("cells").toArray()) {
        const QJsonArray c = v.toArray();
        cells.push_back({c[0].toString(), c[1].toString(), c[2].toString()});
    }
    return cells;
}

void PrintTo(const Cell &c, std::ostream *os)
{
    *os << c.coordinate.toStdString() << "=" << c.value.toStdString() << "(" << c.type.toStdString() << ")";
}

struct OpenRecorder {
    QStringList opened;
    bool answer = true;
    XlsxSpreadsheet::Opener opener()
    {
        return [this](const QString &path) {
            opened << path;
            return answer;
        };
    }
};

TEST(XlsxWorkbook, ExportedResultsReadBackAsTextCells)
{
    QTemporaryDir root;
    OpenRecorder recorder;
    CommandFixture f;
    f.desktop.spreadsheetFactory = [&] { return std::make_unique<XlsxSpreadsheet>(recorder.opener(), root.path()); };
    const QStringList names = {"John Smith Jr.", "=1+1", "  Ann Lee  ", QString::fromUtf8("Zo\u00eb \u674e\u5c0f\u9f8d"),
                               "007", "1/2/2003", "TRUE", "Mr. Joe Tavrin"};
    for (const QString &name : names)
        f.resultList.append(name);
    commands::ExportCommands commands(f.context);
    commands.openResultsInSpreadsheet();
    ASSERT_TRUE(f.desktop.messages.empty()) << f.desktop.messages[0].text.toStdString();

    ASSERT_EQ(recorder.opened.size(), 1);
    const QString path = recorder.opened[0];
    const QFileInfo file(path);
    EXPECT_EQ(file.suffix(), "xlsx");
    // A new folder of its own inside the temporary folder, closed to other users.
    EXPECT_EQ(QFileInfo(file.absolutePath()).absolutePath(), QFileInfo(root.path()).absoluteFilePath());
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(file.absolutePath()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(QDir(file.absolutePath()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList{file.fileName()});

    const QJsonObject book = readWorkbook(path);
    EXPECT_EQ(book.value("sheets").toArray().size(), 1);
    std::vector<Cell> expected{{"A1", "Result(s)", "s"}};
    for (int i = 0; i < names.size(); ++i)
        expected.push_back({QStringLiteral("A%1").arg(i + 2), names[i], "s"});
    EXPECT_EQ(cellsOf(book), expected);
    EXPECT_FALSE(book.value("formulas").toBool());

    // Column A is as wide as its longest text needs, not wider than a generous margin.
    const double width = book.value("widths").toObject().value("A").toDouble();
    EXPECT_GE(width, QString("John Smith Jr.").size());
    EXPECT_LT(width, QString("John Smith Jr.").size() * 1.5 + 2);
}

TEST(XlsxWorkbook, WithoutAnApplicationTheWorkbookIsSavedToTheChosenFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Names.xlsx");
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("an older file") > 0);
    old.close();
    ASSERT_TRUE(old.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup));
    CommandFixture f;
    f.desktop.spreadsheetInstalled = false;
    f.desktop.saveAnswers = {path};
    f.resultList.append("=1+1");
    f.resultList.append("Ann Lee");
    commands::ExportCommands commands(f.context);
    commands.openResultsInSpreadsheet();

    EXPECT_TRUE(f.desktop.errorReports().empty()) << f.desktop.errorReports()[0].text.toStdString();
    EXPECT_EQ(f.desktop.messages.size(), 3u);
    // The old file is replaced as a whole and keeps its permissions.
    EXPECT_EQ(cellsOf(readWorkbook(path)),
              (std::vector<Cell>{{"A1", "Result(s)", "s"}, {"A2", "=1+1", "s"}, {"A3", "Ann Lee", "s"}}));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"Names.xlsx"});
    EXPECT_EQ(f.desktop.pointers, (std::vector<core::Pointer>{core::Pointer::Busy, core::Pointer::Default}));
}

TEST(XlsxWorkbook, ChosenFileThatCannotBeWrittenIsReportedAsTheListSavesReportIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("missing/Names.xlsx");
    CommandFixture f;
    f.desktop.spreadsheetInstalled = false;
    f.desktop.saveAnswers = {path};
    f.resultList.append("Ann Lee");
    commands::ExportCommands commands(f.context);
    commands.openResultsInSpreadsheet();

    EXPECT_EQ(f.desktop.reportPlaces(), QStringList{"Form1.PushButton13_Click at line 182"});
    ASSERT_EQ(f.desktop.errorReports().size(), 1u);
    EXPECT_TRUE(f.desktop.errorReports()[0].text.startsWith("Cannot create " + path + ": "))
        << f.desktop.errorReports()[0].text.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("missing")));
    EXPECT_EQ(f.desktop.pointers.back(), core::Pointer::Default);
}

TEST(XlsxWorkbook, CellsInAnyOrderLaterTextWinsUnfittedColumnsKeepStandardWidth)
{
    QTemporaryDir root;
    OpenRecorder recorder;
    XlsxSpreadsheet sheet(recorder.opener(), root.path());
    sheet.addWorkbook();
    sheet.setCell(3, 2, "c");
    sheet.setCell(1, 1, "a");
    sheet.setCell(3, 2, "a much longer text in B3");
    sheet.setCell(2, 3, "=SUM(A1:A2)");
    sheet.setCell(1, 1, "A1 again");
    sheet.autoFitColumn(2);
    sheet.autoFitColumn(4); // no text there: keeps the standard width
    sheet.makeVisible();
    ASSERT_EQ(recorder.opened.size(), 1);
    EXPECT_EQ(sheet.filePath(), recorder.opened[0]);
    const QJsonObject book = readWorkbook(sheet.filePath());
    EXPECT_EQ(cellsOf(book), (std::vector<Cell>{{"A1", "A1 again", "s"},
                                                {"C2", "=SUM(A1:A2)", "s"},
                                                {"B3", "a much longer text in B3", "s"}}));
    EXPECT_FALSE(book.value("formulas").toBool());
    const QJsonObject widths = book.value("widths").toObject();
    EXPECT_EQ(widths.keys(), QStringList{"B"});
    EXPECT_GE(widths.value("B").toDouble(), 24);
}

TEST(XlsxWorkbook, TextsFillingSeveralOfTheGatheredChunksReadBackWhole)
{
    // Seventy cells of up to 64 KiB of UTF-8 each are more than one of the chunks the
    // texts are gathered in; written bottom up, they are also put in order first.
    QTemporaryDir root;
    OpenRecorder recorder;
    XlsxSpreadsheet sheet(recorder.opener(), root.path());
    sheet.addWorkbook();
    const auto textOf = [](int row) {
        return QStringLiteral("%1:").arg(row) + QString(XlsxSpreadsheet::kMaxTextLength - 10 - row, QChar(u'\u00e9'));
    };
    for (int row = 70; row >= 1; --row)
        sheet.setCell(row, 1, textOf(row));
    sheet.makeVisible();
    std::vector<Cell> expected;
    for (int row = 1; row <= 70; ++row)
        expected.push_back({QStringLiteral("A%1").arg(row), textOf(row), "s"});
    EXPECT_EQ(cellsOf(readWorkbook(sheet.filePath())), expected);
}

TEST(XlsxWorkbook, FittingAllColumnsFitsEachToItsOwnText)
{
    QTemporaryDir root;
    OpenRecorder recorder;
    XlsxSpreadsheet sheet(recorder.opener(), root.path());
    sheet.addWorkbook();
    sheet.setCell(1, 1, "Result(s)");
    sheet.autoFitColumn(1); // fitted to the caption only, for now
    sheet.setCell(2, 1, "a name of thirty characters ..");
    sheet.setCell(2, 2, "abc");
    sheet.autoFitAllColumns();
    sheet.makeVisible();
    const QJsonObject widths = readWorkbook(sheet.filePath()).value("widths").toObject();
    EXPECT_GE(widths.value("A").toDouble(), 30);
    EXPECT_GE(widths.value("B").toDouble(), 3);
    EXPECT_LT(widths.value("B").toDouble(), widths.value("A").toDouble() / 3);
}

TEST(XlsxWorkbook, RefusesWhatASheetCannotHold)
{
    QTemporaryDir root;
    OpenRecorder recorder;
    XlsxSpreadsheet sheet(recorder.opener(), root.path());
    EXPECT_THROW(sheet.setCell(1, 1, "before the workbook"), core::Failure);
    sheet.addWorkbook();
    EXPECT_THROW(sheet.addWorkbook(), core::Failure);
    EXPECT_THROW(sheet.setCell(0, 1, "x"), core::Failure);
    EXPECT_THROW(sheet.setCell(XlsxSpreadsheet::kMaxRows + 1, 1, "x"), core::Failure);
    EXPECT_THROW(sheet.setCell(1, XlsxSpreadsheet::kMaxColumns + 1, "x"), core::Failure);
    EXPECT_THROW(sheet.setCell(1, 1, QString(XlsxSpreadsheet::kMaxTextLength + 1, u'x')), core::Failure);
    sheet.setCell(XlsxSpreadsheet::kMaxRows, XlsxSpreadsheet::kMaxColumns, QString(XlsxSpreadsheet::kMaxTextLength, u'x'));
    sheet.makeVisible();
    EXPECT_THROW(sheet.setCell(2, 1, "after it was written"), core::Failure);
    const auto cells = cellsOf(readWorkbook(sheet.filePath()));
    ASSERT_EQ(cells.size(), 1u);
    EXPECT_EQ(cells[0].coordinate, "XFD1048576");
    EXPECT_EQ(cells[0].value.size(), XlsxSpreadsheet::kMaxTextLength);
}

TEST(XlsxWorkbook, NoApplicationToOpenItIsAFailureAndTheFileIsKept)
{
    QTemporaryDir root;
    OpenRecorder recorder;
    recorder.answer = false;
    XlsxSpreadsheet sheet(recorder.opener(), root.path());
    sheet.addWorkbook();
    sheet.setCell(1, 1, "Result(s)");
    try {
        sheet.makeVisible();
        FAIL() << "makeVisible succeeded without an application";
    } catch (const core::Failure &failure) {
        EXPECT_TRUE(failure.description().contains(sheet.filePath())) << failure.description().toStdString();
    }
    EXPECT_TRUE(QFileInfo::exists(sheet.filePath()));
    // Trying again opens the same file rather than writing another.
    recorder.answer = true;
    sheet.makeVisible();
    EXPECT_EQ(recorder.opened, QStringList({sheet.filePath(), sheet.filePath()}));
}

TEST(XlsxWorkbook, UnwritableTemporaryFolderIsAFailure)
{
    QTemporaryDir root;
    OpenRecorder recorder;
    XlsxSpreadsheet sheet(recorder.opener(), root.filePath("missing/folder"));
    sheet.addWorkbook();
    sheet.setCell(1, 1, "x");
    EXPECT_THROW(sheet.makeVisible(), core::Failure);
    EXPECT_TRUE(recorder.opened.isEmpty());
}

TEST(XlsxWorkbook, TextsThatLookLikeCharacterCodesStayAsWritten)
{
    QTemporaryDir root;
    OpenRecorder recorder;
    XlsxSpreadsheet sheet(recorder.opener(), root.path());
    sheet.addWorkbook();
    sheet.setCell(1, 1, "_x0041_ and _x00e9_");
    sheet.setCell(2, 1, QStringLiteral("bell\u0007 _xZZZZ_ _x41_"));
    sheet.makeVisible();
    const QString xml = readWorkbook(sheet.filePath()).value("xml").toString();
    // A reader turns _x005F_ back into the underscore: the texts read back unchanged.
    EXPECT_TRUE(xml.contains("<t>_x005F_x0041_ and _x005F_x00e9_</t>")) << xml.toStdString();
    EXPECT_TRUE(xml.contains("<t>bell_x0007_ _xZZZZ_ _x41_</t>")) << xml.toStdString();
}

TEST(XlsxWorkbook, CharactersXmlCannotHoldAreWrittenAsCodes)
{
    QTemporaryDir root;
    OpenRecorder recorder;
    XlsxSpreadsheet sheet(recorder.opener(), root.path());
    sheet.addWorkbook();
    const QChar high(char16_t(0xD83D));
    const QChar low(char16_t(0xDE00));
    sheet.setCell(1, 1, QStringLiteral("a\uFFFEb\uFFFFc"));
    sheet.setCell(2, 1, QString("lone ") + high + " and " + low + " end" + high);
    sheet.setCell(3, 1, QString("pair ") + high + low + QString(QChar(u'\uFFFD')));
    sheet.setCell(4, 1, QStringLiteral("bell\u0007 _xFFFE_"));
    sheet.makeVisible();
    // The reader parses the sheet's XML, which must therefore be well-formed.
    const QString xml = readWorkbook(sheet.filePath()).value("xml").toString();
    for (const QString &cell : {QStringLiteral("<t>a_xFFFE_b_xFFFF_c</t>"),
                                QStringLiteral("<t>lone _xD83D_ and _xDE00_ end_xD83D_</t>"),
                                QStringLiteral("<t>pair \U0001F600\uFFFD</t>"),
                                QStringLiteral("<t>bell_x0007_ _x005F_xFFFE_</t>")})
        EXPECT_TRUE(xml.contains(cell)) << cell.toStdString() << "\n" << xml.toStdString();
}

// A workbook folder "held" the way a running copy of the program holds its own.
int holdFolder(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY);
    EXPECT_EQ(::flock(fd, LOCK_SH), 0);
    return fd;
}

void makeFolderWithWorkbook(const QString &path)
{
    ASSERT_TRUE(QDir().mkpath(path));
    QFile file(QDir(path).filePath("Results.xlsx"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

QString exportOne(const QString &root, bool opens)
{
    OpenRecorder recorder;
    recorder.answer = opens;
    XlsxSpreadsheet sheet(recorder.opener(), root);
    sheet.addWorkbook();
    sheet.setCell(1, 1, "Ann");
    if (opens)
        sheet.makeVisible();
    else
        EXPECT_THROW(sheet.makeVisible(), core::Failure);
    EXPECT_TRUE(QFileInfo::exists(sheet.filePath()));
    return QFileInfo(sheet.filePath()).absolutePath();
}

TEST(XlsxWorkbook, NextExportRemovesFoldersNoRunHoldsAnyMore)
{
    QTemporaryDir root;
    const QString earlierRun = root.filePath("orvella-Ab12Cd");
    const QString otherRunning = root.filePath("orvella-Held01");
    const QString notOurs = root.filePath("orvella-notes");
    for (const QString &folder : {earlierRun, otherRunning, notOurs})
        makeFolderWithWorkbook(folder);
    const int otherHold = holdFolder(otherRunning);

    const QString opened = exportOne(root.path(), true);
    EXPECT_FALSE(QFileInfo::exists(earlierRun));
    // An export that could not be opened leaves nothing behind.
    const QString failed = exportOne(root.path(), false);
    EXPECT_FALSE(QFileInfo::exists(failed));
    const QString last = exportOne(root.path(), true);

    // What the spreadsheet application may still have open stays: this run's opened
    // workbooks and another running copy's.
    for (const QString &kept : {opened, last, otherRunning, notOurs})
        EXPECT_TRUE(QFileInfo::exists(QDir(kept).filePath("Results.xlsx"))) << kept.toStdString();
    EXPECT_EQ(QDir(root.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 4);
    ::close(otherHold);
    // Once the other copy has ended, its folder goes with the next export too.
    exportOne(root.path(), true);
    EXPECT_FALSE(QFileInfo::exists(otherRunning));
}

// Counts the window's yields up to the moment the workbook starts being written, into a
// count of the test's own: the command frees the sheet when it is done.
struct YieldMarkingSheet : XlsxSpreadsheet {
    using XlsxSpreadsheet::XlsxSpreadsheet;
    const int *yields = nullptr;
    int *beforeWriting = nullptr;
    void autoFitAllColumns() override
    {
        *beforeWriting = *yields; // the last step before the workbook is made visible
        XlsxSpreadsheet::autoFitAllColumns();
    }
};

TEST(XlsxWorkbook, WindowGoesOnWhileTheWorkbookIsWritten)
{
    QTemporaryDir root;
    CommandFixture f;
    int yieldsWhenOpened = -1;
    QString opened;
    int beforeWriting = -1;
    f.desktop.spreadsheetFactory = [&] {
        auto made = std::make_unique<YieldMarkingSheet>(
            [&](const QString &path) {
                yieldsWhenOpened = f.desktop.yields;
                opened = path;
                return true;
            },
            root.path(), [&] { f.desktop.yield(); });
        made->yields = &f.desktop.yields;
        made->beforeWriting = &beforeWriting;
        return made;
    };
    QStringList names;
    for (int i = 0; i < 50000; ++i)
        names << QStringLiteral("Name %1").arg(i * 7919 % 50000, 6, 10, QLatin1Char('0'));
    commands::ExportCommands commands(f.context,
                                       std::make_unique<TableList>(TableList::oneColumn(names)));
    commands.openResultsInSpreadsheet();
    ASSERT_TRUE(f.desktop.messages.empty()) << f.desktop.messages[0].text.toStdString();
    ASSERT_NE(beforeWriting, -1) << "the workbook was not written";
    EXPECT_GT(yieldsWhenOpened - beforeWriting, 0) << "no yield while the workbook was written";
    EXPECT_EQ(f.desktop.pointers,
              (std::vector<core::Pointer>{core::Pointer::Busy, core::Pointer::Default}));

    const std::vector<Cell> cells = cellsOf(readWorkbook(opened));
    ASSERT_EQ(cells.size(), size_t(names.size() + 1));
    EXPECT_EQ(cells[0], (Cell{"A1", "Result(s)", "s"}));
    for (int i = 0; i < names.size(); i += 4999)
        EXPECT_EQ(cells[size_t(i + 1)], (Cell{QStringLiteral("A%1").arg(i + 2), names[i], "s"}));
    EXPECT_EQ(cells.back(), (Cell{QStringLiteral("A%1").arg(names.size() + 1), names.back(), "s"}));
}

// Looking for a spreadsheet application on a PATH we control.
class SpreadsheetPresence : public ::testing::Test {
protected:
    void SetUp() override { m_savedPath = qgetenv("PATH"); }
    void TearDown() override { qputenv("PATH", m_savedPath); }

    void program(const QString &name, const QByteArray &script = "#!/bin/sh\nexit 0\n")
    {
        QFile file(m_bin.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(script);
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    void onlyOurPath() { qputenv("PATH", QFile::encodeName(m_bin.path())); }

    QTemporaryDir m_bin;
    QByteArray m_savedPath;
};

TEST_F(SpreadsheetPresence, NothingOnThePathMeansNone)
{
    onlyOurPath();
    EXPECT_FALSE(exporting::spreadsheetApplicationPresent());
}

TEST_F(SpreadsheetPresence, AnyKnownSpreadsheetProgramCounts)
{
    for (const QString &name : exporting::knownSpreadsheetPrograms()) {
        QTemporaryDir bin;
        QFile file(bin.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        qputenv("PATH", QFile::encodeName(bin.path()));
        EXPECT_TRUE(exporting::spreadsheetApplicationPresent()) << name.toStdString();
    }
}

TEST_F(SpreadsheetPresence, RegisteredDesktopApplicationCounts)
{
    program("xdg-mime", "#!/bin/sh\n[ \"$1 $2 $3\" = \"query default "
                        "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet\" ] && echo calc.desktop\n");
    onlyOurPath();
    EXPECT_TRUE(exporting::spreadsheetApplicationPresent());
}

TEST_F(SpreadsheetPresence, NoRegisteredApplicationMeansNone)
{
    program("xdg-mime", "#!/bin/sh\necho\n");
    onlyOurPath();
    EXPECT_FALSE(exporting::spreadsheetApplicationPresent());
    program("xdg-mime", "#!/bin/sh\necho calc.desktop\nexit 3\n");
    EXPECT_FALSE(exporting::spreadsheetApplicationPresent());
}

} // namespace

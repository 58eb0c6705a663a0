#include "ListTestSupport.h"

#include "core/Failure.h"
#include "core/ProgressState.h"
#include "lists/ListFile.h"
#include "lists/NameListModel.h"
#include "support/Fixtures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>

using namespace orvella;
using namespace orvella::testing;

namespace {

struct WriteFixture {
    explicit WriteFixture(const QString &caption = QStringLiteral("Result(s)")) : list(caption) {}

    QTemporaryDir dir;
    ScriptedDesktop desktop;
    core::ProgressState progress;
    lists::NameListModel list;
    QString path = dir.filePath(QStringLiteral("results.txt"));

    std::optional<QString> write(core::ProgressState *shown, const lists::ListFileOutput::DeviceFilter &filter = {})
    {
        try {
            lists::WriteListFile(list, path, shown, desktop, filter);
        } catch (const core::Failure &failure) {
            return failure.description();
        }
        return std::nullopt;
    }
    QByteArray written() const { return readBytes(path); }
};

struct TableCase {
    const char *label;
    QString caption;
    QStringList items;
    QByteArray bytes;
};

class TableFormat : public ::testing::TestWithParam<TableCase> {};

TEST_P(TableFormat, PaddedToTheWidestFieldWithATabAfterEach)
{
    const TableCase &c = GetParam();
    for (const bool withProgress : {true, false}) {
        WriteFixture f(c.caption);
        for (const QString &item : c.items)
            f.list.append(item);
        EXPECT_EQ(f.write(withProgress ? &f.progress : nullptr), std::nullopt);
        EXPECT_EQ(f.written(), c.bytes) << (withProgress ? "with progress" : "without progress");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, TableFormat,
    ::testing::Values(
        TableCase{"FiveAndTen", "Result(s)", {"abcde", "abcdefghij"},
                  "Result(s) \t\r\nabcde     \t\r\nabcdefghij\t\r\n"},
        TableCase{"CaptionWidest", " Name(s)", {"Al", "Bo b"}, " Name(s)\t\r\nAl      \t\r\nBo b    \t\r\n"},
        TableCase{"EmptyListHeaderOnly", "Result(s)", {}, "Result(s)\t\r\n"},
        TableCase{"SpacesKept", "R", {" x ", ""}, "R  \t\r\n x \t\r\n   \t\r\n"},
        // Widths count UTF-16 code units; the file is UTF-8 without byte-order mark.
        TableCase{"NonAscii", "Result(s)", {QString::fromUtf8("😀"), QString::fromUtf8("Łukasz Żółć")},
                  QByteArray("Result(s)  \t\r\n") + QString::fromUtf8("😀").toUtf8() + QByteArray(9, ' ') +
                      "\t\r\n" + QString::fromUtf8("Łukasz Żółć").toUtf8() + "\t\r\n"}),
    [](const auto &info) { return std::string(info.param.label); });

TEST(WriteListFile, ProgressPositionsAndTextsFor4000Items)
{
    WriteFixture f;
    for (int i = 1; i <= 4000; ++i)
        f.list.append(QString::number(i));
    std::vector<double> positions;
    QStringList texts;
    QObject::connect(&f.progress, &core::ProgressState::positionSet, [&](double p) { positions.push_back(p); });
    QObject::connect(&f.progress, &core::ProgressState::textSet, [&](const QString &t) { texts << t; });

    ASSERT_EQ(f.write(&f.progress), std::nullopt);

    ASSERT_EQ(positions.size(), 3u + 4000u + 2u);
    EXPECT_EQ(positions[0], 1);
    EXPECT_EQ(positions[1], 10);
    EXPECT_EQ(positions[2], 20);
    EXPECT_DOUBLE_EQ(positions[3], 0.075);
    EXPECT_DOUBLE_EQ(positions[3 + 1999], 50.05);
    EXPECT_DOUBLE_EQ(positions[3 + 3999], 100.05);
    EXPECT_EQ(positions[4003], 100);
    EXPECT_EQ(positions[4004], 0);
    const QString t = "Writing file: results.txt";
    EXPECT_EQ(texts, (QStringList{t, t, t, t + " (1000)", t + " (2000)", t + " (3000)", t + " (4000)", "Done.",
                                  "Progress Bar"}));
    EXPECT_EQ(f.progress.position(), 0);
    EXPECT_EQ(f.progress.text(), "Progress Bar");
}

// Every way a save can fail leaves the file that was there before as it was, and no
// temporary file behind.
TEST(WriteListFile, FailedSaveLeavesThePreviousFileUntouched)
{
    struct Case {
        const char *label;
        std::function<void(WriteFixture &)> setUp;
        lists::ListFileOutput::DeviceFilter filter;
        QString expectedStart;
    };
    const auto failAfter = [](qint64 bytes) {
        return [bytes](QIODevice &file) { return std::make_unique<FailingDevice>(file, bytes); };
    };
    const std::vector<Case> cases = {
        {"FullDiskInHeader", {}, failAfter(5), "Cannot write "},
        {"FullDiskPartWay", {}, failAfter(3000), "Cannot write "},
        {"ListEmptiedWhileWriting",
         [](WriteFixture &f) { f.desktop.atYield(1500, [&f] { f.list.clear(); }); },
         {},
         "List position "},
        {"WriteProtected",
         [](WriteFixture &f) { QFile::setPermissions(f.path, QFileDevice::ReadOwner | QFileDevice::ReadGroup); },
         {},
         "Cannot replace "},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label);
        WriteFixture f;
        writeBytes(f.path, "old contents\r\n");
        for (int i = 0; i < 1000; ++i)
            f.list.append(QStringLiteral("Name %1").arg(i));
        if (c.setUp)
            c.setUp(f);
        const std::optional<QString> failure = f.write(&f.progress, c.filter);
        ASSERT_TRUE(failure.has_value());
        EXPECT_TRUE(failure->startsWith(c.expectedStart)) << failure->toStdString();
        EXPECT_EQ(f.written(), "old contents\r\n");
        EXPECT_EQ(folderEntries(f.dir.path()), QStringList{"results.txt"});
        // The progress bar stays where the failure found it.
        EXPECT_NE(f.progress.text(), "Progress Bar");
    }
}

TEST(WriteListFile, TargetThatCannotBeCreatedFailsClearly)
{
    WriteFixture f;
    f.list.append("x");
    f.path = f.dir.filePath("no such folder/results.txt");
    std::optional<QString> failure = f.write(&f.progress);
    ASSERT_TRUE(failure.has_value());
    EXPECT_TRUE(failure->startsWith("Cannot create " + f.path + ": ")) << failure->toStdString();

    f.path = f.dir.path();
    failure = f.write(nullptr);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(*failure, "Cannot create " + f.dir.path() + ": it is a folder");
    EXPECT_TRUE(folderEntries(f.dir.path()).isEmpty());
}

// The file is the list as it was when the save began, padded to fit it.
TEST(WriteListFile, ItemsAppendedWhileWritingAreNotWritten)
{
    for (const int yield : {3, 7, 12}) { // measuring, header, items
        SCOPED_TRACE(yield);
        WriteFixture f;
        f.list.append("a");
        f.list.append("b");
        f.desktop.atYield(yield, [&f] { f.list.append("a late and long name"); });
        ASSERT_EQ(f.write(&f.progress), std::nullopt);
        EXPECT_EQ(f.written(), "Result(s)\t\r\na        \t\r\nb        \t\r\n");
        EXPECT_EQ(f.list.count(), 3);
    }
}

TEST(WriteListFile, TableFileReadsBackLineForLine)
{
    WriteFixture f;
    const QStringList names = {"Ann Lee", QString::fromUtf8("Zoë Ünal"), " spaced "};
    for (const QString &name : names)
        f.list.append(name);
    ASSERT_EQ(f.write(&f.progress), std::nullopt);

    lists::NameListModel back(QStringLiteral(" Name(s)"));
    lists::ReadListFile(back, f.path, f.desktop, "t");
    EXPECT_EQ(itemsOf(back), (QStringList{"Result(s)\t", "Ann Lee  \t", QString::fromUtf8("Zoë Ünal \t"),
                                          " spaced  \t"}));
}

} // namespace

#include "core/Failure.h"
#include "core/ProgressState.h"
#include "lists/ListFileReader.h"
#include "lists/ListFileWriter.h"
#include "lists/NameListModel.h"
#include "support/CommandFixture.h"
#include "support/MemorySettings.h"
#include "support/ScriptedDesktop.h"
#include "support/Files.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>
#include <thread>

#include <fcntl.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

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

    std::optional<QString> write(core::ProgressState *shown, const core::FileOutput::DeviceFilter &filter = {})
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
                      "\t\r\n" + QString::fromUtf8("Łukasz Żółć").toUtf8() + "\t\r\n"},
        // Lone surrogates are written as "?", as QString::toUtf8 writes them; a pair
        // split over two lines stays two lone halves.
        TableCase{"LoneSurrogates", "R", {QString(QChar(0xD83D)), QString(QChar(0xDE00)) + "a" + QChar(0xFF) + QChar(0)},
                  QByteArray("R   \t\r\n?   \t\r\n?a\xC3\xBF\x00\t\r\n", 22)}),
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
        core::FileOutput::DeviceFilter filter;
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

// A saved table loads back as its names (spaces at a name's end go with the padding);
// a file that only looks like one, a line short of the width, is read line by line.
TEST(WriteListFile, TableFileReadsBackAsItsNames)
{
    WriteFixture f;
    const QStringList names = {"Ann Lee", QString::fromUtf8("Zoë Ünal"), " spaced "};
    for (const QString &name : names)
        f.list.append(name);
    ASSERT_EQ(f.write(&f.progress), std::nullopt);

    lists::NameListModel back(QStringLiteral(" Name(s)"));
    lists::ReadListFile(back, f.path, f.desktop, "t");
    EXPECT_EQ(itemsOf(back), (QStringList{"Ann Lee", QString::fromUtf8("Zoë Ünal"), " spaced"}));

    writeBytes(f.path, "Result(s)\t\r\nAnn Lee  \t\r\nBob     \t\r\n");
    lists::NameListModel plain(QStringLiteral(" Name(s)"));
    lists::ReadListFile(plain, f.path, f.desktop, "t");
    EXPECT_EQ(itemsOf(plain), (QStringList{"Result(s)\t", "Ann Lee  \t", "Bob     \t"}));
}

// ---- Targets written in place --------------------------------------------------------

const QByteArray kTwoNames = "Result(s)\t\r\nAnn Lee  \t\r\nBob      \t\r\n";

struct stat statOf(const QString &path)
{
    struct stat st {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0) << path.toStdString();
    return st;
}

struct InPlaceFixture : WriteFixture {
    InPlaceFixture()
    {
        list.append("Ann Lee");
        list.append("Bob");
    }
};

// While it lives, this thread reaches files as another user would: a folder's
// permissions then bite even when the tests run as the superuser.
class FileSystemUser {
public:
    FileSystemUser(uid_t uid, gid_t gid) : m_gid(setfsgid(gid)), m_uid(setfsuid(uid)) {}
    ~FileSystemUser()
    {
        setfsuid(uid_t(m_uid));
        setfsgid(gid_t(m_gid));
    }
    FileSystemUser(const FileSystemUser &) = delete;
    FileSystemUser &operator=(const FileSystemUser &) = delete;

private:
    int m_gid;
    int m_uid;
};

constexpr uid_t kNobody = 65534;

TEST(SaveInPlace, HardLinkedFileKeepsBothNames)
{
    InPlaceFixture f;
    writeBytes(f.path, "old contents\r\n");
    const QString other = f.dir.filePath("other name.txt");
    ASSERT_EQ(::link(QFile::encodeName(f.path).constData(), QFile::encodeName(other).constData()), 0);
    const ino_t inode = statOf(f.path).st_ino;

    ASSERT_EQ(f.write(&f.progress), std::nullopt);
    EXPECT_EQ(readBytes(f.path), kTwoNames);
    EXPECT_EQ(readBytes(other), kTwoNames);
    EXPECT_EQ(statOf(f.path).st_ino, inode);
    EXPECT_EQ(statOf(f.path).st_nlink, 2u);
    EXPECT_EQ(folderEntries(f.dir.path()), (QStringList{"other name.txt", "results.txt"}));
}

// A named pipe gets the lines and stays a pipe; one that nobody reads fails at once
// rather than waiting for a reader.
TEST(SaveInPlace, NamedPipeIsWrittenNotReplaced)
{
    InPlaceFixture f;
    ASSERT_EQ(::mkfifo(QFile::encodeName(f.path).constData(), 0644), 0);

    std::optional<QString> failure = f.write(nullptr);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(*failure, "Cannot open " + f.path + ": " + qt_error_string(ENXIO));
    EXPECT_TRUE(S_ISFIFO(statOf(f.path).st_mode));

    // The test's own writer end keeps the reader from seeing the end of the data
    // before the save has opened the pipe.
    const int reading = ::open(QFile::encodeName(f.path).constData(), O_RDONLY | O_NONBLOCK);
    const int holding = ::open(QFile::encodeName(f.path).constData(), O_WRONLY | O_NONBLOCK);
    ASSERT_GE(reading, 0);
    ASSERT_GE(holding, 0);
    ASSERT_EQ(::fcntl(reading, F_SETFL, 0), 0);
    QByteArray received;
    std::thread reader([&] {
        char buffer[4096];
        ssize_t got = 0;
        while ((got = ::read(reading, buffer, sizeof buffer)) > 0)
            received.append(buffer, got);
    });
    failure = f.write(&f.progress);
    ::close(holding);
    reader.join();
    ::close(reading);
    EXPECT_EQ(failure, std::nullopt);
    EXPECT_EQ(received, kTwoNames);
    EXPECT_TRUE(S_ISFIFO(statOf(f.path).st_mode));
    EXPECT_EQ(QDir(f.dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"results.txt"});
}

// A device node is written, never replaced: the full device fails every write with the
// system's own text for the error.
TEST(SaveInPlace, DeviceNodeIsWrittenNotReplaced)
{
    const QString full = QStringLiteral("/dev/full");
    struct stat before {};
    if (::stat("/dev/full", &before) != 0 || !S_ISCHR(before.st_mode))
        GTEST_SKIP() << "no /dev/full here";
    InPlaceFixture f;
    f.path = full;
    const std::optional<QString> failure = f.write(&f.progress);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(*failure, "Cannot write /dev/full: No space left on device");
    const struct stat after = statOf(full);
    EXPECT_TRUE(S_ISCHR(after.st_mode));
    EXPECT_EQ(after.st_rdev, before.st_rdev);
    EXPECT_EQ(after.st_ino, before.st_ino);
}

// A folder that takes no new file (no temporary file beside the target) with a file in
// it that may be written: the file is saved in place. Run as the superuser, the save
// reaches the files as an ordinary user who owns the file but not the folder.
TEST(SaveInPlace, WritableFileInAFolderThatTakesNoNewFiles)
{
    InPlaceFixture f;
    writeBytes(f.path, "old contents\r\n");
    const bool root = ::geteuid() == 0;
    if (root)
        ASSERT_EQ(::chown(QFile::encodeName(f.path).constData(), kNobody, kNobody), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(f.dir.path()).constData(), 0555), 0);
    std::optional<QString> failure;
    {
        std::optional<FileSystemUser> user;
        if (root)
            user.emplace(kNobody, kNobody);
        // The folder really refuses a new file to this user.
        EXPECT_FALSE(QFile(f.dir.filePath("probe")).open(QIODevice::WriteOnly));
        failure = f.write(&f.progress);
    }
    ::chmod(QFile::encodeName(f.dir.path()).constData(), 0755);
    EXPECT_EQ(failure, std::nullopt);
    EXPECT_EQ(readBytes(f.path), kTwoNames);
    EXPECT_EQ(folderEntries(f.dir.path()), QStringList{"results.txt"});
}

// An ordinary file is still replaced as a whole (a new file under its name), with the
// old file's mode, owner and group; another user's owner needs the superuser.
TEST(SaveReplace, OrdinaryFileIsReplacedKeepingModeOwnerAndGroup)
{
    InPlaceFixture f;
    writeBytes(f.path, "old contents\r\n");
    const bool root = ::geteuid() == 0;
    const uid_t owner = root ? kNobody : ::geteuid();
    const gid_t group = root ? kNobody : ::getegid();
    ASSERT_EQ(::chown(QFile::encodeName(f.path).constData(), owner, group), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(f.path).constData(), 0604), 0);
    const ino_t inode = statOf(f.path).st_ino;

    ASSERT_EQ(f.write(&f.progress), std::nullopt);
    const struct stat after = statOf(f.path);
    EXPECT_EQ(readBytes(f.path), kTwoNames);
    EXPECT_NE(after.st_ino, inode);
    EXPECT_EQ(after.st_mode & 07777, 0604u);
    EXPECT_EQ(after.st_uid, owner);
    EXPECT_EQ(after.st_gid, group);
    if (!root)
        GTEST_SKIP() << "another user's file needs the superuser; mode checked only";
}

} // namespace

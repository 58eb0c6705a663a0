#include "core/Failure.h"
#include "core/IniText.h"
#include "core/SettingsStore.h"
#include "support/Printers.h"
#include "support/ScriptedDesktop.h"
#include "support/FileSizeLimit.h"
#include "support/ConfigHome.h"
#include "support/Files.h"

#include <QDir>
#include <QSettings>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using orvella::core::IniSettingsStore;
using orvella::core::IniText;
using orvella::testing::ConfigHome;
using orvella::testing::readBytes;
using orvella::testing::writeBytes;

namespace {

QString fileText(const QString &path) { return QString::fromUtf8(readBytes(path)); }

// Stores in one process may share what they parsed; a file that changed on disk is
// read again. One more line end makes the next store read the text itself.
void changeOnDisk(const QString &path)
{
    QFile file(path);
    if (file.exists() && file.open(QIODevice::Append))
        file.write("\n");
}

// The permission bits of the file (mode_t(-1) when there is none).
mode_t modeOf(const QString &path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : mode_t(-1);
}


TEST(SettingsStore, LivesInTheUsersConfigFolderAsReadableText)
{
    IniSettingsStore store;
    const QString expected =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/Velmora/Orvella.ini";
    EXPECT_EQ(QFileInfo(store.fileName()).absoluteFilePath().toStdString(),
              QFileInfo(expected).absoluteFilePath().toStdString());

    store.write("Option2", "True");
    store.write("Remove Duplicates", "1");
    // On disk when write returns, in the section of the program.
    const QString text = fileText(store.fileName());
    EXPECT_TRUE(text.contains("[Orvella]")) << text.toStdString();
    EXPECT_TRUE(text.contains("Option2=True")) << text.toStdString();
    EXPECT_TRUE(text.contains("Remove%20Duplicates=1")) << text.toStdString();
}

// Every text, whatever its characters, is read back as written, under an ordinary key
// and as the suffix list; the files stay UTF-8 text with one value per line.
TEST(SettingsStore, TextsComeBackExactlyAndAbsentKeysGiveTheDefault)
{
    const QString texts[] = {
        "", " 5 ", "1,2", "a;b", "\"quoted\"", "@Variant(x)", "#comment", "=", "back\\slash", "Jürgen",
        "[Orvella]", "5\t", "a, b, c", "true", " ", "\t5", "x\ny\r\n", ";x", "@", "@@x", "@String(x)",
        "@Invalid()", "\\x41", "\\", "\"", QString(u'\x01') + "f", QString(QChar(0)) + "1", u"\x7F\x85\u2028"_qs,
        QString(QChar(0xD800)), QString(QChar(0xDC00)) + "x", "a" + QString(QChar(0xD83D)),
        QString(QChar(0xDE00)) + QString(QChar(0xD83D)), QString(QChar(0xFEFF)) + "Jr.",
        "Jr." + QString(QChar(0xFEFF)) + "1", QString(QChar(0xFFFE)) + QString(QChar(0xFFFF)), u"😀 Sr."_qs,
        "Jr.!!!TWINE!!!" + QString(QChar(0xFEFF)) + "Sr.!!!TWINE!!!" + QString(QChar(0xDBFF)) + "a"};
    const QString keys[] = {"Text1", QStringLiteral("SuffixList")};
    for (const QString &key : keys) {
        for (const QString &text : texts) {
            SCOPED_TRACE(key.toStdString() + " " + text.toUtf8().toHex().toStdString());
            IniSettingsStore writer;
            writer.write(key, text);
            changeOnDisk(writer.fileName());
            IniSettingsStore reader;
            EXPECT_TRUE(reader.contains(key));
            EXPECT_EQ(reader.read(key, "default"), text);
        }
    }
    IniSettingsStore store;
    for (const QString &path : {store.fileName()}) {
        const QByteArray bytes = readBytes(path);
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString decoded = utf8(bytes);
        EXPECT_FALSE(utf8.hasError()) << path.toStdString();
        EXPECT_FALSE(decoded.startsWith(QChar(0xFEFF)));
        for (const char c : bytes)
            EXPECT_TRUE(uchar(c) >= 0x20 || c == '\n') << int(c);
    }
    EXPECT_FALSE(store.contains("Never Written"));
    EXPECT_EQ(store.read("Never Written", "5"), "5");
}

TEST(SettingsStore, ReplacingAValueKeepsTheOthers)
{
    IniSettingsStore store;
    store.write("Check1", "1");
    store.write("Check2", "0");
    store.write("Check1", "0");
    IniSettingsStore again;
    EXPECT_EQ(again.read("Check1", "x"), "0");
    EXPECT_EQ(again.read("Check2", "x"), "0");
}

// Files written by QSettings read the same, and an ordinary value is written byte for
// byte as QSettings writes it.
TEST(SettingsStore, OrdinaryValuesKeepTheFormOfQSettings)
{
    QTemporaryDir dir;
    const QString values[] = {"True", "False", "0", "1", "5", "", " 5 ", "a;b", "1,2", "\"q\"", "@x",
                              "#c", "=", "b\\s", "Jürgen", "[O]", "5\t", "x\ny", QString(u'\x01') + "b",
                              QString(QChar(0)) + "1", u"😀"_qs, "Jr.!!!TWINE!!!Sr."};
    int n = 0;
    for (const QString &value : values) {
        SCOPED_TRACE(value.toUtf8().toHex().toStdString());
        // A file name of its own: QSettings in one process shares what it parsed.
        const QString path = dir.filePath(QString::number(n++) + ".ini");
        {
            QSettings settings(path, QSettings::IniFormat);
            settings.setValue("Orvella/Remove Duplicates", value);
        }
        const QByteArray written = readBytes(path);
        EXPECT_EQ(IniText(written).value(u"Orvella", u"Remove Duplicates"), value);
        IniText ours;
        ours.setValue(u"Orvella", u"Remove Duplicates", value);
        EXPECT_EQ(ours.bytes(), written);
    }
    // Hand-written line forms: a backslash that continues a line over its line break
    // (whichever of LF, CR LF, LF CR or CR it is), lines that end in a lone CR.
    const QByteArray texts[] = {"A=Jr.\\\n  Sr.\nB=2\n", "A=Jr.\\\r\n Sr.\r\nB=2\r\n", "A=Jr.\\\n\r Sr.\nB=2\n",
                                "A=Jr.\\\rSr.\rB=2\r", "A=a\\\n b\\\n\tc\nB=2\n", "A=a\\\nB=2\nC=3\n",
                                "A=a\\\n\nB=2\n", "A=a\\\\\nB=2\n", ";x\\\nA=1\nB=2\n", "A=1\rB=2\r\nC=3\n",
                                "A=1\n\rB=2\n", "A=\\\nB\\\n"};
    for (const QByteArray &lines : texts) {
        SCOPED_TRACE(lines.toStdString());
        const QString path = dir.filePath(QString::number(n++) + ".ini");
        writeBytes(path, "[Orvella]\n" + lines);
        QSettings settings(path, QSettings::IniFormat);
        const IniText ours(readBytes(path));
        for (const char *key : {"A", "B", "C"}) {
            const QVariant theirs = settings.value(QStringLiteral("Orvella/") + key);
            EXPECT_EQ(ours.value(u"Orvella", QString::fromLatin1(key)),
                      theirs.isValid() ? std::optional(theirs.toString()) : std::nullopt)
                << key;
        }
    }
}

// Lines a person edited stay as they are unless the program changes their key; the
// value of such a line is everything after its "=".
TEST(SettingsStore, HandEditedLinesStandAsTheyAre)
{
    ConfigHome home;
    const QByteArray edited = "; my choices\r\n"
                              "[Other]\n"
                              "x = 1 ; note\n"
                              "\n"
                              "[Orvella]\n"
                              "Text1= 5;6 \n"
                              "  Option1 = True\r\n"
                              "Option3=True\rOption4=False\r"
                              "SuffixList=Jr.!!!TWINE!!!\\\n  Sr.\n"
                              "Check1=1.0\n";
    writeBytes(home.settingsFile(), edited);
    IniSettingsStore store;
    EXPECT_EQ(store.read("Text1", "?"), " 5;6 ");
    EXPECT_EQ(store.read("Option1", "?"), " True");
    EXPECT_EQ(store.read("Option4", "?"), "False");
    EXPECT_EQ(store.read("SuffixList", "?"), "Jr.!!!TWINE!!!  Sr.");

    store.write("Remove Duplicates", "1");
    EXPECT_EQ(readBytes(home.settingsFile()), edited + "Remove%20Duplicates=1\n");
    store.write("Check1", "0");
    QByteArray expected = edited + "Remove%20Duplicates=1\n";
    expected.replace("Check1=1.0\n", "Check1=0\n");
    EXPECT_EQ(readBytes(home.settingsFile()), expected);
    EXPECT_EQ(IniSettingsStore().read("Text1", "?"), " 5;6 ");
    // A continued line goes as a whole when its key is written.
    store.write("SuffixList", "Jr.");
    expected.replace("SuffixList=Jr.!!!TWINE!!!\\\n  Sr.\n", "SuffixList=Jr.\n");
    EXPECT_EQ(readBytes(home.settingsFile()), expected);
}

// A long suffix list stays where it always was; writing an option beside it changes
// that option's line only and leaves the list's line as it stands.
TEST(SettingsStore, AnOptionWriteLeavesALongSuffixListAsItStands)
{
    ConfigHome home;
    const QString key = QStringLiteral("SuffixList");
    const QString list = QStringList(100000, QStringLiteral("Ph.D.")).join(QStringLiteral("!!!TWINE!!!"));
    IniSettingsStore store;
    store.write("Option1", "True");
    store.write(key, list);
    const QByteArray before = readBytes(home.settingsFile());
    EXPECT_TRUE(before.startsWith("[Orvella]\nOption1=True\nSuffixList=Ph.D.!!!TWINE!!!Ph.D."));
    EXPECT_EQ(IniSettingsStore().read(key, "?"), list);

    store.write("Option1", "False");
    QByteArray expected = before;
    expected.replace("Option1=True", "Option1=False");
    EXPECT_EQ(readBytes(home.settingsFile()), expected);
}

// A write that cannot be done leaves the file as it was, mode included, and fails:
// a write-protected file (no write bit, which protects it from root as well) and a disk
// that takes only part of the new text (a file-size limit above what the lock file
// needs, below the new text, which fits in QSaveFile's buffer).
TEST(SettingsStore, AWriteThatCannotBeDoneLeavesTheFileAsItWas)
{
    const QByteArray before = "[Orvella]\nOption1=True\n";
    const QString longText(2000, u'x');
    for (const bool fileSizeLimit : {false, true}) {
        SCOPED_TRACE(fileSizeLimit ? "file-size limit" : "write-protected");
        ConfigHome home;
        writeBytes(home.settingsFile(), before);
        const mode_t mode = fileSizeLimit ? 0644 : 0444;
        ASSERT_EQ(::chmod(QFile::encodeName(home.settingsFile()).constData(), mode), 0);
        IniSettingsStore store;
        if (fileSizeLimit) {
            orvella::testing::FileSizeLimit full(512);
            if (!full.set())
                GTEST_SKIP() << "no file-size limit can be set here";
            EXPECT_THROW(store.write("Text1", longText), orvella::core::Failure);
        } else {
            EXPECT_THROW(store.write("Text1", longText), orvella::core::Failure);
        }
        EXPECT_EQ(readBytes(home.settingsFile()), before);
        EXPECT_EQ(modeOf(home.settingsFile()), mode);
        EXPECT_EQ(orvella::testing::folderEntries(home.folder()), QStringList{"Orvella.ini"});
    }
}

// The file that replaces the settings file has its mode and, when root writes it, its
// owner and group.
TEST(SettingsStore, TheReplacedFileKeepsModeOwnerAndGroup)
{
    ConfigHome home;
    writeBytes(home.settingsFile(), "[Orvella]\nOption1=True\n");
    const QByteArray path = QFile::encodeName(home.settingsFile());
    ASSERT_EQ(::chmod(path.constData(), 0640), 0);
    const bool root = ::geteuid() == 0;
    if (root)
        ASSERT_EQ(::chown(path.constData(), 65534, 65534), 0);
    IniSettingsStore().write("Option1", "False");
    EXPECT_EQ(modeOf(home.settingsFile()), mode_t(0640));
    struct stat after {};
    ASSERT_EQ(::stat(path.constData(), &after), 0);
    if (root) {
        EXPECT_EQ(after.st_uid, 65534u);
        EXPECT_EQ(after.st_gid, 65534u);
    }
    EXPECT_EQ(readBytes(home.settingsFile()), "[Orvella]\nOption1=False\n");
}

// A settings file with a second name (a hard link) is written in place: both names
// see the new text, and a write the disk takes only part of leaves both with the old.
TEST(SettingsStore, AHardLinkedFileStaysOneFileWithAWholeText)
{
    ConfigHome home;
    const QByteArray before = "[Orvella]\nOption1=True\n";
    writeBytes(home.settingsFile(), before);
    const QString other = home.folder() + "/linked.ini";
    ASSERT_EQ(::link(QFile::encodeName(home.settingsFile()).constData(), QFile::encodeName(other).constData()), 0);
    IniSettingsStore store;
    {
        orvella::testing::FileSizeLimit full(512);
        if (!full.set())
            GTEST_SKIP() << "no file-size limit can be set here";
        EXPECT_THROW(store.write("Text1", QString(2000, u'x')), orvella::core::Failure);
    }
    EXPECT_EQ(readBytes(home.settingsFile()), before);
    EXPECT_EQ(readBytes(other), before);

    store.write("Option1", "False");
    EXPECT_EQ(readBytes(other), "[Orvella]\nOption1=False\n");
    struct stat after {};
    ASSERT_EQ(::stat(QFile::encodeName(home.settingsFile()).constData(), &after), 0);
    EXPECT_EQ(after.st_nlink, 2u);
}

// Another copy of the program holds the lock. The write waits for it, letting the
// window go on; clicks meanwhile write their keys too, in the order they came, and a
// lock that is never had fails the write and leaves the file alone.
TEST(SettingsStore, AWriteWaitsForTheLockAndTakesAlongWritesMadeMeanwhile)
{
    for (const bool released : {true, false}) {
        SCOPED_TRACE(released ? "released" : "never released");
        ConfigHome home;
        IniSettingsStore store;
        store.write("Option1", "True");
        const QByteArray before = readBytes(home.settingsFile());
        QLockFile otherCopy(home.settingsFile() + ".lock");
        ASSERT_TRUE(otherCopy.tryLock(0));
        int yields = 0;
        store.setLockWait(
            [&] {
                ++yields;
                if (yields == 1) {
                    store.write("Text1", "7");
                    store.write("Check1", "1");
                    EXPECT_EQ(store.read("Text1", "?"), "7");
                } else if (yields == 2) {
                    store.write("Text1", "8");
                } else if (yields == 3 && released) {
                    otherCopy.unlock();
                }
            },
            released ? std::chrono::minutes(10) : std::chrono::milliseconds(100));
        if (released) {
            store.write("Option1", "False");
            EXPECT_EQ(readBytes(home.settingsFile()), "[Orvella]\nOption1=False\nText1=8\nCheck1=1\n");
        } else {
            EXPECT_THROW(store.write("Option1", "False"), orvella::core::Failure);
            EXPECT_EQ(readBytes(home.settingsFile()), before);
        }
        EXPECT_GE(yields, 3);
    }
}

} // namespace

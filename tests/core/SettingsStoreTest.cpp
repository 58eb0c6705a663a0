#include "app/MainWindow.h"
#include "core/SettingsStore.h"
#include "support/Controls.h"
#include "support/Printers.h"
#include "support/ScriptedDesktop.h"

#include <QCheckBox>
#include <QDir>
#include <QRadioButton>

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <gtest/gtest.h>

using orvella::core::QSettingsStore;
using orvella::testing::control;

namespace {

QString fileText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// Stores in one process share their parsed file; a file that changed on disk is read
// again. One more line end makes the next store parse the text itself.
void changeOnDisk(const QString &path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("\n");
}

TEST(SettingsStore, LivesInTheUsersConfigFolderAsReadableText)
{
    QSettingsStore store;
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

TEST(SettingsStore, TextsComeBackExactlyAndAbsentKeysGiveTheDefault)
{
    const QString texts[] = {"",         " 5 ",      "1,2",       "a;b",   "\"quoted\"", "@Variant(x)",
                             "#comment", "=",        "back\\slash", "Jürgen", "[Orvella]", "5\t",
                             "a, b, c",  "true"};
    for (const QString &text : texts) {
        SCOPED_TRACE(text.toStdString());
        {
            QSettingsStore writer;
            writer.write("Text1", text);
            changeOnDisk(writer.fileName());
        }
        QSettingsStore reader;
        EXPECT_TRUE(reader.contains("Text1"));
        EXPECT_EQ(reader.read("Text1", "default"), text);
    }
    QSettingsStore store;
    EXPECT_FALSE(store.contains("Never Written"));
    EXPECT_EQ(store.read("Never Written", "5"), "5");
}

TEST(SettingsStore, ReplacingAValueKeepsTheOthers)
{
    QSettingsStore store;
    store.write("Check1", "1");
    store.write("Check2", "0");
    store.write("Check1", "0");
    QSettingsStore again;
    EXPECT_EQ(again.read("Check1", "x"), "0");
    EXPECT_EQ(again.read("Check2", "x"), "0");
}

} // namespace

namespace {

// A settings file cut short by a crash or overwritten with binary junk: the program
// starts with whatever it can read and goes on storing new clicks.
TEST(SettingsStore, DamagedFileStartsTheWindowAndIsWrittenAgain)
{
    const QByteArray damaged[] = {
        QByteArray("[Orvella]\nOption1=False\nOption2=Tr"),           // cut in the middle of a value
        QByteArray("[Orv"),                                             // cut in the section name
        QByteArray("\x00\xFF\xFE\x01[Orvella]\n\x00=\x00\n", 16),     // binary
        QByteArray("[Orvella]\nCheck2=\xC3\x28\nText1=\xFF\xFE\n"),    // invalid UTF-8
    };
    for (const QByteArray &bytes : damaged) {
        QString path;
        {
            QSettingsStore probe;
            path = probe.fileName();
        }
        QFileInfo(path).dir().mkpath(".");
        {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(bytes);
        }
        QSettingsStore store;
        orvella::testing::ScriptedDesktop desktop;
        orvella::app::MainWindow window(desktop, store);
        window.Form_Load(QStringLiteral("/nonexistent"));
        // One reading is selected in each group, whatever the file held.
        EXPECT_NE(control<QRadioButton>(window, "Option1")->isChecked(),
                  control<QRadioButton>(window, "Option2")->isChecked());
        EXPECT_NE(control<QRadioButton>(window, "Option3")->isChecked(),
                  control<QRadioButton>(window, "Option4")->isChecked());
        control<QCheckBox>(window, "Check5")->click();
        changeOnDisk(path);
        QSettingsStore reader;
        EXPECT_EQ(reader.read("Remove Duplicates", "?"), control<QCheckBox>(window, "Check5")->isChecked() ? "1" : "0");
    }
}

} // namespace

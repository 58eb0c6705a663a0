// The real settings file under the window: damaged files and writes that fail.

#include "app/MainWindow.h"
#include "ui/support/Controls.h"
#include "core/Failure.h"
#include "core/SettingsStore.h"
#include "session/Session.h"
#include "support/ConfigHome.h"
#include "support/Files.h"
#include "support/ScriptedDesktop.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QSettings>

#include <gtest/gtest.h>

using orvella::core::IniSettingsStore;
using orvella::testing::ConfigHome;
using orvella::testing::control;
using orvella::testing::readBytes;
using orvella::testing::writeBytes;

namespace {

// A settings file with a damaged line, cut short or with bytes that are not UTF-8: the
// window starts without a report and with every value the file still holds, and the
// next write leaves a file that QSettings reads cleanly.
TEST(SettingsStore, DamagedFileStartsTheWindowQuietlyAndIsWrittenClean)
{
    const QByteArray values = "Option2=True\nOption1=False\nText1=7\n";
    const std::pair<const char *, QByteArray> damaged[] = {
        {"junk line", "[Orvella]\nOption2=True\njunk line\nOption1=False\nText1=7\n"},
        {"cut section header", "[Orvella]\n" + values + "[Orv"},
        {"byte-order mark", "\xEF\xBB\xBF[Orvella]\n" + values},
        {"binary junk", "[Orvella]\n" + values + QByteArray("\x00\xFF\xFE\x01junk\n", 9)},
        {"cut in a value", "[Orvella]\n" + values + "Check1=1."},
        {"invalid UTF-8", "[Orvella]\n" + values + "Check2=\xC3\x28\n"},
    };
    for (const auto &[what, bytes] : damaged) {
        SCOPED_TRACE(what);
        ConfigHome home;
        writeBytes(home.settingsFile(), bytes);
        IniSettingsStore store;
        orvella::testing::ScriptedDesktop desktop;
        orvella::session::Session session(desktop, store);
        orvella::app::MainWindow window(session);
        window.Form_Load(QStringLiteral("/nonexistent"));
        EXPECT_TRUE(control<QRadioButton>(window, "Option2")->isChecked());
        EXPECT_EQ(control<QLineEdit>(window, "Text1")->text(), "7");
        control<QCheckBox>(window, "Check5")->click();
        EXPECT_TRUE(desktop.errorReports().empty()) << desktop.messageTexts().join("\n").toStdString();

        const QByteArray written = readBytes(home.settingsFile());
        EXPECT_FALSE(written.startsWith("\xEF\xBB\xBF"));
        EXPECT_FALSE(written.contains("junk"));
        QSettings check(home.settingsFile(), QSettings::IniFormat);
        EXPECT_EQ(check.value("Orvella/Remove Duplicates").toString(), "1");
        EXPECT_EQ(check.value("Orvella/Option2").toString(), "True");
        EXPECT_EQ(check.value("Orvella/Text1").toString(), "7");
        EXPECT_EQ(check.status(), QSettings::NoError);
    }
}

// The settings folder cannot be made (a file stands in its place, which holds for root
// too): that click is reported, and the click after the cause is gone is not.
TEST(SettingsStore, OnlyAWriteThatFailsIsReported)
{
    ConfigHome home;
    IniSettingsStore store;
    orvella::testing::ScriptedDesktop desktop;
    orvella::session::Session session(desktop, store);
    orvella::app::MainWindow window(session);
    window.Form_Load(QStringLiteral("/nonexistent"));
    control<QCheckBox>(window, "Check5")->click();
    ASSERT_TRUE(desktop.errorReports().empty());

    ASSERT_TRUE(QDir(home.folder()).removeRecursively());
    writeBytes(home.folder(), "not a folder");
    control<QCheckBox>(window, "Check5")->click();
    ASSERT_EQ(desktop.errorReports().size(), 1u);
    EXPECT_TRUE(desktop.errorReports()[0].text.contains("could not be written"));
    EXPECT_THROW(store.write(QStringLiteral("SuffixList"), "Jr."), orvella::core::Failure);

    ASSERT_TRUE(QFile::remove(home.folder()));
    control<QCheckBox>(window, "Check5")->click();
    EXPECT_EQ(desktop.errorReports().size(), 1u);
    EXPECT_EQ(IniSettingsStore().read("Remove Duplicates", "?"), control<QCheckBox>(window, "Check5")->isChecked() ? "1" : "0");
}

} // namespace

// "orvella --sort" against the window: for every combination of the option buttons, the
// reading choices and the filters, the command's results are the window's result list.

#include "app/MainWindow.h"
#include "ui/support/Controls.h"
#include "app/support/WindowFixtures.h"
#include "cli/SortRun.h"
#include "lists/NameListModel.h"
#include "support/Files.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvella;
using namespace orvella::testing;

namespace {

// Names that each choice files differently: suffixes, particles, "Last, First" lines,
// duplicates, letter case, accents, one-word names, titles, nicknames, Chinese script,
// and last names learnt beside names' own suffixes and titles.
const QStringList kNames = {
    "John Smith Jr.", "Ann Lee", "ann lee", "Ann Lee", "Oscar de la Hoya", "Ludwig van Beethoven",
    "Beethoven, Ludwig van", "Smith, Anna", "Bo Kim III", "Émile Zola", "Zoe Adams", "Cher", "Mary Ann Smith",
    "Al Green Sr.", "Vincent van Gogh", "van Gogh, Theo", "Ann Lee Ph.D.", "Tom Ray", "Tom Ray", "Ray, Tom",
    "Dr. Zoe Adams", "Robert (Bob) Ray Jr. Esq.", "\u738b\u5c0f\u660e", "Lee Ann", "\u738b \u5c0f\u660e",
    "Zoe  Adams ", "Hemingway III, Ernest", "Ernest Hemingway Jr.", "Ernest Hemingway", "Vonnegut, Kurt, Jr.",
    "Kurt Vonnegut Sr.", "Dame Agatha Christie", "Christie, Agatha", "Se\u00e1n \u00d3 Briain",
};

struct Choices {
    const char *reading; // "last-word", "skip-suffixes" or "first-word"
    bool alphabetical;
    bool lastCommaFirst;
    bool particles;
    bool extras; // titles and nicknames stepped over, family name first, last names learnt
    const char *filter; // "", "--remove-duplicates", "--unique-last-names", "--per-last-name 1"
};

// Sets the choices through the window's controls and menus, as a user would.
void chooseInWindow(app::MainWindow &w, const Choices &c)
{
    const QString reading = QLatin1String(c.reading);
    control<QRadioButton>(w, reading == "first-word" ? "Option2" : "Option1")->click();
    if (reading != "first-word")
        control<QRadioButton>(w, reading == "skip-suffixes" ? "Option3" : "Option4")->click();
    const app::MainMenus &menus = w.menus();
    (c.alphabetical ? menus.alphabeticalOrder : menus.exactOrder)->trigger();
    for (auto [action, on] : {std::pair{menus.lastCommaFirst, c.lastCommaFirst}, std::pair{menus.keepParticles, c.particles},
                              std::pair{menus.stepOverExtras, c.extras}, std::pair{menus.familyNameFirst, c.extras},
                              std::pair{menus.learnLastNames, c.extras}})
        if (action->isChecked() != on)
            action->trigger();
    const QString filter = QLatin1String(c.filter);
    if (filter == "--remove-duplicates")
        control<QCheckBox>(w, "Check5")->click();
    if (filter == "--unique-last-names")
        control<QCheckBox>(w, "Check1")->click();
    if (filter.startsWith("--per-last-name")) {
        control<QCheckBox>(w, "Check2")->click();
        control<QLineEdit>(w, "Text1")->setText(filter.section(QLatin1Char(' '), 1));
    }
}

QList<QByteArray> flagsFor(const Choices &c)
{
    QList<QByteArray> flags{"--defaults", "--reading", c.reading, "--order", c.alphabetical ? "alphabetical" : "exact",
                            c.lastCommaFirst ? "--last-comma-first" : "--no-last-comma-first",
                            c.particles ? "--particles" : "--no-particles",
                            c.extras ? "--step-over-extras" : "--no-step-over-extras",
                            c.extras ? "--family-name-first" : "--no-family-name-first",
                            c.extras ? "--learn-last-names" : "--no-learn-last-names"};
    for (const QByteArray &word : QByteArray(c.filter).split(' '))
        if (!word.isEmpty())
            flags << word;
    return flags;
}

TEST(SortCommandLine, GivesTheWindowsResultsForEveryCombinationOfChoices)
{
    QTemporaryDir dir;
    const QString names = dir.filePath("names.txt");
    writeBytes(names, (kNames.join("\n") + "\n").toUtf8());
    const QString output = dir.filePath("sorted.txt");
    MemorySettings noStoredChoices;
    int compared = 0;
    for (const char *reading : {"last-word", "skip-suffixes", "first-word"})
    for (const bool alphabetical : {false, true})
    for (const bool lastCommaFirst : {false, true})
    for (const bool particles : {false, true})
    for (const bool extras : {false, true})
    for (const char *filter : {"", "--remove-duplicates", "--unique-last-names", "--per-last-name 1"}) {
        const Choices c{reading, alphabetical, lastCommaFirst, particles, extras, filter};
        SCOPED_TRACE(QByteArray(flagsFor(c).join(' ')).toStdString());
        MainWindowFixture f;
        chooseInWindow(*f.window, c);
        f.fillInput(kNames);
        control<QPushButton>(*f.window, "PushButton17")->click();
        MainWindowFixture::processEvents(); // the rows reach the model's readers

        ASSERT_EQ(cli::runSort(flagsFor(c) + QList<QByteArray>{"-o", QFile::encodeName(output), QFile::encodeName(names)},
                               noStoredChoices, QStringLiteral("test")),
                  0);
        EXPECT_EQ(QString::fromUtf8(readBytes(output)), f.results().join("\n") + "\n");

        // --explain: each result's two parts are those of the window's tooltip for its row.
        ASSERT_EQ(cli::runSort(flagsFor(c) + QList<QByteArray>{"--explain", "-o", QFile::encodeName(output),
                                                               QFile::encodeName(names)},
                               noStoredChoices, QStringLiteral("test")),
                  0);
        const QStringList lines = QString::fromUtf8(readBytes(output)).split("\n", Qt::SkipEmptyParts);
        const lists::NameListModel &results = f.session->resultList();
        ASSERT_EQ(lines.size(), results.count());
        for (int row = 0; row < lines.size(); ++row) {
            const QStringList parts = lines[row].split("\t");
            ASSERT_EQ(parts.size(), c.extras ? 4 : 3) << lines[row].toStdString();
            EXPECT_EQ(parts[0], results.itemView(row + 1).toString());
            const QString then = parts[2].isEmpty() ? QString() : ", then: " + parts[2];
            const QString stepped = parts.size() < 4 || parts[3].isEmpty() ? QString() : ", stepped over: " + parts[3];
            EXPECT_EQ("Sorted under: " + parts[1] + then + stepped,
                      results.data(results.index(row), Qt::ToolTipRole).toString());
        }
        ++compared;
    }
    EXPECT_EQ(compared, 192);
}

} // namespace

#include "app/MainMenus.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace orvella::app {

namespace {
QAction *addAction(QMenu *menu, const char *name, const QString &text, bool checkable)
{
    QAction *action = menu->addAction(text);
    action->setObjectName(QLatin1String(name));
    action->setCheckable(checkable);
    return action;
}
} // namespace

MainMenus buildMainMenus(QWidget *window)
{
    MainMenus m;
    m.bar = new QMenuBar(window);
    m.bar->setObjectName(QStringLiteral("MenuBar"));
    // In the window on every desktop: the window's height is its client area plus this bar.
    m.bar->setNativeMenuBar(false);

    QMenu *file = m.bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    m.exportResults = addAction(file, "mnuExportResults", QStringLiteral("&Export Results\u2026"), false);
    m.exportResults->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    m.printResults = addAction(file, "mnuPrintResults", QStringLiteral("&Print Results\u2026"), false);
    m.printResults->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    m.forgetColumns = addAction(file, "mnuForgetColumns", QStringLiteral("&Forget Remembered Columns"), false);
    file->addSeparator();
    m.exit = addAction(file, "mnuExit", QStringLiteral("E&xit"), false);
    m.exit->setShortcuts(QKeySequence::Quit);

    QMenu *edit = m.bar->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    m.undo = addAction(edit, "mnuUndo", QStringLiteral("&Undo"), false);
    m.undo->setShortcuts(QKeySequence::Undo);
    m.redo = addAction(edit, "mnuRedo", QStringLiteral("&Redo"), false);
    // The desktop's own keys for Redo, and Ctrl+Y where they do not include it.
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    if (!redoKeys.contains(QKeySequence(Qt::CTRL | Qt::Key_Y)))
        redoKeys << QKeySequence(Qt::CTRL | Qt::Key_Y);
    m.redo->setShortcuts(redoKeys);
    edit->addSeparator();
    m.findDuplicates = addAction(edit, "mnuFindDuplicates", QStringLiteral("Find &Likely Duplicates\u2026"), false);

    QMenu *order = m.bar->addMenu(QStringLiteral("&Order"));
    order->setObjectName(QStringLiteral("mnuOrder"));
    m.order = new QActionGroup(order);
    m.exactOrder = addAction(order, "mnuExactOrder", QStringLiteral("&Exact (character codes)"), true);
    m.alphabeticalOrder = addAction(order, "mnuAlphabeticalOrder", QStringLiteral("&Alphabetical (language-aware)"), true);
    m.order->addAction(m.exactOrder);
    m.order->addAction(m.alphabeticalOrder);
    m.exactOrder->setChecked(true);
    order->addSeparator();
    m.groupByColumn = addAction(order, "mnuGroupByColumn", QStringLiteral("&Group By Column\u2026"), false);
    m.groupByColumn->setEnabled(false);

    QMenu *reading = m.bar->addMenu(QStringLiteral("&Reading"));
    reading->setObjectName(QStringLiteral("mnuReading"));
    m.lastCommaFirst = addAction(reading, "mnuLastCommaFirst", QStringLiteral("Read \u201cLast, &First\u201d lines"), true);
    m.keepParticles = addAction(reading, "mnuKeepParticles", QStringLiteral("&Keep particles with the last name"), true);
    m.stepOverExtras =
        addAction(reading, "mnuStepOverExtras", QStringLiteral("&Step over titles, nicknames and extra suffixes"), true);
    m.familyNameFirst = addAction(reading, "mnuFamilyNameFirst",
                                  QStringLiteral("Family &name first for Chinese, Japanese and Korean script"), true);
    m.learnLastNames =
        addAction(reading, "mnuLearnLastNames", QStringLiteral("&Learn last names from \u201cLast, First\u201d lines"), true);
    m.twoFamilyNames =
        addAction(reading, "mnuTwoFamilyNames", QStringLiteral("T&wo family names (Spanish and Portuguese)"), true);
    reading->addSeparator();
    m.editParticles = addAction(reading, "mnuEditParticles", QStringLiteral("&Edit Particle List\u2026"), false);
    m.editTitles = addAction(reading, "mnuEditTitles", QStringLiteral("Edit &Title List\u2026"), false);
    m.editDesignations =
        addAction(reading, "mnuEditDesignations", QStringLiteral("Edit &Designation List\u2026"), false);
    m.editNicknames = addAction(reading, "mnuEditNicknames", QStringLiteral("Edit N&ickname List\u2026"), false);
    m.editFiledAs = addAction(reading, "mnuEditFiledAs", QStringLiteral("Edit Filed-&As List\u2026"), false);

    QMenu *help = m.bar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    m.helpContents = addAction(help, "mnuHelpContents", QStringLiteral("&Orvella Help"), false);
    m.helpContents->setShortcuts(QKeySequence::HelpContents);
    m.whyHere = addAction(help, "mnuWhyHere", QStringLiteral("&Why Here?"), false);
    // Shift+F1 whatever the platform calls "What's This?".
    QList<QKeySequence> whyKeys = QKeySequence::keyBindings(QKeySequence::WhatsThis);
    if (!whyKeys.contains(QKeySequence(Qt::SHIFT | Qt::Key_F1)))
        whyKeys.append(QKeySequence(Qt::SHIFT | Qt::Key_F1));
    m.whyHere->setShortcuts(whyKeys);
    help->addSeparator();
    m.howNamesAreRead = addAction(help, "mnuHowNamesAreRead", QStringLiteral("&How Names Are Read\u2026"), false);
    m.contactSupport = addAction(help, "mnuContactSupport", QStringLiteral("&Contact Support"), false);
    return m;
}

} // namespace orvella::app

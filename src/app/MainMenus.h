#pragma once

class QAction;
class QActionGroup;
class QMenuBar;
class QWidget;

namespace orvella::app {

// The main window's menu bar: File, Edit, Order, Reading and Help. The actions carry
// object names (mnuExportResults, mnuPrintResults, mnuForgetColumns, mnuExit, mnuUndo, mnuRedo, mnuFindDuplicates, mnuExactOrder, mnuAlphabeticalOrder, mnuGroupByColumn, mnuLastCommaFirst,
// mnuKeepParticles, mnuStepOverExtras, mnuFamilyNameFirst, mnuLearnLastNames,
// mnuTwoFamilyNames, mnuEditParticles, mnuEditTitles, mnuEditDesignations, mnuEditNicknames, mnuEditFiledAs, mnuHelpContents, mnuWhyHere, mnuHowNamesAreRead,
// mnuContactSupport) so that tests find them.
struct MainMenus {
    QMenuBar *bar = nullptr;
    QAction *exportResults = nullptr;
    QAction *printResults = nullptr;
    QAction *forgetColumns = nullptr;
    QAction *exit = nullptr;
    QAction *undo = nullptr;
    QAction *redo = nullptr;
    QAction *findDuplicates = nullptr;
    QActionGroup *order = nullptr;
    QAction *exactOrder = nullptr;
    QAction *alphabeticalOrder = nullptr;
    QAction *groupByColumn = nullptr; // available while the input holds table rows
    QAction *lastCommaFirst = nullptr;
    QAction *keepParticles = nullptr;
    QAction *stepOverExtras = nullptr;
    QAction *familyNameFirst = nullptr;
    QAction *learnLastNames = nullptr;
    QAction *twoFamilyNames = nullptr;
    QAction *editParticles = nullptr;
    QAction *editTitles = nullptr;
    QAction *editDesignations = nullptr;
    QAction *editNicknames = nullptr;
    QAction *editFiledAs = nullptr;
    QAction *helpContents = nullptr; // F1
    QAction *whyHere = nullptr;      // Shift+F1
    QAction *howNamesAreRead = nullptr;
    QAction *contactSupport = nullptr;
};

// Builds the menu bar as a child of the window; the caller puts it above the client area.
MainMenus buildMainMenus(QWidget *window);

} // namespace orvella::app

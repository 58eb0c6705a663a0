#pragma once

class QAction;
class QActionGroup;
class QMenuBar;
class QWidget;

namespace orvella::app {

// The main window's menu bar: Order, Reading and Help. The actions carry object names
// (mnuExactOrder, mnuAlphabeticalOrder, mnuLastCommaFirst, mnuKeepParticles,
// mnuEditParticles, mnuHelpContents, mnuWhyHere, mnuHowNamesAreRead, mnuContactSupport) so
// that tests find them.
struct MainMenus {
    QMenuBar *bar = nullptr;
    QActionGroup *order = nullptr;
    QAction *exactOrder = nullptr;
    QAction *alphabeticalOrder = nullptr;
    QAction *lastCommaFirst = nullptr;
    QAction *keepParticles = nullptr;
    QAction *editParticles = nullptr;
    QAction *helpContents = nullptr; // F1
    QAction *whyHere = nullptr;      // Shift+F1
    QAction *howNamesAreRead = nullptr;
    QAction *contactSupport = nullptr;
};

// Builds the menu bar as a child of the window; the caller puts it above the client area.
MainMenus buildMainMenus(QWidget *window);

} // namespace orvella::app

#include "app/FileSizeSignal.h"
#include "app/MainWindow.h"
#include "app/MemoryTuning.h"
#include "app/QtDesktop.h"
#include "core/SettingsStore.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    orvella::app::tuneAllocatorForLargeLists();
    orvella::app::ignoreFileSizeSignal();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvella"));
    QApplication::setOrganizationName(QStringLiteral("Velmora"));
    // Lets the desktop match the window to the installed orvella.desktop and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("orvella"));

    orvella::app::QtDesktop desktop;
    orvella::core::IniSettingsStore settings;
    orvella::app::MainWindow window(desktop, settings);
    window.Form_Load();
    window.show();
    return application.exec();
}

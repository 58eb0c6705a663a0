#pragma once

#include "app/MainWindow.h"
#include "support/CommandFixture.h"
#include "support/MemorySettings.h"
#include "support/ScriptedDesktop.h"

#include <QCoreApplication>
#include <QStringList>
#include <memory>

namespace orvella::testing {

// The real main window over the scripted desktop and an in-memory store.
struct MainWindowFixture {
    ScriptedDesktop desktop;
    MemorySettings settings;
    std::unique_ptr<session::Session> session;
    std::unique_ptr<app::MainWindow> window;

    MainWindowFixture();
    void fillInput(const QStringList &names);
    QStringList results() const;
    // Lets queued view updates and signals run.
    static void processEvents();
};

} // namespace orvella::testing

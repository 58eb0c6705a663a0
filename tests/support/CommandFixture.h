#pragma once

#include "commands/CommandContext.h"
#include "core/PointerState.h"
#include "core/ProgressState.h"
#include "lists/NameListModel.h"
#include "support/MemorySettings.h"
#include "support/ScriptedDesktop.h"

#include <QStringList>

namespace orvella::testing {

// What the main window's commands work on, without the window: the two lists, the
// progress and pointer states, the scripted desktop and an in-memory store, joined in
// a context as the window joins them. Pointer changes reach the desktop as the
// window passes them on.
struct CommandFixture {
    // Over a desktop double of the test's own when one is given.
    explicit CommandFixture(ScriptedDesktop *desktopDouble = nullptr);

private:
    ScriptedDesktop m_ownDesktop;

public:
    ScriptedDesktop &desktop;
    MemorySettings settings;
    lists::NameListModel inputList{QStringLiteral(" Name(s)")};
    lists::NameListModel resultList{QStringLiteral("Result(s)")};
    core::ProgressState progress;
    core::PointerState pointer;
    commands::CommandContext context;

    void fillInput(const QStringList &names);
    QStringList results() const;
    void busy(bool on) { pointer.set(on ? core::Pointer::Busy : core::Pointer::Default); }
};

QStringList itemsOf(const lists::NameListModel &list);

} // namespace orvella::testing

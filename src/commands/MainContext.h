#pragma once

#include <QString>
#include <functional>

namespace orvella::core {
class Desktop;
class PointerState;
class ProgressState;
class SettingsStore;
} // namespace orvella::core
namespace orvella::lists {
class NameListModel;
} // namespace orvella::lists

namespace orvella::commands {

// What the main window's commands work on. The window owns every part; the command
// classes of each subsystem hold a reference to this and need no widgets.
struct MainContext {
    core::Desktop &desktop;
    core::SettingsStore &settings;
    lists::NameListModel &input;   // ListView1, " Name(s)"
    lists::NameListModel &results; // ListView2, "Result(s)"
    core::ProgressState &progress;       // ProgressBar1
    core::PointerState &pointer;         // the main window's pointer
    QString title;                 // application title for boxes without their own
    // Hears what a command has just done ("Saved 12 results to names.txt"), for the
    // window's status line. Unset, nobody listens.
    std::function<void(const QString &)> noteDone;

    void tellDone(const QString &what) const
    {
        if (noteDone)
            noteDone(what);
    }
};

} // namespace orvella::commands

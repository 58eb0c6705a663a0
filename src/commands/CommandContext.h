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

class PaperOutput;

// What the commands work on: the parts of one run of the program, which the session
// owns and lends to every command. No widgets: a window shows the lists, the progress
// and the pointer, and forwards its events to the commands.
struct CommandContext {
    core::Desktop &desktop;
    core::SettingsStore &settings;
    lists::NameListModel &input;   // the names to sort (" Name(s)")
    lists::NameListModel &results; // the sorted names ("Result(s)")
    core::ProgressState &progress;
    core::PointerState &pointer;   // busy while a command runs
    QString title;                 // application title for boxes without their own
    // Hears what a command has just done ("Saved 12 results to names.txt"), for the
    // window's status line. Unset, nobody listens.
    std::function<void(const QString &)> noteDone;
    // Lays results out on pages (printing and PDF documents); none where the program has
    // no fonts and painter to offer, and then nothing is printed.
    PaperOutput *paper = nullptr;

    void tellDone(const QString &what) const
    {
        if (noteDone)
            noteDone(what);
    }
};

} // namespace orvella::commands

#pragma once

#include <QString>

namespace orvella::lists {
class NameListModel;
}

namespace orvella::core {

class Desktop;
class PointerState;
class ProgressState;
class SettingsStore;

// What the main window's commands work on. The window owns every part; the command
// classes of each subsystem hold a reference to this and need no widgets.
struct MainContext {
    Desktop &desktop;
    SettingsStore &settings;
    lists::NameListModel &input;   // ListView1, " Name(s)"
    lists::NameListModel &results; // ListView2, "Result(s)"
    ProgressState &progress;       // ProgressBar1
    PointerState &pointer;         // the main window's pointer
    QString title;                 // application title for boxes without their own
};

} // namespace orvella::core

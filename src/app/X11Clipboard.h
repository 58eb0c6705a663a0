#pragma once

#include <QByteArray>

namespace orvella::app {

// The clipboard as the X11 window system keeps it, where Qt's clipboard gives too little
// control. Every function does nothing (or answers Unknown) on another window system.

// Text this program put on the clipboard is served by the program itself and would go
// with it. On an X11 desktop with a clipboard manager, this asks the manager to take a
// copy first (the freedesktop CLIPBOARD_MANAGER / SAVE_TARGETS handover) and lets the
// program answer the manager's requests until it says it is done, or waitMs has passed.
// Does nothing when the program does not own the clipboard or nobody manages it.
void handClipboardToManager(int waitMs);

// Who holds the clipboard, as the X server says now.
enum class ClipboardHolder { Unknown, ThisProgram, OtherProgram, Nobody };
ClipboardHolder clipboardHolder();

// The clipboard's text as its owner gives it (UTF-8), asked directly and waited for at
// most waitMs, where Qt would wait its own, longer time for each format it asks about.
struct ClipboardReading {
    enum Outcome {
        Text,     // the owner answered: utf8 holds its text (empty when it has none)
        NoAnswer, // the owner did not answer in time
        Unknown,  // no X11, or an answer too large to be sent at once
    } outcome;
    QByteArray utf8;
};
ClipboardReading readClipboardText(int waitMs);

} // namespace orvella::app

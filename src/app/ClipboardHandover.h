#pragma once

namespace orvella::app {

// Text this program put on the clipboard is served by the program itself and would go
// with it. On an X11 desktop with a clipboard manager, this asks the manager to take a
// copy first (the freedesktop CLIPBOARD_MANAGER / SAVE_TARGETS handover) and lets the
// program answer the manager's requests until it says it is done, or waitMs has passed.
// Does nothing when the program does not own the clipboard or nobody manages it.
void handClipboardToManager(int waitMs);

} // namespace orvella::app

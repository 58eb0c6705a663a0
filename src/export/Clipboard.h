#pragma once

#include <QString>
#include <functional>

namespace orvella::core {
class Desktop;
} // namespace orvella::core

namespace orvella::exporting {

class ExportList;

// A clipboard operation that the clipboard refuses is tried again, up to this many
// attempts in all.
inline constexpr int kClipboardAttempts = 1000;
// The clipboard steps of one copy stop trying once this much time has passed, however
// many attempts are left: a client that holds the clipboard and never answers makes
// every attempt wait for the window system's own time limit.
inline constexpr qint64 kClipboardTimeMs = 3000;

// Milliseconds since some fixed moment; the copy reads it between two attempts.
using ClipboardClock = std::function<qint64()>;
// The machine's steady clock.
ClipboardClock steadyClipboardClock();

// The list as clipboard text: one line per checked item, no header; every field but the last
// padded with spaces to its column's widest field and followed by a TAB; trailing spaces
// of a line removed; CR LF after every line. Yields before every item and every column,
// while measuring and while building. Empty for an empty list. Throws a Failure when the
// list loses an item while it is read.
QString ClipboardText(const ExportList &list, const std::function<void()> &yield);

// Puts the list's clipboard text on the clipboard; an empty list leaves the clipboard as
// it was. True when the text is on the clipboard (or there was nothing to copy), false
// when the clipboard refused it until the attempts or the time ran out. Failures of the
// list pass to the caller; a refusing clipboard does not.
bool CopyListToClipboard(core::Desktop &desktop, const ExportList &list,
                         const ClipboardClock &clock = steadyClipboardClock());

// Empties the clipboard, trying again while it refuses. True when an attempt succeeded.
// Between two attempts the window gets its turn; no attempt starts once deadlineMs (on
// the clock) has passed, but the first is always made.
bool ClearClipboard(core::Desktop &desktop, const ClipboardClock &clock = {}, qint64 deadlineMs = 0);
// Places the text on the clipboard as plain text, trying again while it refuses, like
// ClearClipboard. True when the text was placed, false when every attempt failed.
bool SetClipboardText(core::Desktop &desktop, const QString &text, const ClipboardClock &clock = {},
                      qint64 deadlineMs = 0);

} // namespace orvella::exporting

#pragma once

#include <QString>
#include <functional>

namespace orvella::core {
class Desktop;
}

namespace orvella::exporting {

class ExportList;

// A clipboard operation that the clipboard refuses is tried again, up to this many
// attempts in all.
inline constexpr int kClipboardAttempts = 1000;

// The list as clipboard text: one line per checked item, no header; every field but the last
// padded with spaces to its column's widest field and followed by a TAB; trailing spaces
// of a line removed; CR LF after every line. Yields before every item and every column,
// while measuring and while building. Empty for an empty list. Throws a Failure when the
// list loses an item while it is read.
QString ClipboardText(const ExportList &list, const std::function<void()> &yield);

// Puts the list's clipboard text on the clipboard; an empty list leaves the clipboard as
// it was. Failures of the list pass to the caller; a refusing clipboard does not.
void CopyListToClipboard(core::Desktop &desktop, const ExportList &list);

// Empties the clipboard, trying again while it refuses. True when an attempt succeeded.
bool ClearClipboard(core::Desktop &desktop);
// Places the text on the clipboard as plain text, trying again while it refuses.
// True when the text was placed, false when every attempt failed.
bool SetClipboardText(core::Desktop &desktop, const QString &text);

} // namespace orvella::exporting

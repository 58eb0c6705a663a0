#include "export/Clipboard.h"

#include "core/Desktop.h"
#include "export/ExportList.h"

#include <algorithm>
#include <chrono>
#include <vector>

namespace orvella::exporting {

QString ClipboardText(const ExportList &list, const std::function<void()> &yield)
{
    const int columns = list.columnCount();
    if (columns < 1 || list.itemCount() == 0)
        return QString();

    std::vector<qsizetype> width(static_cast<size_t>(std::max(columns, 0)), 0);
    // The text's length before trailing spaces are cut: every field but the last is
    // padded to its column's width, the last one is as long as it is. One very long
    // last field therefore costs its own length only, not its length once per item.
    qsizetype total = 0;
    for (int c = 1; c <= columns; ++c) {
        qsizetype &w = width[static_cast<size_t>(c - 1)];
        const int items = list.itemCount();
        for (int i = 1; i <= items; ++i) {
            yield();
            const qsizetype length = list.fieldLength(i, c);
            w = std::max(w, length);
            if (c == columns)
                total += length + 2; // CR LF
        }
        if (c < columns)
            total += (w + 1) * items; // padding and TAB
    }

    QString text;
    text.reserve(total);
    const QChar space(u' ');
    const int items = list.itemCount();
    for (int i = 1; i <= items; ++i) {
        yield();
        if (!list.isChecked(i))
            continue;
        for (int c = 1; c <= columns; ++c) {
            yield();
            const qsizetype length = list.appendField(text, i, c);
            // The last field gets neither padding nor TAB: both would be cut off again
            // with the line's trailing spaces, and padding every line to the widest
            // one would cost its length once per item.
            if (c == columns)
                break;
            const qsizetype w = width[static_cast<size_t>(c - 1)];
            if (length < w)
                text.append(QString(w - length, space));
            text += QChar(u'\t');
        }
        qsizetype end = text.size();
        while (end > 0 && text.at(end - 1) == space)
            --end;
        text.truncate(end);
        text += QStringLiteral("\r\n");
    }
    return text;
}

ClipboardClock steadyClipboardClock()
{
    return [] {
        return static_cast<qint64>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                       std::chrono::steady_clock::now().time_since_epoch())
                                       .count());
    };
}

bool CopyListToClipboard(core::Desktop &desktop, const ExportList &list, const ClipboardClock &clock)
{
    if (list.itemCount() == 0)
        return true;
    // The whole text is ready before the clipboard is touched.
    const QString text = ClipboardText(list, [&desktop] { desktop.yield(); });
    // Both clipboard steps share one time limit.
    const qint64 deadline = clock ? clock() + kClipboardTimeMs : 0;
    ClearClipboard(desktop, clock, deadline);
    return SetClipboardText(desktop, text, clock, deadline);
}

namespace {
// Tries the operation until it succeeds, the attempts are used up or the deadline has
// passed; the window gets its turn between two attempts. Another program holding the
// clipboard open is the usual reason for a refusal, so a failure of any kind counts as
// a refused attempt and is never shown to the user.
template<typename Attempt>
bool retryClipboard(core::Desktop &desktop, const ClipboardClock &clock, qint64 deadlineMs, Attempt &&attempt)
{
    for (int n = 0; n < kClipboardAttempts; ++n) {
        if (n > 0) {
            desktop.yield();
            if (clock && clock() >= deadlineMs)
                return false;
        }
        try {
            if (attempt())
                return true;
        } catch (...) {
        }
    }
    return false;
}
} // namespace

bool ClearClipboard(core::Desktop &desktop, const ClipboardClock &clock, qint64 deadlineMs)
{
    return retryClipboard(desktop, clock, deadlineMs, [&desktop] { return desktop.clearClipboard(); });
}

bool SetClipboardText(core::Desktop &desktop, const QString &text, const ClipboardClock &clock, qint64 deadlineMs)
{
    return retryClipboard(desktop, clock, deadlineMs, [&desktop, &text] { return desktop.setClipboardText(text); });
}

} // namespace orvella::exporting

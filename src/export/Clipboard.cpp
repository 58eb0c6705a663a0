#include "export/Clipboard.h"

#include "core/Desktop.h"
#include "export/ExportList.h"

#include <algorithm>
#include <vector>

namespace orvella::exporting {

QString ClipboardText(const ExportList &list, const std::function<void()> &yield)
{
    const int columns = list.columnCount();
    if (columns < 1 || list.itemCount() == 0)
        return QString();

    std::vector<qsizetype> width(static_cast<size_t>(std::max(columns, 0)), 0);
    qsizetype total = 0;
    for (int c = 1; c <= columns; ++c) {
        qsizetype &w = width[static_cast<size_t>(c - 1)];
        const int items = list.itemCount();
        for (int i = 1; i <= items; ++i) {
            yield();
            w = std::max(w, list.field(i, c).size());
        }
        total += (w + 1) * items;
    }

    QString text;
    text.reserve(total + 2 * list.itemCount());
    const QChar space(u' ');
    const int items = list.itemCount();
    for (int i = 1; i <= items; ++i) {
        yield();
        if (!list.isChecked(i))
            continue;
        for (int c = 1; c <= columns; ++c) {
            yield();
            const QString field = list.field(i, c);
            text += field;
            const qsizetype w = width[static_cast<size_t>(c - 1)];
            if (field.size() < w)
                text.append(QString(w - field.size(), space));
            text += QChar(u'\t');
        }
        text.chop(1); // the TAB after the last field
        qsizetype end = text.size();
        while (end > 0 && text.at(end - 1) == space)
            --end;
        text.truncate(end);
        text += QStringLiteral("\r\n");
    }
    return text;
}

void CopyListToClipboard(core::Desktop &desktop, const ExportList &list)
{
    if (list.itemCount() == 0)
        return;
    // The whole text is ready before the clipboard is touched.
    const QString text = ClipboardText(list, [&desktop] { desktop.yield(); });
    ClearClipboard(desktop);
    SetClipboardText(desktop, text);
}

namespace {
// Tries the operation until it succeeds or the attempts are used up. Another program
// holding the clipboard open is the usual reason for a refusal, so a failure of any
// kind counts as a refused attempt and is never shown to the user.
template<typename Attempt>
bool retryClipboard(Attempt &&attempt)
{
    for (int n = 0; n < kClipboardAttempts; ++n) {
        try {
            if (attempt())
                return true;
        } catch (...) {
        }
    }
    return false;
}
} // namespace

bool ClearClipboard(core::Desktop &desktop)
{
    return retryClipboard([&desktop] { return desktop.clearClipboard(); });
}

bool SetClipboardText(core::Desktop &desktop, const QString &text)
{
    return retryClipboard([&desktop, &text] { return desktop.setClipboardText(text); });
}

} // namespace orvella::exporting

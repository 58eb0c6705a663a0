#pragma once

#include <QStringView>

namespace orvella::tables {

// The Windows-1252 byte of a UTF-16 unit, or 0 when the code page has none for it (NUL
// itself included: a table's cells hold none). ASCII and U+00A0 to U+00FF are their own
// bytes; 0x80 to 0x9F hold the 27 typographic characters the code page puts there
// (€ ‚ ƒ „ … † ‡ ˆ ‰ Š ‹ Œ Ž ‘ ’ “ ” • – — ˜ ™ š › œ ž Ÿ), and no C1 control.
char windows1252Byte(char16_t unit);

// Where the first unit of the text that Windows-1252 cannot hold stands; -1 when all fit.
qsizetype firstOutsideWindows1252(QStringView text);

// Writes the text's Windows-1252 bytes at `out` (every unit must fit) and tells where they end.
char *putWindows1252(char *out, QStringView text);

} // namespace orvella::tables

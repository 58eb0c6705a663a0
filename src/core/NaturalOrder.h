#pragma once

#include <QStringView>

namespace orvella::core {

// Compares two texts as a reader orders them: runs of digits by their value ("7B"
// before "10A", "Room 9" before "Room 10"), the rest letter by letter without regard
// to case; texts that differ only in case or leading zeros come in code order.
// Negative, zero or positive as a is before, equal to or after b.
int naturalCompare(QStringView a, QStringView b);

} // namespace orvella::core

#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace orvella::core {

// Readers for the number-like texts the user types and the settings store keeps.
// Digits are ASCII digits only; "blanks" are spaces and tabs.

// Whole text is a number: blanks around, optional sign, digits with at most one
// decimal point, optional exponent. An empty text is not a number.
bool isNumeric(QStringView text);

// The value of the longest number at the start of the text (after leading blanks);
// 0 when the text does not start with one.
double leadingNumber(QStringView text);

// "True"/"False" in any letter case, or a number (0 is false, anything else true).
// Empty when the text is neither.
std::optional<bool> readTruthValue(QStringView text);

// The text as a 16-bit signed whole number, fractions rounded to the nearest
// whole number with halves to the even neighbour. Throws a Failure when the text
// is not a number or the value lies outside -32768..32767.
int readInt16(QStringView text);

// A count for people to read, its thousands grouped with commas: "998,731".
QString groupedCount(qint64 count);
// The count and the noun, singular for one: "1 name", "1,000,000 names".
QString countOf(qint64 count, const char *one, const char *many);

} // namespace orvella::core

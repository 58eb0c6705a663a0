#pragma once

#include "names/KeySort.h"
#include "names/KeyTexts.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

namespace orvella::names {

// The locale whose collation the alphabetical order follows: the first of LC_ALL,
// LC_COLLATE and LANG that is set and not empty, as ICU names locales.
QByteArray collationLocale();
// One such variable's value as ICU's locale name: "en_US" for "en_US.UTF-8@euro";
// "" (the root collation, not character codes) for "C", "POSIX", "C.UTF-8" or "", and
// for a name ICU cannot open a collator for (too long, or malformed).
QByteArray collationLocaleFrom(const QByteArray &value);

// Keys in alphabetical order, by the locale's collator (numbers inside names by their
// value), as filing rules have it: the whole name (the head field, then the tail) is
// compared by its letters first, then by accents, then by case, so the delimiter never
// takes part; a suffix stepped over (headSuffixes[k] units at key k's head's end; with
// no head suffixes given, what follows kSteppedMark in a tail) only breaks a tie after that. Keys equal
// under the collator follow exact order, then their input order. Each distinct field
// gets its collation sort key once; the work runs on worker threads for a large list
// while the calling thread keeps calling yield.
// Throws a Failure when the locale has no collator at all.
KeyOrder alphabeticalOrder(const std::vector<QString> &keys, const QByteArray &locale,
                           const std::function<void()> &yield);
KeyOrder alphabeticalOrder(const KeyTexts &keys, const QByteArray &locale, const std::function<void()> &yield);
KeyOrder alphabeticalOrder(const KeyTexts &keys, const std::vector<std::uint8_t> &headSuffixes,
                           const QByteArray &locale, const std::function<void()> &yield);

} // namespace orvella::names

#pragma once

#include "sorting/KeySort.h"
#include "sorting/KeyTexts.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

namespace orvella::sorting {

// The locale whose collation the alphabetical order follows: the first of LC_ALL,
// LC_COLLATE and LANG that is set and not empty, as ICU names locales.
QByteArray collationLocale();
// One such variable's value as ICU's locale name: "en_US" for "en_US.UTF-8@euro";
// "" (the root collation, not character codes) for "C", "POSIX", "C.UTF-8" or "", and
// for a name ICU cannot open a collator for (too long, or malformed).
QByteArray collationLocaleFrom(const QByteArray &value);

// Keys in alphabetical order: head fields compared by the locale's collator (numbers
// inside names by their value), then tail fields, so the delimiter never takes part;
// keys equal under the collator follow exact order, then their input order. Each
// distinct head and tail field gets its collation sort key once; the work runs on
// worker threads for a large list while the calling thread keeps calling yield.
// Throws a Failure when the locale has no collator at all.
KeyOrder alphabeticalOrder(const std::vector<QString> &keys, const QByteArray &locale,
                           const std::function<void()> &yield);
KeyOrder alphabeticalOrder(const KeyTexts &keys, const QByteArray &locale, const std::function<void()> &yield);

} // namespace orvella::sorting

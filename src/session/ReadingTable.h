#pragma once

#include "names/NameReading.h"

#include <QString>
#include <vector>

namespace orvella::session {

// One row of the "How Names Are Read" window: a name under one reading and one set of
// options, and whether that is what the main window is set to now.
struct ReadingRow {
    QString reading;
    QString options;
    names::NameReading result;
    bool current = false;
};

// The name under each of the three readings, with and without "Last, First" lines and
// particles (particles only where the last name is read). The other reading choices
// apply to every row as they are chosen now.
std::vector<ReadingRow> readingRows(QStringView name, const names::SortOptions &current,
                                    const names::ReadingChoices &choices, const names::WordTests &words);

// The choices that apply to every row, in a line of their own: "Also: …" naming those
// that are on, or empty when none is.
QString alsoChosenText(const names::ReadingChoices &choices);

} // namespace orvella::session

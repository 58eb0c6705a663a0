#pragma once

#include "sorting/NameReading.h"

#include <QString>
#include <vector>

namespace orvella::session {

// One row of the "How Names Are Read" window: a name under one reading and one set of
// options, and whether that is what the main window is set to now.
struct ReadingRow {
    QString reading;
    QString options;
    sorting::NameReading result;
    bool current = false;
};

// The name under each of the three readings, with and without "Last, First" lines and
// particles (particles only where the last name is read).
std::vector<ReadingRow> readingRows(QStringView name, const sorting::SortOptions &current,
                                    const sorting::ReadingChoices &choices, const sorting::SuffixTest &isSuffix,
                                    const sorting::ParticleTest &isParticle);

} // namespace orvella::session

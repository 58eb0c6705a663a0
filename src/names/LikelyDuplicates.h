#pragma once

#include "names/NameReading.h"
#include "names/Nicknames.h"

#include <QString>
#include <QStringView>

#include <functional>
#include <vector>

namespace orvella::names {

// Why names are probably one person, from the closest likeness to the loosest.
enum class DuplicateReason {
    SameName,     // written the same (spaces tidied)
    Spelling,     // only case, accents or spacing differ
    WordOrder,    // the same words in another order ("Smith, John" / "John Smith")
    Extras,       // only a title, suffix or nickname differs ("Dr. Ann Lee" / "Ann Lee, PhD")
    Nickname,     // a common nickname ("Bob Lee" / "Robert Lee")
    SameCell,     // the same cell in the chosen column (an e-mail address)
};

// What the window and the command line say of a reason.
QString reasonText(DuplicateReason reason);

// One group: the positions of its names (in the order given) and why they go together:
// the loosest likeness that joins them.
struct DuplicateGroup {
    DuplicateReason reason = DuplicateReason::SameName;
    std::vector<qsizetype> members;
};

// What the search reads. cellAt (when given) is the cell of the chosen column for a
// name; an empty cell joins nothing.
struct DuplicateSearch {
    qsizetype count = 0;
    std::function<QStringView(qsizetype)> nameAt;
    std::function<QString(qsizetype)> cellAt;
    WordTests words;
    const NicknameSet *nicknames = nullptr;
    // Called now and then, so that a window stays responsive.
    std::function<void()> yield;
};

// The groups of two names or more that are probably one person, in the order of their
// first names; each name is in one group at most. Nothing is removed.
std::vector<DuplicateGroup> findLikelyDuplicates(const DuplicateSearch &search);

} // namespace orvella::names

#pragma once

#include "tables/NameRows.h"
#include "names/SortKeys.h"

#include <QString>
#include <QStringView>
#include <functional>

namespace orvella::names {

// How sort keys are ordered: by character codes, or as a dictionary of the user's
// language files them.
enum class NameOrder { Exact, Alphabetical };

// The reading choices beside the four option buttons; each is off by default, and
// with all of them off names are read and ordered exactly as the option buttons say.
struct ReadingChoices {
    NameOrder order = NameOrder::Exact;
    bool lastCommaFirst = false; // Read "Last, First" lines
    bool keepParticles = false;  // Keep particles with the last name
    bool stepOverExtras = false; // Step over titles, nicknames and extra suffixes
    bool familyNameFirst = false; // Family name first for Chinese, Japanese and Korean script
    bool learnLastNames = false; // Learn last names from "Last, First" lines
    bool twoFamilyNames = false; // Two family names (Spanish and Portuguese)

    // True when the choices change how a name is turned into a key.
    bool changesKeys() const
    {
        return lastCommaFirst || keepParticles || stepOverExtras || familyNameFirst || learnLastNames ||
               twoFamilyNames;
    }
    // True when a name is read word by word (see readName) rather than by the option
    // buttons' split at single spaces.
    bool readsWords() const { return stepOverExtras || familyNameFirst; }
};

using TitleTest = std::function<bool(QStringView word)>;
class FiledAsList;
class DesignationSet;

// The word lists a reading asks about: the suffix list, the particle list and the
// title list (an unset test answers no).
struct WordTests {
    SuffixTest isSuffix;
    ParticleTest isParticle;
    TitleTest isTitle;
    // The Filed-As list, asked first about every name (none: no entries).
    const FiledAsList *filedAs = nullptr;
    // The designation list, asked where titles, nicknames and extra suffixes are
    // stepped over (none: no designations).
    const DesignationSet *designations = nullptr;
};

// How one name is read under a reading: for tooltips and the "How Names Are Read" window.
struct NameReading {
    QString sortedUnder;    // the head field, e.g. "de la Hoya" (what the name is filed under)
    QString then;           // the tail field, e.g. "Oscar" (may be empty)
    QString lastName;       // the last (or, in First/Last, first) name itself, without a stepped-over suffix
    QString suffix;         // the suffix stepped over, e.g. "Jr." (empty when none)
    QString particles;      // the particle words taken along, e.g. "de la" (empty when none)
    bool commaLine = false; // read as a "Last, First" line
    QString stepped;        // titles, nicknames and extra suffixes stepped over, e.g. "Dr. (Bob) Esq."
    QString titles;         // the titles of those, e.g. "Dr." (read word by word only)
    QString nicknames;      // the nicknames of those, as written, e.g. "(Bob)" (read word by word only)
    bool filedAsSet = false; // filed as an entry of the Filed-As list says
};

// Reading rules on top of the option buttons:
// - A name the Filed-As list holds (tidied) files as its entry says, in every reading
//   and whatever the choices: under the entry's words, then its rest.
// - "Last, First" lines (either reading): a name with a comma, text before it, and a
//   part after it (up to a second comma) that is not empty and not itself a suffix.
//   Last/First: the last name is everything before the comma; a suffix after a second
//   comma is stepped over in the suffix-skipping reading and then files with the last
//   name ("Smith, John, Jr." under "Smith Jr.", as "John Smith Jr." files). First/Last:
//   the first name is the first word after the comma.
// - A name from a table's separate name columns (given as its NameParts), in either
//   reading and whatever the choices say: the last-name cell is the last name, whatever
//   commas it holds ("Lee," is Lee). Last/First: a suffix cell, or else a suffix at the
//   end of the last-name cell ("Smith, Jr.", "King III"), is stepped over in the
//   suffix-skipping reading and files with the last name, as in a "Last, First, Suffix"
//   line; otherwise it stays where it is. The first- and middle-name cells are the rest;
//   First/Last: the first name is their first word (the last name when they are empty).
// - Particles (Last/First readings, other names): the last name takes along the run
//   of particle words directly before it, unless that run reaches the first word (a
//   name of particles and one last name keeps that last name alone).
NameReading readName(QStringView name, const SortOptions &options, const ReadingChoices &choices,
                     const SuffixTest &isSuffix, const ParticleTest &isParticle);
// columns (when given) is the name taken apart by the table columns it came from, as
// the sort reads such a name.
NameReading readName(QStringView name, const SortOptions &options, const ReadingChoices &choices,
                     const WordTests &words, const tables::NameParts *columns = nullptr);

// What building a key found out about the name, beyond the key.
struct KeyNote {
    bool commaLine = false; // read as a "Last, First" line
    // The results show `shown` rather than the key revealed: the name as entered (a
    // "Last, First" line) or tidied, or a name whose words the key holds in another order.
    bool ownText = false;
    QString shown;
    // The length of a suffix stepped over at the head field's end, with the space
    // before it ("Smith Jr." has 4): alphabetical order weighs it after the rest.
    qsizetype headSuffix = 0;
    bool filedAsSet = false; // filed as an entry of the Filed-As list says
};

// The sort key of a name under the reading choices: the head field, the delimiter,
// the tail field (and, for a name read word by word, what was stepped over: see
// readWords). A name that is no "Last, First" line and is not read word by word is
// keyed from readFields, as buildSortKey keys it: with no choice on, or no particle
// taken along, the two keys are the same.
// commaLine (when given) tells whether the name was read as a "Last, First" line.
QString buildReadingKey(QStringView name, const SortOptions &options, const ReadingChoices &choices,
                        const SuffixTest &isSuffix, const ParticleTest &isParticle, bool *commaLine = nullptr);
// The same into a text the caller keeps (it is replaced), with what it found out;
// columns (when given) is the name taken apart by the table columns it came from.
void buildReadingKeyInto(QString &key, QStringView name, const SortOptions &options, const ReadingChoices &choices,
                         const WordTests &words, KeyNote *note = nullptr, const tables::NameParts *columns = nullptr);

// What a key was filed under: its head field and its tail field (without spaces at
// its ends), and what was stepped over; the other fields of the reading stay empty.
NameReading readingOfKey(QStringView key);

// "Sorted under: de la Hoya, then: Oscar"; without ", then: …" when the tail is empty;
// with ", stepped over: Dr. Jr." when something was; with ", filed as you set" for a
// name the Filed-As list holds.
QString sortedUnderText(const NameReading &reading);

} // namespace orvella::names

#pragma once

#include "names/NameReading.h"
#include "names/SortKeys.h"

#include <QString>
#include <QStringView>

namespace orvella::names {

// A name's parts as the export's name columns give them.
struct NamePartTexts {
    QString title;
    QString first;
    QString middle;
    QString last;
    QString suffix;
    QString nickname;

    // "Last, First Middle"; the last name alone when there is no given name.
    QString lastFirst() const;
    bool operator==(const NamePartTexts &) const = default;
};

// Takes names apart as one reading reads them, from the reading itself (readName), so
// that each part is what the sort used:
// - The option buttons alone (no reading choice on, a name not from name columns): the
//   last name is what the name is filed under and the first name is the rest ("John
//   Smith Jr." skipping suffixes: "Smith Jr." and "John"; by first word, "John" and
//   "Smith Jr.").
// - Under the reading choices, or for a name from name columns: the last name is the
//   reading's last name with the particles it took along ("de la Hoya"), the suffix the
//   one stepped over; in the Last/First readings the first name is the first word of
//   the rest and the middle name the words after it, in First/Last the first name is
//   the whole rest. Stepping over titles, nicknames and extra suffixes also gives the
//   titles, the nicknames (without the brackets or quotes around them) and all the
//   suffixes stepped over.
class NamePartsReader {
public:
    NamePartsReader() = default;
    NamePartsReader(const SortOptions &options, const ReadingChoices &choices, WordTests words)
        : m_options(options), m_choices(choices), m_words(std::move(words))
    {
    }

    // columns: the name taken apart by the table columns it came from; commaLine reads
    // the name as a "Last, First" line whatever the choices say, as a table's names made
    // of separate columns are read.
    NamePartTexts read(QStringView name, const tables::NameParts *columns = nullptr, bool commaLine = false) const;

private:
    SortOptions m_options;
    ReadingChoices m_choices;
    WordTests m_words;
};

} // namespace orvella::names

#pragma once

#include "names/NameReading.h"

#include <QString>
#include <QStringView>

namespace orvella::names {

// The name with every run of white space (spaces, tabs) made one space and none at
// its ends: how names are shown and compared under "Step over titles, nicknames and
// extra suffixes".
QString tidySpaces(QStringView name);
// True when tidySpaces would leave the name as it is.
bool isTidy(QStringView name);

// Under "Step over titles, nicknames and extra suffixes", whether a word counts as a
// suffix: one on the suffix list (also when written without its periods, "Ph.D" for
// "Ph.D."), an ordinal ("2nd", "21st"), a Roman numeral from I to XX, Junior, Senior,
// Esquire and their short forms, or a common degree or honour ("MBA", "OBE").
bool isExtraSuffix(QStringView word, const SuffixTest &isSuffix);

// Under "Two family names (Spanish and Portuguese)", whether a word may be one of the
// two: it starts with a capital letter and is not on the particle list.
bool isFamilyNameWord(QStringView word, const ParticleTest &isParticle);

// True when a name's letters are all Han, Hiragana, Katakana or Hangul (and it has one).
bool isFamilyNameFirstScript(QStringView name);

// A name read word by word. The key has the head field, the delimiter and the tail
// field, as the option buttons' keys have; what was stepped over follows the tail
// after kSteppedMark, so that it only breaks ties after the rest of the name.
struct WordReading {
    // What to work out: the key and the shown text only (for a sort), or the reading too.
    enum class Wanted { KeyOnly, Everything };

    NameReading reading; // sortedUnder is the head, then the tail (with Wanted::Everything)
    QString key;
    // False when the name's key, revealed as the option buttons reveal keys, shows the
    // name as the results show it, tidied (nothing stepped over, nothing tidied, no word
    // moved); then `shown` stays empty.
    bool ownText = false;
    // The text the results show for the name: the name tidied (see tidySpaces).
    QString shown;
};

// Between a key's tail and the words stepped over: below every character of a name,
// so that "Aaron King" files before "Aaron King Jr." and both before "Aaron Lee King".
inline constexpr QChar kSteppedMark = QChar(0x0001);

// Reads a name word by word under the choices (readsWords() is true):
// - Step over titles, nicknames and extra suffixes: white space is tidied; a run of
//   words in parentheses or quotes, titles at the start of the name (or of either part
//   of a "Last, First" line), words without a letter or digit at either end, and (when
//   the reading steps over suffixes) every suffix at the end are stepped over, always
//   leaving a word. A suffix after a comma is stepped over even when one word is left
//   ("Smith, Jr."); one after a space only when two are ("John Senior" stays).
// - Family name first: in a Last/First reading, a name written in Chinese, Japanese
//   or Korean script files under its first word.
// - A name from a table's separate name columns (columns given, views into the name):
//   read as a "Last, First" line whose parts are the cells, whatever commas they hold;
//   the suffix cell is stepped over when it holds suffixes only, as a last part of
//   suffixes is.
// Particles and "Last, First" lines are read as the other choices say.
WordReading readWords(QStringView name, const SortOptions &options, const ReadingChoices &choices,
                      const WordTests &words, WordReading::Wanted wanted = WordReading::Wanted::Everything,
                      const tables::NameParts *columns = nullptr);
// The same into a reading the caller keeps (its texts keep their memory for the next).
void readWordsInto(WordReading &result, QStringView name, const SortOptions &options, const ReadingChoices &choices,
                   const WordTests &words, WordReading::Wanted wanted, const tables::NameParts *columns = nullptr);

} // namespace orvella::names

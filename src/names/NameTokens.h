#pragma once

#include "names/NameReading.h"

#include <QChar>
#include <QString>
#include <QStringView>
#include <QVarLengthArray>

// What the word-by-word reading (readWords) takes a name apart into: its words, what
// kind each one is, and its parts; with the steps the reading shares with the reading
// of a name's columns. For the reading's own files.
namespace orvella::names::words {

inline constexpr QChar kSpace = QLatin1Char(' ');
inline constexpr QChar kComma = QLatin1Char(',');

// Calls f with each code point of a text (a lone surrogate as itself) until f says stop.
template<typename F>
bool anyCodePoint(QStringView text, F f)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        if (f(c))
            return true;
    }
    return false;
}

inline bool holdsLetterOrDigit(QStringView word)
{
    return anyCodePoint(word, [](char32_t c) { return QChar::isLetterOrNumber(c); });
}

// What a word of a name is: a plain word, or one of what the reading steps over.
enum class Kind { Word, Title, Nickname, Suffix, Mark };

// A word of the tidied name. A comma ends a word (and is not part of it).
struct Token {
    QStringView text;
    bool commaAfter = false;
    Kind kind = Kind::Word;
};
using Tokens = QVarLengthArray<Token, 16>;
// Positions of tokens.
using Indexes = QVarLengthArray<qsizetype, 16>;
// A name's plain words in parts: between commas, or the cells of name columns.
using Parts = QVarLengthArray<Indexes, 4>;

// No white space but single spaces between words.
bool tidyAlready(QStringView name);

// The tokens at the positions [from, to) of `which`, joined by one space (to < 0: to the end).
QString joined(const Tokens &tokens, const Indexes &which, qsizetype from = 0, qsizetype to = -1);
// The words stepped over, of one kind, in the name's order.
QString joinedOfKind(const Tokens &tokens, Kind kind);

// Whether a word starts with a title glued to the rest by its period ("Mr.Jack"); then
// titleEnd is where the rest starts.
bool isTitleGluedToWord(QStringView word, const WordTests &tests, qsizetype *titleEnd);

// Steps over what stands at the ends of a run of words (the plain words of a name, or
// of one part of a "Last, First" line): titles at its start, words without a letter
// or digit at either end, and suffixes at its end while at least `keepBeforeSuffix`
// words stay. Always leaves one word.
void stepOverEnds(Tokens &tokens, Indexes &words, bool titles, bool suffixes, qsizetype keepBeforeSuffix,
                  const WordTests &tests);

// True when every word of the part is an extra suffix (see isExtraSuffix), a
// designation or a degree joined to another, or the part is one designation.
bool allSuffixes(const Tokens &tokens, const Indexes &part, const WordTests &tests);

// The parts of a name from name columns (`text` is the name the columns view): the
// last-name cell's plain words, the first and middle names', and the suffix cell's,
// which are stepped over when they are all suffixes and `suffixes`.
Parts columnParts(Tokens &tokens, QStringView text, const tables::NameParts &columns, bool suffixes,
                  const WordTests &tests);

} // namespace orvella::names::words

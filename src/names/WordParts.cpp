#include "names/NameTokens.h"

#include "names/Designations.h"
#include "names/NameWords.h"

// The word-by-word reading's steps over the ends of a run of words, and a name's parts
// from its name columns.
namespace orvella::names::words {

namespace {

bool isDesignation(QStringView text, const WordTests &tests)
{
    return tests.designations && tests.designations->contains(text);
}

// A degree with a second one joined by a period ("MSc.Ed.", "B.Sc.Hons."): its first
// piece is a suffix or a designation, each piece after it a capital and at most three
// more letters.
bool isJoinedDegree(QStringView word, const WordTests &tests)
{
    const qsizetype period = word.indexOf(QLatin1Char('.'));
    if (period <= 0 || period + 1 >= word.size())
        return false;
    const QStringView first = word.first(period + 1);
    if (!isExtraSuffix(first, tests.isSuffix) && !isDesignation(first, tests))
        return false;
    for (QStringView piece : word.sliced(period + 1).split(QLatin1Char('.'), Qt::SkipEmptyParts)) {
        if (piece.size() > 4 || !piece.front().isUpper())
            return false;
        for (const QChar c : piece) {
            if (!c.isLetter())
                return false;
        }
    }
    return true;
}

bool isExtraWord(QStringView word, const WordTests &tests)
{
    return isExtraSuffix(word, tests.isSuffix) || isDesignation(word, tests) || isJoinedDegree(word, tests);
}

// How many words at the end of `words` make one thing to step over: a suffix, a
// designation or a joined degree (1); a degree written with a space ("Ph. D.", 2); a
// phrase of the designation list ("attorney at law", up to 4); 0 for none.
qsizetype extrasAtEnd(const Tokens &tokens, const Indexes &words, const WordTests &tests)
{
    const QStringView last = tokens[words.back()].text;
    if (isExtraWord(last, tests))
        return 1;
    const qsizetype count = words.size();
    if (count >= 2 && last.endsWith(QLatin1Char('.'))) {
        const QStringView before = tokens[words[count - 2]].text;
        if (before.endsWith(QLatin1Char('.')) && before.size() <= 3 && isExtraWord(before.toString().append(last), tests))
            return 2;
    }
    if (!tests.designations || !tests.designations->endsPhrase(last))
        return 0;
    QString phrase = last.toString();
    for (qsizetype k = 2; k <= 4 && k <= count; ++k) {
        phrase.prepend(QLatin1Char(' ')).prepend(tokens[words[count - k]].text);
        if (tests.designations->contains(phrase))
            return k;
    }
    return 0;
}

} // namespace

bool isTitleGluedToWord(QStringView word, const WordTests &tests, qsizetype *titleEnd)
{
    const qsizetype period = word.indexOf(QLatin1Char('.'));
    if (period <= 0 || period + 1 >= word.size() || !word[period + 1].isLetter() || !tests.isTitle)
        return false;
    if (!tests.isTitle(word.first(period + 1)))
        return false;
    *titleEnd = period + 1;
    return true;
}

void stepOverEnds(Tokens &tokens, Indexes &words, bool titles, bool suffixes, qsizetype keepBeforeSuffix,
                  const WordTests &tests)
{
    // Each end is asked about once per word that stands there.
    bool firstAsked = false;
    bool lastAsked = false;
    while (words.size() > 1 && !(firstAsked && lastAsked)) {
        if (!firstAsked) {
            Token &first = tokens[words.front()];
            if (!holdsLetterOrDigit(first.text))
                first.kind = Kind::Mark;
            else if (titles && tests.isTitle && tests.isTitle(first.text))
                first.kind = Kind::Title;
            firstAsked = first.kind == Kind::Word;
            if (!firstAsked) {
                words.erase(words.begin());
                continue;
            }
        }
        Token &last = tokens[words.back()];
        if (!holdsLetterOrDigit(last.text))
            last.kind = Kind::Mark;
        else if (suffixes && words.size() > keepBeforeSuffix) {
            // A run of several words is stepped over only when enough words stay.
            const qsizetype run = extrasAtEnd(tokens, words, tests);
            if (run > 0 && words.size() - run >= keepBeforeSuffix) {
                for (qsizetype k = 1; k < run; ++k) {
                    tokens[words.back()].kind = Kind::Suffix;
                    words.pop_back();
                }
                tokens[words.back()].kind = Kind::Suffix;
            }
        }
        lastAsked = tokens[words.back()].kind == Kind::Word;
        if (!lastAsked)
            words.pop_back();
    }
}

bool allSuffixes(const Tokens &tokens, const Indexes &part, const WordTests &tests)
{
    if (part.isEmpty())
        return true;
    // One designation of several words ("Attorney at Law").
    if (part.size() > 1 && part.size() <= 4 && isDesignation(joined(tokens, part), tests))
        return true;
    for (const qsizetype t : part) {
        if (!isExtraWord(tokens[t].text, tests))
            return false;
    }
    return true;
}

Parts columnParts(Tokens &tokens, QStringView text, const tables::NameParts &columns, bool suffixes,
                  const WordTests &tests)
{
    Parts parts(3);
    const qsizetype lastEnd = columns.lastName.size();
    const qsizetype suffixStart = columns.suffix.isEmpty() ? text.size() : columns.suffix.data() - text.data();
    for (qsizetype t = 0; t < tokens.size(); ++t) {
        const qsizetype at = tokens[t].text.data() - text.data();
        if (tokens[t].kind == Kind::Word)
            parts[at < lastEnd ? 0 : at < suffixStart ? 1 : 2].append(t);
    }
    if (suffixes && allSuffixes(tokens, parts[2], tests)) {
        for (const qsizetype t : parts[2])
            tokens[t].kind = Kind::Suffix;
        parts.removeLast();
    }
    return parts;
}

} // namespace orvella::names::words

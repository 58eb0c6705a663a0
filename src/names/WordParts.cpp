#include "names/NameTokens.h"

#include "names/NameWords.h"

// The word-by-word reading's steps over the ends of a run of words, and a name's parts
// from its name columns.
namespace orvella::names::words {

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
        else if (suffixes && words.size() > keepBeforeSuffix && isExtraSuffix(last.text, tests.isSuffix))
            last.kind = Kind::Suffix;
        lastAsked = last.kind == Kind::Word;
        if (!lastAsked)
            words.pop_back();
    }
}

bool allSuffixes(const Tokens &tokens, const Indexes &part, const WordTests &tests)
{
    for (const qsizetype t : part) {
        if (!isExtraSuffix(tokens[t].text, tests.isSuffix))
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

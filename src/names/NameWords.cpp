#include "names/NameWords.h"

#include "names/NameTokens.h"

#include <algorithm>

// A name read word by word: its words, its parts, what files it, and its key. What a
// sort does a million times in a row is in this one file, so that the compiler can
// inline it into the reading.
namespace orvella::names {

using namespace words;

bool isFamilyNameFirstScript(QStringView name)
{
    bool letters = false;
    const bool other = anyCodePoint(name, [&](char32_t c) {
        if (!QChar::isLetter(c))
            return false;
        if (c < 0x80) // a Latin letter, as most names start with
            return true;
        switch (QChar::script(c)) {
        case QChar::Script_Han:
        case QChar::Script_Hiragana:
        case QChar::Script_Katakana:
        case QChar::Script_Hangul:
            letters = true;
            return false;
        default:
            return true;
        }
    });
    return letters && !other;
}

bool isFamilyNameWord(QStringView word, const ParticleTest &isParticle)
{
    if (word.isEmpty())
        return false;
    const char32_t first = word.size() > 1 && word[0].isHighSurrogate()
                               ? QChar::surrogateToUcs4(word[0], word[1])
                               : char32_t(word[0].unicode());
    return QChar::isUpper(first) && !(isParticle && isParticle(word));
}

namespace {

// ---- A name's words --------------------------------------------------------------------

// The closing marks of a group that opens with `open` (none: not an opening mark).
QStringView closersOf(QChar open)
{
    switch (open.unicode()) {
    case u'(': return u")";
    case u'[': return u"]";
    case u'"': return u"\"";
    case u'\'': return u"'";
    case u'\u201C': return u"\u201D\u201C"; // “…” (and “…“ as some keyboards type it)
    case u'\u201E': return u"\u201C\u201D"; // „…“ and „…”
    case u'\u2018': return u"\u2019";       // ‘…’
    case u'\u00AB': return u"\u00BB";       // «…»
    case u'\u2039': return u"\u203A";       // ‹…›
    default: return {};
    }
}

// The last token of the group of words that opens at token `first` (parentheses,
// brackets or quotes around one word or several), or -1 when it is not closed at the
// end of a word. Parentheses and brackets nest; quotes close at the first closing
// mark that ends a word.
qsizetype groupEnd(const Tokens &tokens, qsizetype first)
{
    const QChar open = tokens[first].text.front();
    const QStringView closers = closersOf(open);
    if (open == QLatin1Char('(') || open == QLatin1Char('[')) {
        int depth = 0;
        for (qsizetype t = first; t < tokens.size(); ++t) {
            const QStringView word = tokens[t].text;
            for (qsizetype c = 0; c < word.size(); ++c) {
                if (word[c] == open) {
                    ++depth;
                } else if (word[c] == closers.front() && --depth == 0) {
                    return c == word.size() - 1 ? t : -1;
                }
            }
        }
        return -1;
    }
    for (qsizetype t = first; t < tokens.size(); ++t) {
        const QStringView word = tokens[t].text;
        if (word.size() > (t == first ? 1 : 0) && closers.contains(word.back()))
            return t;
    }
    return -1;
}

// Splits a name into its words at spaces and commas, when its white space is tidy
// already (see tidyAlready): most names are, and are split in the pass that finds it
// out. False (and some of the words split) when the name has to be tidied first.
bool splitTidy(QStringView text, Tokens &tokens)
{
    const char16_t *units = text.utf16();
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = units[i];
        if (u > kComma.unicode() && u < 0x80) // most characters of most names
            continue;
        if (u == kSpace.unicode()) {
            if (i == 0 || units[i - 1] == kSpace.unicode())
                return false;
        } else if (u != kComma.unicode()) {
            if (QChar::isSpace(u))
                return false;
            continue;
        }
        if (i > start)
            tokens.append({text.sliced(start, i - start)});
        if (u == kComma.unicode() && !tokens.isEmpty())
            tokens.back().commaAfter = true;
        start = i + 1;
    }
    if (!text.isEmpty() && text.back() == kSpace)
        return false;
    if (text.size() > start)
        tokens.append({text.sliced(start)});
    return true;
}

// True when a word may open a group of words in parentheses or quotes (see closersOf).
bool mayOpenGroup(QChar first)
{
    const char16_t u = first.unicode();
    return u == u'(' || u == u'[' || u == u'"' || u == u'\'' || u >= 0x80;
}

// Marks nicknames: every closed group of words in parentheses or quotes, unless that
// would leave no other word.
void markNicknames(Tokens &tokens)
{
    qsizetype marked = 0;
    for (qsizetype t = 0; t < tokens.size(); ++t) {
        if (!mayOpenGroup(tokens[t].text.front()) || closersOf(tokens[t].text.front()).isEmpty())
            continue;
        const qsizetype end = groupEnd(tokens, t);
        if (end < 0)
            continue;
        for (qsizetype i = t; i <= end; ++i)
            tokens[i].kind = Kind::Nickname;
        marked += end - t + 1;
        t = end;
    }
    if (marked == tokens.size()) {
        for (Token &token : tokens)
            token.kind = Kind::Word;
    }
}

// ---- Its parts and its last name -------------------------------------------------------

bool isJoiningWord(QStringView word)
{
    return word == u"y" || word == u"e" || word == u"i";
}

// Where the last name of plain words starts: the last word, with the particles before
// it and a surname joined to it by "y", "e" or "i" ("de la Cruz y Pérez"), when the
// particle choice is on and the run does not reach the first word.
qsizetype lastNameStart(const Tokens &tokens, const Indexes &words, const WordTests &tests, bool particles)
{
    qsizetype start = words.size() - 1;
    if (!particles || !tests.isParticle)
        return start;
    for (;;) {
        qsizetype run = start;
        while (run > 0 && tests.isParticle(tokens[words[run - 1]].text))
            --run;
        if (run == 0)
            return start;
        start = run;
        if (start >= 3 && isJoiningWord(tokens[words[start - 1]].text)) {
            start -= 2;
            continue;
        }
        return start;
    }
}

// The parts between commas, nicknames left out (a nickname's comma still ends a part).
// Parts made only of suffixes at the end (", PhD, MD") are stepped over when `suffixes`.
Parts commaParts(Tokens &tokens, bool suffixes, const WordTests &tests)
{
    Parts parts(1);
    for (qsizetype t = 0; t < tokens.size(); ++t) {
        if (tokens[t].kind == Kind::Word)
            parts.back().append(t);
        if (tokens[t].commaAfter && !parts.back().isEmpty())
            parts.append(Indexes());
    }
    if (parts.back().isEmpty() && parts.size() > 1)
        parts.removeLast();
    while (suffixes && parts.size() > 1 && allSuffixes(tokens, parts.back(), tests)) {
        for (const qsizetype t : parts.back())
            tokens[t].kind = Kind::Suffix;
        parts.removeLast();
    }
    return parts;
}

// ---- The reading -----------------------------------------------------------------------

// One name read word by word: what it is read under, its tokens, and which of its
// words make the key's head field and which its tail field.
struct Reader {
    Reader(const SortOptions &options, const ReadingChoices &choices, const WordTests &tests, NameReading *reading)
        : options(options), choices(choices), tests(tests), reading(reading)
    {
    }

    const SortOptions &options;
    const ReadingChoices &choices;
    const WordTests &tests;
    NameReading *reading; // null when only the key is wanted
    Tokens tokens;
    Indexes head;
    Indexes tail;
    bool familyFirst = false; // filed under its first word for its script
};

// Empties a reading kept from the name before; its texts keep their memory.
void clearReading(WordReading &result)
{
    result.reading = NameReading();
    result.key.resize(0);
    if (!result.shown.isEmpty()) // most names show as their keys do
        result.shown.resize(0);
    result.ownText = false;
}

// A name of nothing but commas (","): its own one word, as the option buttons read it.
void readCommasOnly(WordReading &result, QStringView text, bool tidied, bool everything)
{
    result.key.append(text);
    result.ownText = tidied;
    result.shown.append(text);
    if (everything)
        result.reading.sortedUnder = result.reading.lastName = text.toString();
}

// A name from name columns is a "Last, First" line when its last-name cell has a word;
// a typed name is one under the choice, when it has a part before its first comma and
// one after it that is not all suffixes.
bool readsCommaLine(const Reader &r, const Parts &parts, bool fromColumns)
{
    if (fromColumns)
        return !parts[0].isEmpty();
    return r.choices.lastCommaFirst && parts.size() >= 2 && !parts[0].isEmpty() &&
           !allSuffixes(r.tokens, parts[1], r.tests);
}

// A "Last, First" line: files under the part before the first comma, then the given
// names (in First/Last, under the first given name, then the rest); the parts after
// the second comma follow in the tail.
void fileCommaLine(Reader &r, Parts &parts, bool suffixes)
{
    Indexes &before = parts[0];
    Indexes &given = parts[1];
    stepOverEnds(r.tokens, before, true, suffixes, 1, r.tests);
    stepOverEnds(r.tokens, given, true, false, 1, r.tests);
    if (r.options.firstLast() && !given.isEmpty()) {
        r.head.append(given.front());
        r.tail.append(given.data() + 1, given.size() - 1);
        r.tail.append(before.data(), before.size());
        if (r.reading)
            r.reading->lastName = r.tokens[given.front()].text.toString();
    } else {
        r.head = before;
        r.tail = given;
        if (r.reading)
            r.reading->lastName = joined(r.tokens, before);
    }
    for (qsizetype p = 2; p < parts.size(); ++p)
        r.tail.append(parts[p].data(), parts[p].size());
}

// Appends the indexes one by one: a run of a name's words is short, and appending a
// range of them is a library call of its own.
void appendIndexes(Indexes &to, const qsizetype *from, qsizetype count)
{
    for (qsizetype i = 0; i < count; ++i)
        to.push_back(from[i]);
}

// Plain words, once their ends are stepped over: filed under the first word (First/Last,
// or a family name first for its script), else under the last name and the particles
// it takes along, then the words before it.
void filePlainWords(Reader &r, Parts &parts, QStringView text, bool suffixes)
{
    // Most names are one part: its words are read where they stand.
    Indexes &words = parts[0];
    for (qsizetype p = 1; p < parts.size(); ++p)
        words.append(parts[p].data(), parts[p].size());
    stepOverEnds(r.tokens, words, true, suffixes, 2, r.tests);
    r.familyFirst = !r.options.firstLast() && r.choices.familyNameFirst && words.size() > 1 &&
                    isFamilyNameFirstScript(text);
    if (r.options.firstLast() || r.familyFirst) {
        r.head.append(words.front());
        appendIndexes(r.tail, words.data() + 1, words.size() - 1);
        if (r.reading)
            r.reading->lastName = r.tokens[words.front()].text.toString();
        return;
    }
    qsizetype start = lastNameStart(r.tokens, words, r.tests, r.choices.keepParticles);
    const qsizetype count = words.size();
    // Two family names: the last two words of four or more, when no particle run
    // already goes with the last one.
    const bool twoFamilyNames = r.choices.twoFamilyNames && count >= 4 && start == count - 1 &&
                                isFamilyNameWord(r.tokens[words[count - 1]].text, r.tests.isParticle) &&
                                isFamilyNameWord(r.tokens[words[count - 2]].text, r.tests.isParticle);
    if (twoFamilyNames)
        start = count - 2;
    appendIndexes(r.head, words.data() + start, count - start);
    appendIndexes(r.tail, words.data(), start);
    if (r.reading) {
        r.reading->lastName = twoFamilyNames ? joined(r.tokens, words, start) : r.tokens[words.back()].text.toString();
        if (!twoFamilyNames)
            r.reading->particles = joined(r.tokens, words, start, count - 1);
    }
}

// The length of the words at `which` joined by single spaces.
qsizetype joinedSize(const Tokens &tokens, const Indexes &which)
{
    qsizetype size = which.isEmpty() ? 0 : which.size() - 1;
    for (const qsizetype t : which)
        size += tokens[t].text.size();
    return size;
}

// Writes the words at `which` joined by single spaces at `out`, and tells where they end.
QChar *writeWords(QChar *out, const Tokens &tokens, const Indexes &which)
{
    for (qsizetype i = 0; i < which.size(); ++i) {
        if (i > 0)
            *out++ = kSpace;
        const QStringView word = tokens[which[i]].text;
        out = std::copy(word.begin(), word.end(), out);
    }
    return out;
}

// The order in which what was stepped over follows the tail.
constexpr Kind kSteppedOrder[] = {Kind::Suffix, Kind::Title, Kind::Nickname, Kind::Mark};

// The length of what was stepped over, joined by single spaces.
qsizetype steppedSize(const Tokens &tokens)
{
    qsizetype size = -1;
    for (const Token &token : tokens) {
        if (token.kind != Kind::Word)
            size += token.text.size() + 1;
    }
    return std::max<qsizetype>(size, 0);
}

// Writes what was stepped over at `out`: suffixes first, then titles, nicknames and
// marks, each kind in the name's order.
QChar *writeStepped(QChar *out, const Tokens &tokens)
{
    bool first = true;
    for (const Kind kind : kSteppedOrder) {
        for (const Token &token : tokens) {
            if (token.kind != kind)
                continue;
            if (!first)
                *out++ = kSpace;
            first = false;
            out = std::copy(token.text.begin(), token.text.end(), out);
        }
    }
    return out;
}

// The key: head, delimiter, tail, then what was stepped over. A sort builds a million
// keys in a row: each is written at once into a text of its length, rather than
// appended to piece by piece.
void appendKey(QString &key, const Reader &r, bool stepped)
{
    const bool delimited = !r.tail.isEmpty() || stepped;
    qsizetype size = joinedSize(r.tokens, r.head);
    if (delimited)
        size += kFieldDelimiter.size() + joinedSize(r.tokens, r.tail);
    if (stepped)
        size += 1 + steppedSize(r.tokens);
    const qsizetype start = key.size();
    key.resize(start + size);
    QChar *out = writeWords(key.data() + start, r.tokens, r.head);
    if (!delimited)
        return;
    out = std::copy(kFieldDelimiter.begin(), kFieldDelimiter.end(), out);
    out = writeWords(out, r.tokens, r.tail);
    if (stepped) {
        *out++ = kSteppedMark;
        writeStepped(out, r.tokens);
    }
}

// What the reading shows beside the key: the fields, the suffixes and all that was
// stepped over, in the name's order.
void fillReading(NameReading &reading, const Reader &r)
{
    reading.sortedUnder = joined(r.tokens, r.head);
    reading.then = joined(r.tokens, r.tail);
    reading.suffix = joinedOfKind(r.tokens, Kind::Suffix);
    reading.titles = joinedOfKind(r.tokens, Kind::Title);
    reading.nicknames = joinedOfKind(r.tokens, Kind::Nickname);
    for (const Token &token : r.tokens) {
        if (token.kind == Kind::Word)
            continue;
        if (!reading.stepped.isEmpty())
            reading.stepped.append(kSpace);
        reading.stepped.append(token.text);
    }
}

} // namespace

WordReading readWords(QStringView name, const SortOptions &options, const ReadingChoices &choices,
                      const WordTests &tests, WordReading::Wanted wanted, const tables::NameParts *columns)
{
    WordReading result;
    readWordsInto(result, name, options, choices, tests, wanted, columns);
    return result;
}

void readWordsInto(WordReading &result, QStringView name, const SortOptions &options, const ReadingChoices &choices,
                   const WordTests &tests, WordReading::Wanted wanted, const tables::NameParts *columns)
{
    clearReading(result);
    const bool everything = wanted == WordReading::Wanted::Everything;
    Reader r(options, choices, tests, everything ? &result.reading : nullptr);
    // Most names are tidy already: they are read where they stand.
    QString tidied;
    QStringView text = name;
    if (!splitTidy(name, r.tokens)) {
        tidied = tidySpaces(name);
        text = tidied;
        r.tokens.clear();
        splitTidy(text, r.tokens);
    }
    if (text.isEmpty())
        return; // no key, as the option buttons have it
    if (r.tokens.isEmpty())
        return readCommasOnly(result, text, !tidied.isEmpty(), everything);
    // A title glued to the first name ("Mr.Jack") is a word of its own.
    qsizetype titleEnd = 0;
    if (!columns && isTitleGluedToWord(r.tokens.front().text, tests, &titleEnd)) {
        const Token glued = r.tokens.front();
        r.tokens.front() = {glued.text.first(titleEnd)};
        r.tokens.insert(r.tokens.begin() + 1, {glued.text.sliced(titleEnd), glued.commaAfter});
    }
    markNicknames(r.tokens);
    // Suffixes are stepped over where the reading steps over a suffix, and in the
    // First/Last reading (where they would otherwise order the rest of the name).
    const bool suffixes = options.firstLast() || options.skipsSuffixes();
    // The columns view the name itself: a name that had to be tidied is read by its commas.
    if (!tidied.isEmpty())
        columns = nullptr;
    Parts parts = columns ? columnParts(r.tokens, text, *columns, suffixes, tests)
                          : commaParts(r.tokens, suffixes, tests);
    result.reading.commaLine = readsCommaLine(r, parts, columns != nullptr);
    if (result.reading.commaLine)
        fileCommaLine(r, parts, suffixes);
    else
        filePlainWords(r, parts, text, suffixes);

    bool stepped = false;
    bool commas = false;
    for (const Token &token : r.tokens) {
        stepped = stepped || token.kind != Kind::Word;
        commas = commas || token.commaAfter;
    }
    result.ownText = !tidied.isEmpty() || stepped || result.reading.commaLine || r.familyFirst || commas;
    if (result.ownText)
        result.shown.append(tidied.isEmpty() ? name : QStringView(tidied));
    appendKey(result.key, r, stepped);
    if (everything)
        fillReading(result.reading, r);
}

} // namespace orvella::names

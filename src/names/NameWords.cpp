#include "names/NameWords.h"

#include <QVarLengthArray>

#include <algorithm>
#include <cctype>
#include <string_view>

namespace orvella::names {
namespace {

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

constexpr QChar kSpace = QLatin1Char(' ');
constexpr QChar kComma = QLatin1Char(',');

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

Tokens tokensOf(QStringView text)
{
    Tokens tokens;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != kSpace && text[i] != kComma)
            continue;
        if (i > start)
            tokens.append({text.mid(start, i - start)});
        if (i < text.size() && text[i] == kComma && !tokens.isEmpty())
            tokens.back().commaAfter = true;
        start = i + 1;
    }
    return tokens;
}

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

// Marks nicknames: every closed group of words in parentheses or quotes, unless that
// would leave no other word.
void markNicknames(Tokens &tokens)
{
    qsizetype marked = 0;
    for (qsizetype t = 0; t < tokens.size(); ++t) {
        if (closersOf(tokens[t].text.front()).isEmpty())
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

bool holdsLetterOrDigit(QStringView word)
{
    return anyCodePoint(word, [](char32_t c) { return QChar::isLetterOrNumber(c); });
}

bool isRomanNumeral(QStringView word)
{
    if (word.endsWith(QLatin1Char('.')))
        word.chop(1);
    static const char16_t *const numerals[] = {u"I",   u"II",   u"III",  u"IV",  u"V",    u"VI",  u"VII",
                                               u"VIII", u"IX",  u"X",    u"XI",  u"XII",  u"XIII", u"XIV",
                                               u"XV",  u"XVI",  u"XVII", u"XVIII", u"XIX", u"XX"};
    for (const char16_t *numeral : numerals) {
        if (word == QStringView(numeral))
            return true;
    }
    return false;
}

bool isOrdinal(QStringView word)
{
    qsizetype digits = 0;
    while (digits < word.size() && word[digits].isDigit() && word[digits].unicode() < 0x80)
        ++digits;
    if (digits == 0 || word.size() - digits != 2)
        return false;
    const QStringView ending = word.mid(digits);
    for (const char *e : {"st", "nd", "rd", "th"}) {
        if (ending.compare(QLatin1String(e), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// Junior, Senior, Esquire and their short forms, in any case, with or without periods.
bool isSuffixWord(QStringView word)
{
    char plain[8];
    qsizetype length = 0;
    for (const QChar c : word) {
        if (c == QLatin1Char('.'))
            continue;
        if (c.unicode() >= 0x80 || length == qsizetype(sizeof plain))
            return false;
        plain[length++] = char(c.toLower().unicode());
    }
    const std::string_view folded(plain, size_t(length));
    for (const char *w : {"junior", "senior", "esquire", "jr", "sr", "jnr", "snr", "esq"}) {
        if (folded == w)
            return true;
    }
    return false;
}

// Degrees and honours written after a name that the suffix list does not hold, as
// written (without periods) or all in capitals: "MBA", "M.Sc.", "OBE", "PharmD".
// Two-letter ones are left out: "MA" or "BA" may as well be a family name.
bool isPostNominal(QStringView word)
{
    char plain[8];
    qsizetype length = 0;
    bool capitals = true;
    for (const QChar c : word) {
        if (c == QLatin1Char('.'))
            continue;
        if (c.unicode() >= 0x80 || length == qsizetype(sizeof plain))
            return false;
        capitals = capitals && !c.isLower();
        plain[length++] = char(c.unicode());
    }
    const std::string_view written(plain, size_t(length));
    for (const char *w : {"MBA", "MPA", "MPH", "MSW", "MSc", "BSc", "LLB", "LLM", "DPhil", "MPhil", "PsyD", "PharmD",
                          "DMin", "ThD", "DNP", "FNP", "CNM", "LCSW", "OBE", "MBE", "CBE", "KBE", "DBE", "QC", "KC",
                          "FRCS", "FACS", "FACP", "CFA", "CFP", "PMP"}) {
        const std::string_view known(w);
        if (written == known)
            return true;
        if (capitals && written.size() == known.size() &&
            std::equal(known.begin(), known.end(), written.begin(),
                       [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == b; }))
            return true;
    }
    return false;
}

// No white space but single spaces between words.
bool tidyAlready(QStringView name)
{
    if (name.isEmpty())
        return true;
    if (name.front() == kSpace || name.back() == kSpace)
        return false;
    bool space = false;
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (u > u' ' && u < 0x80) { // most characters of most names
            space = false;
        } else if (u == u' ') {
            if (space)
                return false;
            space = true;
        } else if (c.isSpace()) {
            return false;
        } else {
            space = false;
        }
    }
    return true;
}

QString joined(const Tokens &tokens, const Indexes &which, qsizetype from = 0, qsizetype to = -1)
{
    if (to < 0)
        to = which.size();
    QString text;
    for (qsizetype i = from; i < to; ++i) {
        if (!text.isEmpty())
            text.append(kSpace);
        text.append(tokens[which[i]].text);
    }
    return text;
}

// The words stepped over, of one kind, in the name's order.
QString joinedOfKind(const Tokens &tokens, Kind kind)
{
    QString text;
    for (const Token &token : tokens) {
        if (token.kind != kind)
            continue;
        if (!text.isEmpty())
            text.append(kSpace);
        text.append(token.text);
    }
    return text;
}

// Steps over what stands at the ends of a run of words (the plain words of a name, or
// of one part of a "Last, First" line): titles at its start, words without a letter
// or digit at either end, and suffixes at its end while at least `keepBeforeSuffix`
// words stay. Always leaves one word.
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

bool lastFirstReading(const SortOptions &options)
{
    return !options.firstLast();
}

// A name's plain words in parts: between commas, or the cells of name columns.
using Parts = QVarLengthArray<Indexes, 4>;

bool allSuffixes(const Tokens &tokens, const Indexes &part, const WordTests &tests)
{
    for (const qsizetype t : part) {
        if (!isExtraSuffix(tokens[t].text, tests.isSuffix))
            return false;
    }
    return true;
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

// The parts of a name from name columns (`text` is the name the columns view): the
// last-name cell's plain words, the first and middle names', and the suffix cell's,
// which are stepped over when they are all suffixes and `suffixes`.
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

} // namespace

bool isTidy(QStringView name)
{
    return tidyAlready(name);
}

QString tidySpaces(QStringView name)
{
    QString tidy;
    tidy.reserve(name.size());
    bool space = false;
    for (const QChar c : name) {
        if (c.isSpace()) {
            space = !tidy.isEmpty();
            continue;
        }
        if (space)
            tidy.append(kSpace);
        space = false;
        tidy.append(c);
    }
    return tidy;
}

bool isExtraSuffix(QStringView word, const SuffixTest &isSuffix)
{
    if (word.isEmpty())
        return false;
    if (isSuffix && isSuffix(word))
        return true;
    if (word.contains(QLatin1Char('.')) && isSuffix && isSuffix(word.toString().remove(QLatin1Char('.'))))
        return true;
    return isOrdinal(word) || isRomanNumeral(word) || isSuffixWord(word) || isPostNominal(word);
}

bool isFamilyNameFirstScript(QStringView name)
{
    bool letters = false;
    const bool other = anyCodePoint(name, [&](char32_t c) {
        if (!QChar::isLetter(c))
            return false;
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
    // The texts keep what they have reserved, for the next name.
    result.reading = NameReading();
    result.key.resize(0);
    result.shown.resize(0);
    result.ownText = false;
    // Most names are tidy already: they are read where they stand.
    QString tidied;
    QStringView text = name;
    if (!tidyAlready(name)) {
        tidied = tidySpaces(name);
        text = tidied;
    }
    const bool lastFirst = lastFirstReading(options);
    if (text.isEmpty())
        return; // no key, as the option buttons have it

    Tokens tokens = tokensOf(text);
    if (tokens.isEmpty()) {
        // Nothing but commas (","): the name is its own one word, as the option buttons read it.
        result.key.append(text);
        result.ownText = !tidied.isEmpty();
        result.shown.append(text);
        if (wanted == WordReading::Wanted::Everything)
            result.reading.sortedUnder = result.reading.lastName = text.toString();
        return;
    }
    markNicknames(tokens);
    // Suffixes are stepped over where the reading steps over a suffix, and in the
    // First/Last reading (where they would otherwise order the rest of the name).
    const bool suffixes = options.firstLast() || options.skipsSuffixes();

    // The columns view the name itself: a name that had to be tidied is read by its commas.
    if (!tidied.isEmpty())
        columns = nullptr;
    Parts parts = columns ? columnParts(tokens, text, *columns, suffixes, tests) : commaParts(tokens, suffixes, tests);

    NameReading &reading = result.reading;
    Indexes head;
    Indexes tail;
    bool familyFirst = false;
    const bool commaLine = columns ? !parts[0].isEmpty()
                                   : choices.lastCommaFirst && parts.size() >= 2 && !parts[0].isEmpty() &&
                                         !allSuffixes(tokens, parts[1], tests);
    if (commaLine) {
        reading.commaLine = true;
        Indexes &before = parts[0];
        Indexes &given = parts[1];
        stepOverEnds(tokens, before, true, suffixes, 1, tests);
        stepOverEnds(tokens, given, true, false, 1, tests);
        if (options.firstLast() && !given.isEmpty()) {
            head.append(given.front());
            tail.append(given.data() + 1, given.size() - 1);
            tail.append(before.data(), before.size());
            if (wanted == WordReading::Wanted::Everything)
                reading.lastName = tokens[given.front()].text.toString();
        } else {
            head = before;
            tail = given;
            if (wanted == WordReading::Wanted::Everything)
                reading.lastName = joined(tokens, before);
        }
        for (qsizetype p = 2; p < parts.size(); ++p)
            tail.append(parts[p].data(), parts[p].size());
    } else {
        Indexes words;
        for (const Indexes &part : parts)
            words.append(part.data(), part.size());
        stepOverEnds(tokens, words, true, suffixes, 2, tests);
        familyFirst = lastFirst && choices.familyNameFirst && words.size() > 1 && isFamilyNameFirstScript(text);
        if (options.firstLast() || familyFirst) {
            head.append(words.front());
            tail.append(words.data() + 1, words.size() - 1);
            if (wanted == WordReading::Wanted::Everything)
                reading.lastName = tokens[words.front()].text.toString();
        } else {
            const qsizetype start = lastNameStart(tokens, words, tests, choices.keepParticles);
            head.append(words.data() + start, words.size() - start);
            tail.append(words.data(), start);
            if (wanted == WordReading::Wanted::Everything) {
                reading.lastName = tokens[words.back()].text.toString();
                reading.particles = joined(tokens, words, start, words.size() - 1);
            }
        }
    }

    bool stepped = false;
    bool commas = false;
    for (const Token &token : tokens) {
        stepped = stepped || token.kind != Kind::Word;
        commas = commas || token.commaAfter;
    }
    result.ownText = !tidied.isEmpty() || stepped || reading.commaLine || familyFirst || commas;
    if (result.ownText)
        result.shown.append(tidied.isEmpty() ? name : QStringView(tidied));

    // The key: head, delimiter, tail, then what was stepped over (suffixes first), built
    // in one text.
    QString &key = result.key;
    key.reserve(text.size() + kFieldDelimiter.size() + 1);
    const auto append = [&](const Indexes &which) {
        for (qsizetype i = 0; i < which.size(); ++i) {
            if (i > 0)
                key.append(kSpace);
            key.append(tokens[which[i]].text);
        }
    };
    append(head);
    if (!tail.isEmpty() || stepped) {
        key.append(kFieldDelimiter);
        append(tail);
        if (stepped) {
            key.append(kSteppedMark);
            bool first = true;
            for (const Kind kind : {Kind::Suffix, Kind::Title, Kind::Nickname, Kind::Mark}) {
                for (const Token &token : tokens) {
                    if (token.kind != kind)
                        continue;
                    if (!first)
                        key.append(kSpace);
                    first = false;
                    key.append(token.text);
                }
            }
        }
    }
    if (wanted == WordReading::Wanted::KeyOnly)
        return;

    reading.sortedUnder = joined(tokens, head);
    reading.then = joined(tokens, tail);
    reading.suffix = joinedOfKind(tokens, Kind::Suffix);
    for (const Token &token : tokens) {
        if (token.kind == Kind::Word)
            continue;
        if (!reading.stepped.isEmpty())
            reading.stepped.append(kSpace);
        reading.stepped.append(token.text);
    }
}

} // namespace orvella::names

// Sort keys and display names in every reading, and the key order.
//
// The input is a list of names, one per LF byte. A byte below 0x80 is that character;
// a byte from 0x80 up takes the next two bytes as one UTF-16 code unit (big-endian),
// so that any unit can occur: lone surrogates, U+FEFF, NUL, right-to-left letters.
//
// Rules checked for every name, in the three readings of the window and in First/Last
// with the last-word choice changed (which it does not use), against a model written
// from the rules for names, keys and display names:
// - the key is the one the rules build from the name's words (split at every U+0020):
//     First/Last:               w0 D w1 w2 ... wn
//     Last/First, last word:    wn D w0 ... w(n-1)
//     Last/First, suffix last:  w(n-1) wn D w0 ... w(n-2) followed by a space
//   (a one-word name is its own key; an empty name gives "");
// - the suffix test of the live list agrees with "equal after lower-casing both";
// - the display name is the key split at every delimiter, each field without spaces
//   at its ends, joined in reading order by one space, without spaces at the ends;
// - for a name whose key splits where it was joined (no "!!!TWINE!!!" in the name, and
//   no head field ending in a delimiter's beginning), the display name is the name
//   without spaces at its ends and with the one run of spaces that separates the head
//   field from the tail field shrunk to a single space, when that run lies between
//   other characters: in First/Last the run holding the first space; in Last/First
//   the run holding the last space; with a suffix skipped, the run holding the space
//   before the second-last word (none for a two-word name). Other runs stay as they are.
//   The head field of such a key is the field that was joined first.
// - keys sort in plain code-unit order, a proper prefix first, and the sort agrees
//   with a comparison sort; compareKeys agrees with that comparison in sign.
// - with "Last, First" lines and particles read (each alone and both): a name holding
//   no comma and no particle word keeps the key above; a name read as a "Last, First"
//   line holds a comma; the key (when it splits where it was joined) files the name
//   under the head and tail fields that readName gives.
// - alphabetical order (en_US) puts the keys of each reading in the order of
//   QCollator::compare (numbers by value) on head fields, then on tail fields, then
//   exact order, then input position.

#include "FuzzTargets.h"

#include "names/AlphabeticalOrder.h"
#include "names/KeySort.h"
#include "names/KeyTexts.h"
#include "names/NameReading.h"
#include "names/Particles.h"
#include "names/SortKeys.h"
#include "lists/SuffixList.h"
#include "suffixes/SuffixStore.h"

#include <unicode/ucol.h>

#include <algorithm>
#include <vector>

namespace orvella::fuzz {
namespace {

using names::kFieldDelimiter;
using names::LastWordReading;
using names::SortBy;
using names::SortOptions;
constexpr QChar kSpace = QLatin1Char(' ');

std::vector<QString> namesOf(const std::uint8_t *data, std::size_t size)
{
    std::vector<QString> names;
    QString name;
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint8_t b = data[i];
        if (b == '\n') {
            names.push_back(name);
            name.clear();
        } else if (b < 0x80) {
            name.append(QChar(char16_t(b)));
        } else if (i + 2 < size) {
            name.append(QChar(char16_t(data[i + 1] << 8 | data[i + 2])));
            i += 2;
        }
    }
    names.push_back(name);
    return names;
}

// The suffix entries: the default list, plus an empty entry and a one-letter one, so
// that an empty last word (a trailing space) and short words can be suffixes too.
QStringList suffixEntries()
{
    QStringList entries(suffixes::defaultSuffixes().begin(), suffixes::defaultSuffixes().end());
    entries << QString() << QStringLiteral("a");
    return entries;
}

// Equal to an entry after lower-casing both (the entries are lower-cased once).
bool modelIsSuffix(const QStringList &entries, QStringView word)
{
    static const QStringList lowered = [&entries] {
        QStringList all;
        for (const QString &e : entries)
            all << e.toLower();
        return all;
    }();
    return lowered.contains(word.toString().toLower());
}

QString withoutEndSpaces(QStringView text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && text[begin] == kSpace)
        ++begin;
    while (end > begin && text[end - 1] == kSpace)
        --end;
    return text.mid(begin, end - begin).toString();
}

struct ModelKey {
    QString key;
    QString head;           // the field joined first
    bool delimited = false; // the key holds the delimiter the rules put there
};

ModelKey modelKey(const QString &name, const SortOptions &o, const QStringList &suffixes)
{
    if (name.isEmpty())
        return {};
    const QStringList w = name.split(kSpace, Qt::KeepEmptyParts);
    const qsizetype n = w.size() - 1;
    ModelKey m;
    if (o.sortBy == SortBy::FirstLast) {
        m.key = m.head = w[0];
        for (qsizetype i = 1; i <= n; ++i)
            m.key += (i == 1 ? kFieldDelimiter : QString(kSpace)) + w[i];
        m.delimited = n >= 1;
        return m;
    }
    if (o.lastWord == LastWordReading::SkipSuffixes && n >= 1 && modelIsSuffix(suffixes, w[n])) {
        m.head = w[n - 1] + kSpace + w[n];
        m.key = m.head + kFieldDelimiter;
        for (qsizetype i = 0; i <= n - 2; ++i)
            m.key += w[i] + kSpace;
        m.delimited = true;
        return m;
    }
    m.key = m.head = w[n];
    for (qsizetype i = 0; i <= n - 1; ++i)
        m.key += (i == 0 ? kFieldDelimiter : QString(kSpace)) + w[i];
    m.delimited = n >= 1;
    return m;
}

QString modelReveal(const QString &key, const SortOptions &o)
{
    if (key.isEmpty())
        return {};
    const QStringList fields = key.split(kFieldDelimiter, Qt::KeepEmptyParts, Qt::CaseSensitive);
    QString name;
    if (o.sortBy == SortBy::FirstLast) {
        for (const QString &f : fields)
            name += withoutEndSpaces(f) + kSpace;
    } else {
        for (auto f = fields.rbegin(); f != fields.rend(); ++f)
            name += withoutEndSpaces(*f) + kSpace;
    }
    return withoutEndSpaces(name);
}

// The display name written straight from the name: spaces at the ends dropped, the run
// of spaces between head and tail field shrunk to one.
QString expectedShown(const QString &name, const SortOptions &o, const QStringList &suffixes)
{
    qsizetype boundary = -1; // a space of the run between head and tail field
    if (o.sortBy == SortBy::FirstLast) {
        boundary = name.indexOf(kSpace);
    } else {
        const qsizetype last = name.lastIndexOf(kSpace);
        if (o.lastWord == LastWordReading::SkipSuffixes && last >= 0 &&
            modelIsSuffix(suffixes, QStringView(name).mid(last + 1)))
            boundary = last == 0 ? -1 : name.lastIndexOf(kSpace, last - 1);
        else
            boundary = last;
    }
    QString shown = name;
    if (boundary >= 0) {
        qsizetype begin = boundary, end = boundary + 1;
        while (begin > 0 && name[begin - 1] == kSpace)
            --begin;
        while (end < name.size() && name[end] == kSpace)
            ++end;
        if (begin > 0 && end < name.size())
            shown = name.left(begin) + kSpace + name.mid(end);
    }
    return withoutEndSpaces(shown);
}

bool codeUnitLess(const QString &a, const QString &b)
{
    return std::lexicographical_compare(a.utf16(), a.utf16() + a.size(), b.utf16(), b.utf16() + b.size());
}

int sign(int value)
{
    return (value > 0) - (value < 0);
}

std::string readingName(const SortOptions &o)
{
    return std::string(o.sortBy == SortBy::FirstLast ? "First/Last" : "Last/First") +
        (o.lastWord == LastWordReading::SkipSuffixes ? ", suffixes skipped" : ", last word");
}

QStringView tailField(const QString &key)
{
    const QStringView head = names::headField(key);
    return head.size() < key.size() ? QStringView(key).mid(head.size() + kFieldDelimiter.size()) : QStringView();
}

void checkReadingChoices(const std::vector<QString> &names, const SortOptions &o, const names::SuffixTest &isSuffix)
{
    static const names::ParticleSet particles;
    const names::ParticleTest isParticle = [](QStringView word) { return particles.contains(word); };
    const std::string reading = readingName(o);
    for (const QString &name : names) {
        bool holdsParticle = false;
        for (const QString &word : name.split(kSpace))
            holdsParticle = holdsParticle || particles.contains(word);
        for (const names::ReadingChoices choices :
             {names::ReadingChoices{names::NameOrder::Exact, true, false},
              names::ReadingChoices{names::NameOrder::Exact, false, true},
              names::ReadingChoices{names::NameOrder::Exact, true, true}}) {
            bool commaLine = false;
            const QString key = names::buildReadingKey(name, o, choices, isSuffix, isParticle, &commaLine);
            const names::NameReading read = names::readName(name, o, choices, isSuffix, isParticle);
            const names::NameReading filed = names::readingOfKey(key);
            FUZZ_CHECK(read.commaLine == commaLine, reading + ": comma line disagrees for " + shown(name));
            FUZZ_CHECK(!commaLine || name.contains(QLatin1Char(',')), reading + ": comma line " + shown(name));
            // (Unless the key splits elsewhere than where it was joined, as above.)
            const bool splitsWhereJoined = !name.contains(kFieldDelimiter) &&
                (read.sortedUnder + kFieldDelimiter).indexOf(kFieldDelimiter) == read.sortedUnder.size();
            FUZZ_CHECK(!splitsWhereJoined || (filed.sortedUnder == read.sortedUnder && filed.then == read.then),
                       reading + ": key " + shown(key) + " files " + shown(name) + " apart from its reading " +
                           shown(read.sortedUnder) + " / " + shown(read.then));
            if (!name.contains(QLatin1Char(',')) && !holdsParticle)
                FUZZ_CHECK(key == names::buildSortKey(name, o, isSuffix),
                           reading + ": the choices changed the key of " + shown(name));
        }
    }
}

// A key's place as ICU merges its fields' sort keys: the head's and the tail's (the
// tail without spaces at its ends; an empty field before any other) level by level.
std::vector<uint8_t> mergedSortKey(UCollator *collator, const QString &key)
{
    const auto sortKey = [&](QStringView field) {
        std::vector<uint8_t> bytes(64);
        const auto units = reinterpret_cast<const UChar *>(field.utf16());
        int32_t length = ucol_getSortKey(collator, units, int32_t(field.size()), bytes.data() + 1,
                                         int32_t(bytes.size() - 1));
        if (std::size_t(length) + 1 > bytes.size()) {
            bytes.resize(std::size_t(length) + 1);
            length = ucol_getSortKey(collator, units, int32_t(field.size()), bytes.data() + 1, length);
        }
        bytes.resize(std::size_t(length) + 1);
        bytes[0] = field.isEmpty() ? 3 : 4;
        return bytes;
    };
    const std::vector<uint8_t> head = sortKey(names::headField(key));
    const std::vector<uint8_t> tail = sortKey(names::trimSpaces(tailField(key)));
    std::vector<uint8_t> merged(head.size() + tail.size() + 8);
    const int32_t length = ucol_mergeSortkeys(head.data(), int32_t(head.size()), tail.data(), int32_t(tail.size()),
                                              merged.data(), int32_t(merged.size()));
    merged.resize(std::size_t(length));
    return merged;
}

void checkAlphabeticalOrder(const std::vector<QString> &keys)
{
    static UCollator *collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        UCollator *c = ucol_open("en_US", &status);
        ucol_setAttribute(c, UCOL_NUMERIC_COLLATION, UCOL_ON, &status);
        return c;
    }();
    const names::KeyOrder order = names::alphabeticalOrder(keys, "en_US", {});
    std::vector<bool> seen(keys.size());
    for (const std::uint32_t at : order) {
        FUZZ_CHECK(at < keys.size() && !seen[at], "alphabetical order is no permutation");
        seen[at] = true;
    }
    for (std::size_t i = 1; i < order.size(); ++i) {
        const QString &a = keys[order[i - 1]];
        const QString &b = keys[order[i]];
        const std::vector<uint8_t> x = mergedSortKey(collator, a);
        const std::vector<uint8_t> y = mergedSortKey(collator, b);
        int c = x < y ? -1 : y < x ? 1 : 0;
        if (c == 0)
            c = names::compareKeys(a, b);
        FUZZ_CHECK(c < 0 || (c == 0 && order[i - 1] < order[i]),
                   "alphabetical order puts " + shown(a) + " before " + shown(b));
    }
}

// The names' keys in one reading, each checked against the model: the key, its
// display name, and its head field.
std::vector<QString> checkedKeys(const std::vector<QString> &names, const SortOptions &o, const QStringList &entries,
                                 const names::SuffixTest &isSuffix)
{
    const std::string reading = readingName(o);
    std::vector<QString> keys;
    for (const QString &name : names) {
        const QString key = names::buildSortKey(name, o, isSuffix);
        const ModelKey model = modelKey(name, o, entries);
        FUZZ_CHECK(key == model.key, reading + ": key of " + shown(name) + " is " + shown(key) + ", expected " +
                                         shown(model.key));
        const QString revealed = names::revealName(key, o);
        FUZZ_CHECK(revealed == modelReveal(key, o), reading + ": " + shown(key) + " reveals as " + shown(revealed) +
                                                        ", expected " + shown(modelReveal(key, o)));
        const bool splitsWhereJoined = !name.contains(kFieldDelimiter) &&
            (!model.delimited || (model.head + kFieldDelimiter).indexOf(kFieldDelimiter) == model.head.size());
        if (splitsWhereJoined) {
            const QString expected = expectedShown(name, o, entries);
            FUZZ_CHECK(revealed == expected, reading + ": " + shown(name) + " shows as " + shown(revealed) +
                                                 ", expected " + shown(expected));
            if (model.delimited)
                FUZZ_CHECK(names::headField(key) == model.head,
                           reading + ": head field of " + shown(key) + " is " +
                               shown(names::headField(key).toString()));
        }
        keys.push_back(key);
    }
    return keys;
}

} // namespace

void fuzzSortKeys(const std::uint8_t *data, std::size_t size)
{
    ensureApplication();
    static const QStringList entries = suffixEntries();
    static lists::SuffixList *live = [] {
        auto *list = new lists::SuffixList;
        list->model().appendMany(suffixEntries());
        return list;
    }();
    const names::SuffixTest isSuffix = [](QStringView word) { return live->IsSuffix(word); };

    const std::vector<QString> names = namesOf(data, size);
    for (const QString &name : names) {
        const qsizetype lastSpace = name.lastIndexOf(kSpace);
        const QStringView lastWord = QStringView(name).mid(lastSpace + 1);
        FUZZ_CHECK(live->IsSuffix(lastWord) == modelIsSuffix(entries, lastWord),
                   "suffix test disagrees for " + shown(lastWord.toString()));
    }

    // The three readings the window offers, and First/Last with the other last-word
    // choice, which must read alike.
    const SortOptions readings[] = {{SortBy::LastFirst, LastWordReading::SkipSuffixes},
                                    {SortBy::LastFirst, LastWordReading::LastWord},
                                    {SortBy::FirstLast, LastWordReading::SkipSuffixes},
                                    {SortBy::FirstLast, LastWordReading::LastWord}};
    std::vector<std::vector<QString>> keysByReading;
    for (const SortOptions &o : readings)
        keysByReading.push_back(checkedKeys(names, o, entries, isSuffix));
    FUZZ_CHECK(keysByReading[2] == keysByReading[3], "First/Last reads by the last-word choice");

    // The key order, in the three readings the window offers.
    for (std::size_t r = 0; r < 3; ++r) {
        const std::vector<QString> &keys = keysByReading[r];
        std::vector<QString> sorted = keys;
        int yields = 0;
        names::sortKeysStable(sorted, [&yields] { ++yields; });
        std::vector<QString> expected = keys;
        std::stable_sort(expected.begin(), expected.end(), codeUnitLess);
        FUZZ_CHECK(yields >= 1, "the sort did not yield");
        FUZZ_CHECK(sorted == expected, "the sort disagrees with a comparison sort on " +
                                           std::to_string(keys.size()) + " keys");
        // The same keys kept in blocks (without their first delimiter) order alike.
        names::KeyTexts texts;
        for (const QString &key : keys)
            texts.append(key);
        std::vector<QString> fromTexts;
        for (const std::uint32_t k : names::exactOrder(texts, {}))
            fromTexts.push_back(texts[k].toString());
        FUZZ_CHECK(fromTexts == expected, "keys kept in blocks sort differently");
        checkAlphabeticalOrder(keys);
        checkReadingChoices(names, readings[r], isSuffix);
        const std::size_t most = std::min<std::size_t>(keys.size(), 24);
        for (std::size_t i = 0; i < most; ++i) {
            for (std::size_t j = 0; j < most; ++j) {
                const int expectedSign = codeUnitLess(keys[i], keys[j]) ? -1 : codeUnitLess(keys[j], keys[i]) ? 1 : 0;
                FUZZ_CHECK(sign(names::compareKeys(keys[i], keys[j])) == expectedSign,
                           "compareKeys(" + shown(keys[i]) + ", " + shown(keys[j]) + ")");
                FUZZ_CHECK(sign(names::compareKeys(names::splitKey(keys[i]), names::splitKey(keys[j]))) ==
                               expectedSign,
                           "compareKeys of parts(" + shown(keys[i]) + ", " + shown(keys[j]) + ")");
            }
        }
    }
}

} // namespace orvella::fuzz

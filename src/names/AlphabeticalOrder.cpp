#include "names/AlphabeticalOrder.h"

#include "core/BackgroundWork.h"
#include "core/Failure.h"
#include "names/MsdSort.h"
#include "names/NameWords.h"
#include "names/SortKeys.h"

#include <unicode/ucol.h>

#include <algorithm>
#include <cstring>
#include <utility>

namespace orvella::names {
namespace {

using msd::Entry;

// ICU's collator for one locale, with numbers compared by value. One per thread.
class Collator {
public:
    explicit Collator(const QByteArray &locale)
    {
        UErrorCode status = U_ZERO_ERROR;
        m_collator = ucol_open(locale.constData(), &status);
        if (U_FAILURE(status) || !m_collator)
            throw core::Failure(QStringLiteral("No collation for the locale \"%1\" (%2)")
                                    .arg(QString::fromLatin1(locale), QString::fromLatin1(u_errorName(status))));
        ucol_setAttribute(m_collator, UCOL_NUMERIC_COLLATION, UCOL_ON, &status);
    }
    ~Collator() { ucol_close(m_collator); }
    Collator(const Collator &) = delete;
    Collator &operator=(const Collator &) = delete;

    // Appends a field's place in the order: an empty text comes first (as
    // QCollator::compare has it, even before a text of characters the collator
    // ignores), then the others by their sort key with its closing zero byte. Sort
    // keys hold no other zero byte, so no field's bytes begin another's.
    void appendField(QStringView text, std::vector<std::uint8_t> &bytes) const
    {
        if (text.isEmpty()) {
            bytes.push_back(kEmpty);
            return;
        }
        bytes.push_back(kNotEmpty);
        appendSortKey(text, bytes);
    }

private:
    static constexpr std::uint8_t kEmpty = 1;
    static constexpr std::uint8_t kNotEmpty = 2;

    void appendSortKey(QStringView text, std::vector<std::uint8_t> &bytes) const
    {
        const auto *units = reinterpret_cast<const UChar *>(text.utf16());
        const auto length = static_cast<int32_t>(text.size());
        const std::size_t at = bytes.size();
        bytes.resize(at + kRoom);
        int32_t needed = ucol_getSortKey(m_collator, units, length, bytes.data() + at, kRoom);
        if (needed > kRoom) {
            bytes.resize(at + static_cast<std::size_t>(needed));
            needed = ucol_getSortKey(m_collator, units, length, bytes.data() + at, needed);
        }
        bytes.resize(at + static_cast<std::size_t>(needed));
    }

    static constexpr int32_t kRoom = 256;
    UCollator *m_collator = nullptr;
};

// The collation sort keys of some fields, two bytes to a unit (the first byte high),
// so that unit order is byte order: each field's place (see appendField), then a zero
// byte to fill the last unit.
struct SortKeyPart {
    std::vector<char16_t> units;
};

// The sort keys of the first `split` fields in one part, of the others in a second.
struct SortKeySource {
    const SortKeyPart &first;
    const SortKeyPart &second;
    std::uint32_t split;
    const std::vector<std::size_t> &starts;
    const char16_t *units(std::uint32_t index) const
    {
        return (index < split ? first : second).units.data() + starts[index];
    }
    // Two bytes of a collation key to a unit: seldom below 256.
    static constexpr bool kWideOnly = true;
    template<int Units>
    std::uint64_t pack(std::uint32_t index, std::uint32_t length, qsizetype depth, char16_t &seen) const
    {
        return msd::packUnits<Units>(units(index), length, depth, seen);
    }
    int compareFrom(std::uint32_t a, std::uint32_t aLength, std::uint32_t b, std::uint32_t bLength,
                    qsizetype depth) const
    {
        return msd::compareUnitsFrom(units(a), aLength, units(b), bLength, depth);
    }
};

// The sort keys of fields from..to-1 into one part.
template<typename FieldOf>
void buildPart(FieldOf fieldOf, std::uint32_t from, std::uint32_t to, const QByteArray &locale, SortKeyPart &part,
               std::vector<std::size_t> &starts, std::vector<Entry> &entries)
{
    const Collator collator(locale);
    std::vector<std::uint8_t> bytes;
    for (std::uint32_t i = from; i < to; ++i) {
        bytes.clear();
        collator.appendField(fieldOf(i), bytes);
        if (bytes.size() % 2 != 0)
            bytes.push_back(0);
        starts[i] = part.units.size();
        for (std::size_t b = 0; b < bytes.size(); b += 2)
            part.units.push_back(static_cast<char16_t>(bytes[b] << 8 | bytes[b + 1]));
        entries[i] = {0, i, static_cast<std::uint32_t>(part.units.size() - starts[i])};
    }
}

// A field's places in the collation order, level by level: by its letters alone
// (primary), by letters and accents (secondary), and by all of its sort key (case
// too). Fields whose sort keys agree that far share a place.
struct LevelRanks {
    std::vector<std::uint32_t> primary;
    std::vector<std::uint32_t> secondary;
    std::vector<std::uint32_t> full;
};

// The byte at `at` of a sort key kept two bytes to a unit.
std::uint8_t byteAt(const char16_t *units, std::size_t at)
{
    return at % 2 == 0 ? std::uint8_t(units[at / 2] >> 8) : std::uint8_t(units[at / 2] & 0xFF);
}

// The length in bytes of a field's place up to the end of level `levels` (1 or 2):
// ICU ends each level of a sort key with a byte 01. The first byte (empty or not) is
// part of the first level.
std::size_t levelLength(const char16_t *units, std::uint32_t length, int levels)
{
    const std::size_t bytes = std::size_t(length) * 2;
    for (std::size_t at = 1; at < bytes; ++at) {
        if (byteAt(units, at) == 1 && --levels == 0)
            return at;
    }
    return bytes;
}

bool sameLevels(const char16_t *a, std::uint32_t aLength, const char16_t *b, std::uint32_t bLength, int levels)
{
    const std::size_t aBytes = levelLength(a, aLength, levels);
    if (aBytes != levelLength(b, bLength, levels))
        return false;
    for (std::size_t at = 0; at < aBytes; ++at) {
        if (byteAt(a, at) != byteAt(b, at))
            return false;
    }
    return true;
}

// The places of `count` fields in the collation order, level by level. Each field's
// sort key is made once, on two threads for many fields; one sort of the whole keys
// orders every level (a level's bytes end below any byte of a key's level).
template<typename FieldOf>
LevelRanks collationRanks(std::uint32_t count, FieldOf fieldOf, const QByteArray &locale, bool twoThreads)
{
    std::vector<Entry> entries(count);
    std::vector<std::size_t> starts(count);
    SortKeyPart first;
    SortKeyPart second;
    twoThreads = twoThreads && count >= msd::kThreadedFrom;
    const std::uint32_t split = twoThreads ? count / 2 : count;
    if (twoThreads) {
        std::future<void> other = core::startWorker([&] {
            buildPart(fieldOf, split, count, locale, second, starts, entries);
        });
        buildPart(fieldOf, 0, split, locale, first, starts, entries);
        other.get();
    } else {
        buildPart(fieldOf, 0, count, locale, first, starts, entries);
    }
    const SortKeySource source{first, second, split, starts};
    msd::MsdSorter<SortKeySource> sorter(source);
    if (twoThreads)
        msd::sortOnTwoThreads(sorter, entries);
    else
        sorter.sort(entries.data(), entries.data() + entries.size(), 0, {});

    LevelRanks ranks{std::vector<std::uint32_t>(count), std::vector<std::uint32_t>(count),
                     std::vector<std::uint32_t>(count)};
    std::uint32_t primary = 0;
    std::uint32_t secondary = 0;
    std::uint32_t full = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const Entry &e = entries[i];
        if (i > 0) {
            const Entry &before = entries[i - 1];
            const char16_t *a = source.units(before.index);
            const char16_t *b = source.units(e.index);
            const bool same = before.length == e.length && std::memcmp(a, b, e.length * sizeof(char16_t)) == 0;
            if (!same) {
                ++full;
                if (!sameLevels(a, before.length, b, e.length, 2)) {
                    ++secondary;
                    if (!sameLevels(a, before.length, b, e.length, 1))
                        ++primary;
                }
            }
        }
        ranks.primary[e.index] = primary;
        ranks.secondary[e.index] = secondary;
        ranks.full[e.index] = full;
    }
    return ranks;
}

// A key as parts, whether the run keeps its keys as strings or in blocks.
KeyParts partsOf(const std::vector<QString> &keys, std::uint32_t index)
{
    return splitKey(keys[index]);
}
KeyParts partsOf(const KeyTexts &keys, std::uint32_t index)
{
    return keys[index];
}
void prefetchKey(const std::vector<QString> &, std::uint32_t) {}
void prefetchKey(const KeyTexts &keys, std::uint32_t index)
{
    keys.prefetch(index);
}
void prefetchKeyText(const std::vector<QString> &, std::uint32_t) {}
void prefetchKeyText(const KeyTexts &keys, std::uint32_t index)
{
    keys.prefetchText(index);
}

// Walks the keys in an order in which equal fields lie side by side, and answers the
// first key of each run of equal fields.
template<typename Keys, typename FieldOf>
std::vector<std::uint32_t> firstsOfRuns(const Keys &keys, const KeyOrder &order, FieldOf fieldOf)
{
    std::vector<std::uint32_t> firsts;
    QStringView previous;
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (i + 16 < order.size())
            prefetchKey(keys, order[i + 16]);
        if (i + 8 < order.size())
            prefetchKeyText(keys, order[i + 8]);
        const QStringView field = fieldOf(order[i]);
        if (firsts.empty() || field != previous)
            firsts.push_back(order[i]);
        previous = field;
    }
    return firsts;
}

// Whether ICU opens a collator for a locale name. It opens one for nearly any name (an
// unknown one on the root collation), but not for a name longer than its buffers take
// nor for some malformed ones.
bool opensCollator(const QByteArray &locale)
{
    UErrorCode status = U_ZERO_ERROR;
    UCollator *collator = ucol_open(locale.constData(), &status);
    ucol_close(collator);
    return U_SUCCESS(status) && collator;
}

QByteArray variable(const char *name)
{
    return qEnvironmentVariable(name).toLatin1();
}

} // namespace

QByteArray collationLocaleFrom(const QByteArray &value)
{
    QByteArray name = value;
    const qsizetype cut = name.indexOf('@');
    if (cut >= 0)
        name.truncate(cut);
    const qsizetype dot = name.indexOf('.');
    if (dot >= 0)
        name.truncate(dot);
    if (name == "C" || name == "POSIX" || !opensCollator(name))
        return QByteArray("");
    return name;
}

QByteArray collationLocale()
{
    for (const char *name : {"LC_ALL", "LC_COLLATE", "LANG"}) {
        const QByteArray value = variable(name);
        if (!value.isEmpty())
            return collationLocaleFrom(value);
    }
    return QByteArray("");
}

namespace {

// The three fields alphabetical order reads from a key: the last name (the head
// without a suffix stepped over at its end), the rest of the name (the tail up to what
// was stepped over), and what was stepped over, which only breaks ties.
struct OrderFields {
    QStringView name;
    QStringView rest;
    QStringView stepped;
};

template<typename Keys>
OrderFields orderFieldsOf(const Keys &keys, const std::vector<std::uint8_t> &headSuffixes, std::uint32_t k)
{
    const KeyParts key = partsOf(keys, k);
    OrderFields fields{key.head, key.tail, {}};
    // Only a run that stepped over words marks its tails (it notes no head suffixes).
    const qsizetype mark = headSuffixes.empty() ? key.tail.indexOf(kSteppedMark) : -1;
    if (mark >= 0) {
        fields.rest = key.tail.first(mark);
        fields.stepped = key.tail.sliced(mark + 1);
    }
    // A stepped-over suffix leaves a space at the tail's end ("Aaron " of "Aaron King
    // Jr."); without it the rest ties with "Aaron King"'s, as it should.
    fields.rest = trimSpaces(fields.rest);
    const qsizetype suffix = k < headSuffixes.size() ? headSuffixes[k] : 0;
    if (suffix > 0 && suffix <= key.head.size()) {
        fields.name = key.head.chopped(suffix);
        fields.stepped = key.head.last(suffix - 1);
    }
    return fields;
}

// A key's places below its first level: its name's and its rest's at the second and
// third levels. Read only for keys whose names and rests tie at the first level.
struct LaterPlaces {
    std::uint32_t place[4];
};

// The places of what the few keys that have some stepped over, by key; 0 for the rest.
class SteppedPlaces {
public:
    void add(std::uint32_t k, std::uint32_t place) { m_places.push_back({k, place}); }
    void sortByKey() { std::sort(m_places.begin(), m_places.end()); }
    std::uint32_t of(std::uint32_t k) const
    {
        const auto found = std::lower_bound(m_places.begin(), m_places.end(), std::pair<std::uint32_t, std::uint32_t>(k, 0));
        return found != m_places.end() && found->first == k ? found->second : 0;
    }

private:
    std::vector<std::pair<std::uint32_t, std::uint32_t>> m_places;
};

// The places of one field of every key, from its runs in the order byField (equal fields
// side by side, mostly): level by level when `levels`, else by the whole sort key only.
// Calls place(k, primary, secondary, full) for each key.
template<typename Keys, typename FieldOf, typename Place>
void placeField(const Keys &keys, const KeyOrder &byField, FieldOf fieldOf, const QByteArray &locale,
                bool twoThreads, Place place)
{
    const auto count = static_cast<std::uint32_t>(byField.size());
    std::vector<std::uint32_t> firsts = firstsOfRuns(keys, byField, fieldOf);
    const LevelRanks ranks = collationRanks(
        std::uint32_t(firsts.size()), [&](std::uint32_t run) { return fieldOf(firsts[run]); }, locale, twoThreads);
    // The runs follow one another in byField, each starting at its first key.
    std::uint32_t run = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t k = byField[i];
        if (run + 1 < firsts.size() && k == firsts[run + 1])
            ++run;
        place(k, ranks.primary[run], ranks.secondary[run], ranks.full[run]);
    }
}

// The whole work of alphabeticalOrder; on this thread and, for a large list, one more.
// Rather than a collation sort key for every key, each distinct field gets one (names
// share their last and first names far more often than not), and the keys are then
// ordered by the places of their fields (the whole name's letters, accents, case, then
// what was stepped over), then by exact order.
template<typename Keys>
KeyOrder orderBySortKeys(const Keys &keys, const std::vector<std::uint8_t> &headSuffixes, const QByteArray &locale,
                         bool twoThreads)
{
    const auto count = static_cast<std::uint32_t>(keys.size());
    const auto fieldsOf = [&](std::uint32_t k) { return orderFieldsOf(keys, headSuffixes, k); };
    // Both exact orders come first: each needs a sort's working memory of its own, which
    // is then given back before the places below are made.
    // In exact order the heads of a run of keys are mostly alike too.
    KeyOrder exact = exactOrderHere(keys, KeyField::Whole, twoThreads);
    // Equal tails lie side by side in the tails' exact order, so their runs are long.
    KeyOrder byTail = exactOrderHere(keys, KeyField::Tail, twoThreads);
    // Each key's first-level places, the name's (high half) and the rest's, and its others.
    std::vector<Entry> entries(count);
    std::vector<LaterPlaces> later(count);
    SteppedPlaces steppedPlaces;
    {
        placeField(keys, byTail, [&](std::uint32_t k) { return fieldsOf(k).rest; }, locale, twoThreads,
                   [&](std::uint32_t k, std::uint32_t primary, std::uint32_t secondary, std::uint32_t full) {
                       entries[k].cache = primary;
                       later[k].place[1] = secondary;
                       later[k].place[3] = full;
                   });
        KeyOrder().swap(byTail);
        // What was stepped over, where any key has some: those keys alone, in exact order.
        KeyOrder stepped;
        for (std::uint32_t k = 0; k < count; ++k) {
            if (!fieldsOf(k).stepped.isEmpty())
                stepped.push_back(k);
        }
        if (!stepped.empty()) {
            std::sort(stepped.begin(), stepped.end(), [&](std::uint32_t a, std::uint32_t b) {
                return compareKeys(fieldsOf(a).stepped, fieldsOf(b).stepped) < 0;
            });
            placeField(keys, stepped, [&](std::uint32_t k) { return fieldsOf(k).stepped; }, locale, false,
                       [&](std::uint32_t k, std::uint32_t, std::uint32_t, std::uint32_t full) {
                           steppedPlaces.add(k, full + 1); // after every key without any
                       });
            steppedPlaces.sortByKey();
        }
    }
    placeField(keys, exact, [&](std::uint32_t k) { return fieldsOf(k).name; }, locale, twoThreads,
               [&](std::uint32_t k, std::uint32_t primary, std::uint32_t secondary, std::uint32_t full) {
                   entries[k].cache |= std::uint64_t(primary) << 32;
                   later[k].place[0] = secondary;
                   later[k].place[2] = full;
               });
    for (std::uint32_t i = 0; i < count; ++i) {
        entries[exact[i]].index = exact[i];
        entries[exact[i]].length = i; // the place in exact order, the last tie-breaker
    }
    const auto byPlaces = [&later, &steppedPlaces](const Entry &a, const Entry &b) {
        if (a.cache != b.cache)
            return a.cache < b.cache;
        const LaterPlaces &x = later[a.index];
        const LaterPlaces &y = later[b.index];
        for (int level = 0; level < 4; ++level) {
            if (x.place[level] != y.place[level])
                return x.place[level] < y.place[level];
        }
        const std::uint32_t xStepped = steppedPlaces.of(a.index);
        const std::uint32_t yStepped = steppedPlaces.of(b.index);
        if (xStepped != yStepped)
            return xStepped < yStepped;
        return a.length < b.length;
    };
    if (twoThreads && count >= msd::kThreadedFrom)
        msd::sortOnTwoThreads(entries, byPlaces);
    else
        std::sort(entries.begin(), entries.end(), byPlaces);

    KeyOrder order = std::move(exact); // reuses its memory
    for (std::uint32_t i = 0; i < count; ++i)
        order[i] = entries[i].index;
    return order;
}

template<typename Keys>
KeyOrder alphabeticalOrderOf(const Keys &keys, const std::vector<std::uint8_t> &headSuffixes,
                             const QByteArray &locale, const std::function<void()> &yield)
{
    if (yield)
        yield();
    if (keys.size() < msd::kThreadedFrom)
        return orderBySortKeys(keys, headSuffixes, locale, false);
    // Everything, the sort keys' memory included, is made and freed on the workers.
    KeyOrder order;
    core::runWhileYielding([&] { order = orderBySortKeys(keys, headSuffixes, locale, true); }, yield);
    return order;
}

} // namespace

KeyOrder alphabeticalOrder(const std::vector<QString> &keys, const QByteArray &locale,
                           const std::function<void()> &yield)
{
    return alphabeticalOrderOf(keys, {}, locale, yield);
}

KeyOrder alphabeticalOrder(const KeyTexts &keys, const QByteArray &locale, const std::function<void()> &yield)
{
    return alphabeticalOrderOf(keys, {}, locale, yield);
}

KeyOrder alphabeticalOrder(const KeyTexts &keys, const std::vector<std::uint8_t> &headSuffixes,
                           const QByteArray &locale, const std::function<void()> &yield)
{
    return alphabeticalOrderOf(keys, headSuffixes, locale, yield);
}

} // namespace orvella::names

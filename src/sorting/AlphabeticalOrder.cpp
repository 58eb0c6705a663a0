#include "sorting/AlphabeticalOrder.h"

#include "core/BackgroundWork.h"
#include "core/Failure.h"
#include "sorting/MsdSort.h"
#include "sorting/SortKeys.h"

#include <unicode/ucol.h>

#include <cstring>

namespace orvella::sorting {
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

// The places of `count` fields in the collation order: fields with equal sort keys
// share a place. Each field's sort key is made once, on two threads for many fields.
template<typename FieldOf>
std::vector<std::uint32_t> collationRanks(std::uint32_t count, FieldOf fieldOf, const QByteArray &locale,
                                          bool twoThreads)
{
    std::vector<Entry> entries(count);
    std::vector<std::size_t> starts(count);
    SortKeyPart first;
    SortKeyPart second;
    twoThreads = twoThreads && count >= msd::kThreadedFrom;
    const std::uint32_t split = twoThreads ? count / 2 : count;
    if (twoThreads) {
        std::future<void> other = std::async(std::launch::async, [&] {
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

    std::vector<std::uint32_t> ranks(count);
    std::uint32_t rank = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const Entry &e = entries[i];
        if (i > 0) {
            const Entry &before = entries[i - 1];
            const bool same = before.length == e.length &&
                std::memcmp(source.units(before.index), source.units(e.index), e.length * sizeof(char16_t)) == 0;
            if (!same)
                ++rank;
        }
        ranks[e.index] = rank;
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

// Walks the keys in an order in which equal fields lie side by side and gives each run
// of equal fields a number: called for each key with its run's number. Returns the
// first key of each run.
template<typename Keys, typename FieldOf, typename Numbered>
std::vector<std::uint32_t> numberRuns(const Keys &keys, const KeyOrder &order, FieldOf fieldOf, Numbered numbered)
{
    std::vector<std::uint32_t> firsts;
    QStringView previous;
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (i + 16 < order.size())
            prefetchKey(keys, order[i + 16]);
        const QStringView field = fieldOf(order[i]);
        if (firsts.empty() || field != previous)
            firsts.push_back(order[i]);
        previous = field;
        numbered(order[i], std::uint32_t(firsts.size() - 1));
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

// The whole work of alphabeticalOrder; on this thread and, for a large list, one more.
// Rather than a collation sort key for every key, each distinct head and tail field
// gets one (names share their last and first names far more often than not), and the
// keys are then ordered by the places of their two fields, then by exact order.
template<typename Keys>
KeyOrder orderBySortKeys(const Keys &keys, const QByteArray &locale, bool twoThreads)
{
    const auto count = static_cast<std::uint32_t>(keys.size());
    const auto headOf = [&keys](std::uint32_t k) { return partsOf(keys, k).head; };
    const auto tailOf = [&keys](std::uint32_t k) { return partsOf(keys, k).tail; };
    // Each key's head place (high half) and tail place (low half); first the number of
    // its field's run, then that run's place.
    std::vector<std::uint64_t> places(count);

    {
        const KeyOrder byTail = exactOrderHere(keys, KeyField::Tail, twoThreads);
        std::vector<std::uint32_t> firsts =
            numberRuns(keys, byTail, tailOf, [&](std::uint32_t k, std::uint32_t run) { places[k] = run; });
        const std::vector<std::uint32_t> ranks = collationRanks(
            std::uint32_t(firsts.size()), [&](std::uint32_t run) { return tailOf(firsts[run]); }, locale,
            twoThreads);
        for (std::uint64_t &place : places)
            place = ranks[place];
    }
    // In exact order the heads of a run of keys are mostly alike too; the order then
    // settles keys whose two places are alike.
    KeyOrder exact = exactOrderHere(keys, KeyField::Whole, twoThreads);
    {
        std::vector<std::uint32_t> runOf(count);
        std::vector<std::uint32_t> firsts =
            numberRuns(keys, exact, headOf, [&](std::uint32_t k, std::uint32_t run) { runOf[k] = run; });
        const std::vector<std::uint32_t> ranks = collationRanks(
            std::uint32_t(firsts.size()), [&](std::uint32_t run) { return headOf(firsts[run]); }, locale,
            twoThreads);
        for (std::uint32_t k = 0; k < count; ++k)
            places[k] |= std::uint64_t(ranks[runOf[k]]) << 32;
    }

    // Entries in exact order, each with its places and its exact position.
    std::vector<Entry> entries(count);
    for (std::uint32_t i = 0; i < count; ++i)
        entries[i] = {places[exact[i]], exact[i], i};
    std::vector<std::uint64_t>().swap(places);
    const auto byPlaces = [](const Entry &a, const Entry &b) {
        return a.cache != b.cache ? a.cache < b.cache : a.length < b.length;
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
KeyOrder alphabeticalOrderOf(const Keys &keys, const QByteArray &locale, const std::function<void()> &yield)
{
    if (yield)
        yield();
    if (keys.size() < msd::kThreadedFrom)
        return orderBySortKeys(keys, locale, false);
    // Everything, the sort keys' memory included, is made and freed on the workers.
    KeyOrder order;
    core::runWhileYielding([&] { order = orderBySortKeys(keys, locale, true); }, yield);
    return order;
}

} // namespace

KeyOrder alphabeticalOrder(const std::vector<QString> &keys, const QByteArray &locale,
                           const std::function<void()> &yield)
{
    return alphabeticalOrderOf(keys, locale, yield);
}

KeyOrder alphabeticalOrder(const KeyTexts &keys, const QByteArray &locale, const std::function<void()> &yield)
{
    return alphabeticalOrderOf(keys, locale, yield);
}

} // namespace orvella::sorting

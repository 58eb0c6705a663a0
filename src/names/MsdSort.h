#pragma once

// The sort behind both key orders, on small entries instead of the keys: each entry
// caches a few units of its key in 64 bits, packed so that integer order is unit order
// on them: eight units of a byte each where all of them are below 256 (most names),
// else four 16-bit units. Entries are ordered by their cached units; entries whose
// units tie are then ordered by the next units, and so on (a most-significant-digit
// sort that compares 64-bit integers and reads each key's units only once per level).
// Keys that end within the units read so far are settled by their length, shorter
// first, and equal keys by their input position, so the result is exactly the stable
// order of the keys' units. The keys come from a source that reads them by index.

#include "core/BackgroundWork.h"
#include "names/KeySort.h"

#include <algorithm>
#include <cstdint>
#include <future>
#include <vector>

namespace orvella::names::msd {

struct Entry {
    std::uint64_t cache;
    std::uint32_t index;
    std::uint32_t length;
};

// The units a level reads: eight narrow ones, or four wide ones.
constexpr int kNarrowUnits = 8;
constexpr int kWideUnits = 4;
constexpr std::ptrdiff_t kEntriesPerYield = 8192;
constexpr qsizetype kDeepFrom = 64;
constexpr std::ptrdiff_t kPrefetchAhead = 8;

// The units depth .. depth + Units - 1 of a key of `length` units, packed so that
// integer order is unit order; a key that ends before gives zero units. Every unit read
// is or-ed into `seen`: eight units pack rightly only if `seen` stays below 256.
template<int Units>
inline std::uint64_t packUnits(const char16_t *units, std::uint32_t length, qsizetype depth, char16_t &seen)
{
    constexpr int bits = 64 / Units;
    std::uint64_t packed = 0;
    for (qsizetype i = depth; i < depth + Units; ++i) {
        const char16_t unit = i < length ? units[i] : char16_t(0);
        seen |= unit;
        packed = (packed << bits) | unit;
    }
    return packed;
}

// The same for a key kept in parts: straight from the head field while the units lie
// in it (nearly always, as keys are mostly told apart by their head).
template<int Units>
inline std::uint64_t packUnits(const KeyParts &key, qsizetype depth, char16_t &seen)
{
    if (depth + Units <= key.head.size())
        return packUnits<Units>(key.head.utf16(), std::uint32_t(key.head.size()), depth, seen);
    constexpr int bits = 64 / Units;
    const qsizetype length = key.size();
    std::uint64_t packed = 0;
    for (qsizetype i = depth; i < depth + Units; ++i) {
        const char16_t unit = i < length ? key.unit(i) : char16_t(0);
        seen |= unit;
        packed = (packed << bits) | unit;
    }
    return packed;
}

// Key order of two keys from the unit `depth` on.
inline int compareUnitsFrom(const char16_t *a, std::uint32_t aLength, const char16_t *b, std::uint32_t bLength,
                            qsizetype depth)
{
    const auto from = [depth](const char16_t *units, std::uint32_t length) {
        return QStringView(units, length).mid(std::min<qsizetype>(depth, length));
    };
    return compareKeys(from(a, aLength), from(b, bLength));
}
inline int compareUnitsFrom(const KeyParts &a, const KeyParts &b, qsizetype depth)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = depth; i < n; ++i) {
        const char16_t ua = a.unit(i);
        const char16_t ub = b.unit(i);
        if (ua != ub)
            return ua < ub ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

struct Range {
    Entry *begin;
    Entry *end;
    qsizetype depth;
};

// Source: anything with
//   template<int Units>
//   std::uint64_t pack(std::uint32_t index, std::uint32_t length, qsizetype depth, char16_t &seen) const
//     (packUnits of the key at index, whose length is `length`),
//   optionally static constexpr bool kWideOnly (never try eight narrow units), and
//   int compareFrom(std::uint32_t a, std::uint32_t aLength, std::uint32_t b, std::uint32_t bLength,
//                   qsizetype depth) const
//     (key order of two keys from the unit `depth` on).
template<typename Source>
class MsdSorter {
public:
    // A source whose units are seldom narrow (collation keys) says so by kWideOnly.
    static constexpr int kMostUnits = requires { Source::kWideOnly; } ? kWideUnits : kNarrowUnits;

    explicit MsdSorter(const Source &keys) : m_keys(keys) {}

    // Sorts [begin, end), whose entries agree on their first `depth` code units.
    void sort(Entry *begin, Entry *end, qsizetype depth, const std::function<void()> &yield)
    {
        std::vector<Range> pending{{begin, end, depth}};
        std::ptrdiff_t sinceYield = 0;
        while (!pending.empty()) {
            const Range range = pending.back();
            pending.pop_back();
            sortLevel(range, pending);
            sinceYield += range.end - range.begin;
            if (yield && sinceYield >= kEntriesPerYield) {
                sinceYield = 0;
                yield();
            }
        }
    }

    // Orders [begin, end) by the units of one level from `depth` only; returns the runs that tie.
    void sortLevel(const Range &range, std::vector<Range> &ties) const
    {
        if (range.end - range.begin < 2)
            return;
        if (range.depth >= kDeepFrom) {
            sortByComparison(range);
            return;
        }
        sortFilled(range, fill(range.begin, range.end, range.depth, kMostUnits), ties);
    }

    // sortLevel for entries whose caches already hold `units` units from `depth`.
    void sortFilled(const Range &range, int units, std::vector<Range> &ties) const
    {
        if (range.end - range.begin < 2)
            return;
        // All alike (keys that share a long head, the field delimiter): nothing to order.
        const std::uint64_t first = range.begin->cache;
        if (std::any_of(range.begin + 1, range.end, [first](const Entry &e) { return e.cache != first; }))
            std::sort(range.begin, range.end, [](const Entry &a, const Entry &b) { return a.cache < b.cache; });
        Entry *run = range.begin;
        while (run < range.end) {
            Entry *runEnd = run + 1;
            while (runEnd < range.end && runEnd->cache == run->cache)
                ++runEnd;
            if (runEnd - run > 1)
                settleRun(run, runEnd, range.depth + units, ties);
            run = runEnd;
        }
    }

    // Caches up to `most` units from `depth` of each entry's key (eight where they are
    // narrow, else four); returns how many.
    int fill(Entry *begin, Entry *end, qsizetype depth, int most) const
    {
        if (most == kNarrowUnits && fillWith<kNarrowUnits>(begin, end, depth) < 256)
            return kNarrowUnits;
        fillWith<kWideUnits>(begin, end, depth);
        return kWideUnits;
    }

    // Entries of one run agree on their first `covered` units (a shorter key padded
    // with zero units). Keys that end there come first, shorter before longer (the
    // longer one can only hold zero units beyond), then by input position; the rest
    // still tie and go on to the next units.
    static void settleRun(Entry *begin, Entry *end, qsizetype covered, std::vector<Range> &ties)
    {
        Entry *unfinished =
            std::partition(begin, end, [covered](const Entry &e) { return e.length <= covered; });
        std::sort(begin, unfinished, [](const Entry &a, const Entry &b) {
            return a.length != b.length ? a.length < b.length : a.index < b.index;
        });
        if (end - unfinished > 1)
            ties.push_back({unfinished, end, covered});
    }

private:
    // Keys that still tie after many units (long shared prefixes) are finished with a
    // plain comparison from that depth, so that a few very long keys cannot make the
    // sort walk them a level at a time.
    void sortByComparison(const Range &range) const
    {
        const qsizetype depth = range.depth;
        std::sort(range.begin, range.end, [this, depth](const Entry &a, const Entry &b) {
            const int order = m_keys.compareFrom(a.index, a.length, b.index, b.length, depth);
            return order != 0 ? order < 0 : a.index < b.index;
        });
    }

    // Returns the or of all units read.
    template<int Units>
    char16_t fillWith(Entry *begin, Entry *end, qsizetype depth) const
    {
        char16_t seen = 0;
        if constexpr (requires(const Source &source) { source.prefetch(std::uint32_t(0), qsizetype(0), 0); }) {
            // Entries past the first level lie in sorted order, their keys all over
            // memory: the source is asked for the keys a few entries ahead, first for
            // where they lie, then for their text.
            for (Entry *e = begin; e < end; ++e) {
                if (end - e > 2 * kPrefetchAhead)
                    m_keys.prefetch(e[2 * kPrefetchAhead].index, depth, 0);
                if (end - e > kPrefetchAhead)
                    m_keys.prefetch(e[kPrefetchAhead].index, depth, 1);
                e->cache = m_keys.template pack<Units>(e->index, e->length, depth, seen);
            }
        } else {
            for (Entry *e = begin; e < end; ++e)
                e->cache = m_keys.template pack<Units>(e->index, e->length, depth, seen);
        }
        return seen;
    }

    const Source &m_keys;
};

// Below this many keys a sort runs on the calling thread; above it, the work runs on
// two worker threads while the calling thread keeps the window system going.
constexpr size_t kThreadedFrom = 20000;

// Sorts all entries on this thread and one more. The first level is shared too: the
// entries are split at a middle value of their first units into those below, those
// equal and those above, and each thread orders one side; then each finishes the runs
// that tie on its side.
template<typename Source>
void sortOnTwoThreads(MsdSorter<Source> &sorter, std::vector<Entry> &entries)
{
    Entry *const begin = entries.data();
    Entry *const end = begin + entries.size();
    if (end - begin < 2)
        return;
    const auto half = begin + (end - begin) / 2;
    constexpr int most = MsdSorter<Source>::kMostUnits;
    int units = most;
    {
        int otherUnits = most;
        std::future<void> other = core::startWorker([&] { otherUnits = sorter.fill(half, end, 0, most); });
        units = sorter.fill(begin, half, 0, most);
        other.get();
        // Both halves read alike.
        if (units != otherUnits) {
            units = kWideUnits;
            sorter.fill(otherUnits == kWideUnits ? begin : half, otherUnits == kWideUnits ? half : end, 0, kWideUnits);
        }
    }
    // The median of a sample of the cached units.
    std::vector<std::uint64_t> sample;
    const std::ptrdiff_t step = std::max<std::ptrdiff_t>(1, (end - begin) / 1024);
    for (const Entry *e = begin; e < end; e += step)
        sample.push_back(e->cache);
    std::nth_element(sample.begin(), sample.begin() + std::ptrdiff_t(sample.size() / 2), sample.end());
    const std::uint64_t middle = sample[sample.size() / 2];
    Entry *const equal = std::partition(begin, end, [middle](const Entry &e) { return e.cache < middle; });
    Entry *const above = std::partition(equal, end, [middle](const Entry &e) { return e.cache == middle; });

    auto work = [&sorter, units](Range side, Range same) {
        std::vector<Range> ties;
        sorter.sortFilled(side, units, ties);
        if (same.end - same.begin > 1)
            MsdSorter<Source>::settleRun(same.begin, same.end, units, ties);
        for (const Range &r : ties)
            sorter.sort(r.begin, r.end, r.depth, {});
    };
    // The equal entries go with the smaller side.
    const bool sameBelow = equal - begin <= end - above;
    const Range none{above, above, 0};
    const Range otherSame = sameBelow ? Range{equal, above, 0} : none;
    std::future<void> other = core::startWorker([&] { work(Range{begin, equal, 0}, otherSame); });
    work(Range{above, end, 0}, sameBelow ? none : Range{equal, above, 0});
    other.get();
}

// Sorts entries by a comparison that tells every two of them apart, on this thread and
// one more: the entries are split at a middle entry, and each thread sorts one side.
template<typename Item, typename Less>
void sortOnTwoThreads(std::vector<Item> &entries, Less less)
{
    if (entries.size() < 2)
        return;
    std::vector<Item> sample;
    const std::size_t step = std::max<std::size_t>(1, entries.size() / 1024);
    for (std::size_t i = 0; i < entries.size(); i += step)
        sample.push_back(entries[i]);
    std::nth_element(sample.begin(), sample.begin() + std::ptrdiff_t(sample.size() / 2), sample.end(), less);
    const Item middle = sample[sample.size() / 2];
    const auto split = std::partition(entries.begin(), entries.end(), [&](const Item &e) { return less(e, middle); });
    std::future<void> other = core::startWorker([&] { std::sort(entries.begin(), split, less); });
    std::sort(split, entries.end(), less);
    other.get();
}

} // namespace orvella::names::msd

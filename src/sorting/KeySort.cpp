#include "sorting/KeySort.h"

#include "core/BackgroundWork.h"

#include <algorithm>
#include <cstdint>
#include <future>

namespace orvella::sorting {
namespace {

// The sort works on small entries instead of the strings: each entry caches four code
// units of its key, packed so that integer order is key order on them. Entries are
// ordered by their cached units; entries whose units tie are then ordered by the next
// four units, and so on (a most-significant-digit sort that compares 64-bit integers
// and reads each key's text only once per four units). Keys that end within the
// units read so far are settled by their length, shorter first, and equal keys by
// their input position, so the result is exactly the stable key order.
struct Entry {
    std::uint64_t cache;
    std::uint32_t index;
    std::uint32_t length;
};

constexpr qsizetype kUnitsPerLevel = 4;
constexpr std::ptrdiff_t kEntriesPerYield = 8192;
constexpr qsizetype kDeepFrom = 64;

struct Range {
    Entry *begin;
    Entry *end;
    qsizetype depth;
};

class MsdSorter {
public:
    explicit MsdSorter(const std::vector<QString> &keys) : m_keys(keys) {}

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

    // Orders [begin, end) by the four units at `depth` only; returns the runs that tie.
    void sortLevel(const Range &range, std::vector<Range> &ties) const
    {
        if (range.end - range.begin < 2)
            return;
        if (range.depth >= kDeepFrom) {
            sortByComparison(range);
            return;
        }
        fill(range.begin, range.end, range.depth);
        std::sort(range.begin, range.end, [](const Entry &a, const Entry &b) { return a.cache < b.cache; });
        Entry *run = range.begin;
        while (run < range.end) {
            Entry *runEnd = run + 1;
            while (runEnd < range.end && runEnd->cache == run->cache)
                ++runEnd;
            if (runEnd - run > 1)
                settleRun(run, runEnd, range.depth + kUnitsPerLevel, ties);
            run = runEnd;
        }
    }

private:
    // Keys that still tie after many units (long shared prefixes) are finished with a
    // plain comparison from that depth, so that a few very long keys cannot make the
    // sort walk them four units at a time.
    void sortByComparison(const Range &range) const
    {
        const qsizetype depth = range.depth;
        std::sort(range.begin, range.end, [this, depth](const Entry &a, const Entry &b) {
            const int order = compareKeys(QStringView(m_keys[a.index]).mid(std::min<qsizetype>(depth, a.length)),
                                          QStringView(m_keys[b.index]).mid(std::min<qsizetype>(depth, b.length)));
            return order != 0 ? order < 0 : a.index < b.index;
        });
    }

    void fill(Entry *begin, Entry *end, qsizetype depth) const
    {
        for (Entry *e = begin; e < end; ++e) {
            const QString &key = m_keys[e->index];
            const char16_t *units = reinterpret_cast<const char16_t *>(key.constData());
            std::uint64_t packed = 0;
            for (qsizetype i = depth; i < depth + kUnitsPerLevel; ++i)
                packed = (packed << 16) | (i < e->length ? units[i] : 0u);
            e->cache = packed;
        }
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

    const std::vector<QString> &m_keys;
};

// Below this many keys the sort runs on the calling thread; above it, the work runs on
// two worker threads while the calling thread keeps the window system going.
constexpr size_t kThreadedFrom = 20000;

void sortOnWorkers(MsdSorter &sorter, std::vector<Entry> &entries, const std::function<void()> &yield)
{
    core::runWhileYielding(
        [&] {
            // The first level on one thread, then the tied runs shared out between two.
            std::vector<Range> ties;
            sorter.sortLevel({entries.data(), entries.data() + entries.size(), 0}, ties);
            size_t half = 0;
            size_t total = 0;
            for (const Range &r : ties)
                total += static_cast<size_t>(r.end - r.begin);
            size_t split = 0;
            while (split < ties.size() && half < total / 2) {
                half += static_cast<size_t>(ties[split].end - ties[split].begin);
                ++split;
            }
            auto work = [&sorter](std::vector<Range> ranges) {
                for (const Range &r : ranges)
                    sorter.sort(r.begin, r.end, r.depth, {});
            };
            std::future<void> other = std::async(std::launch::async, work,
                                                 std::vector<Range>(ties.begin(), ties.begin() + split));
            work(std::vector<Range>(ties.begin() + split, ties.end()));
            other.get();
        },
        yield);
}

} // namespace

int compareKeys(QStringView a, QStringView b)
{
    const qsizetype n = std::min(a.size(), b.size());
    const char16_t *pa = a.utf16();
    const char16_t *pb = b.utf16();
    for (qsizetype i = 0; i < n; ++i) {
        if (pa[i] != pb[i])
            return pa[i] < pb[i] ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

void sortKeysStable(std::vector<QString> &keys, const std::function<void()> &yield)
{
    if (yield)
        yield();
    if (keys.size() < 2)
        return;

    std::vector<Entry> entries(keys.size());
    for (std::uint32_t i = 0; i < keys.size(); ++i)
        entries[i] = {0, i, static_cast<std::uint32_t>(keys[i].size())};

    MsdSorter sorter(keys);
    if (keys.size() < kThreadedFrom)
        sorter.sort(entries.data(), entries.data() + entries.size(), 0, yield);
    else
        sortOnWorkers(sorter, entries, yield);

    std::vector<QString> sorted;
    sorted.reserve(keys.size());
    for (const Entry &entry : entries)
        sorted.push_back(std::move(keys[entry.index]));
    keys.swap(sorted);
}

} // namespace orvella::sorting

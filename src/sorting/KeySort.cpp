#include "sorting/KeySort.h"

#include "core/BackgroundWork.h"
#include "sorting/KeyTexts.h"
#include "sorting/MsdSort.h"

namespace orvella::sorting {
namespace {

using msd::Entry;

// The keys themselves as the sorter's source.
struct KeyStrings {
    const std::vector<QString> &keys;
    template<int Units>
    std::uint64_t pack(std::uint32_t index, std::uint32_t length, qsizetype depth, char16_t &seen) const
    {
        return msd::packUnits<Units>(reinterpret_cast<const char16_t *>(keys[index].constData()), length, depth,
                                     seen);
    }
    int compareFrom(std::uint32_t a, std::uint32_t aLength, std::uint32_t b, std::uint32_t bLength,
                    qsizetype depth) const
    {
        return msd::compareUnitsFrom(reinterpret_cast<const char16_t *>(keys[a].constData()), aLength,
                                     reinterpret_cast<const char16_t *>(keys[b].constData()), bLength, depth);
    }
};

// Keys kept in blocks as the sorter's source.
struct KeyTextSource {
    const KeyTexts &keys;
    template<int Units>
    std::uint64_t pack(std::uint32_t index, std::uint32_t, qsizetype depth, char16_t &seen) const
    {
        return msd::packUnits<Units>(keys[index], depth, seen);
    }
    void prefetch(std::uint32_t index, qsizetype depth, int stage) const
    {
        if (stage == 0)
            keys.prefetch(index);
        else
            keys.prefetchText(index, depth);
    }
    int compareFrom(std::uint32_t a, std::uint32_t, std::uint32_t b, std::uint32_t, qsizetype depth) const
    {
        return msd::compareUnitsFrom(keys[a], keys[b], depth);
    }
};

std::vector<Entry> sortedEntries(const std::vector<QString> &keys, const std::function<void()> &yield)
{
    std::vector<Entry> entries(keys.size());
    for (std::uint32_t i = 0; i < keys.size(); ++i)
        entries[i] = {0, i, static_cast<std::uint32_t>(keys[i].size())};

    const KeyStrings source{keys};
    msd::MsdSorter<KeyStrings> sorter(source);
    if (keys.size() < msd::kThreadedFrom)
        sorter.sort(entries.data(), entries.data() + entries.size(), 0, yield);
    else
        core::runWhileYielding([&] { msd::sortOnTwoThreads(sorter, entries); }, yield);
    return entries;
}

// The order of keys kept in blocks. The entries' memory is reserved by the caller;
// they are made, sorted and dropped on the thread that runs this.
KeyOrder orderOfTexts(const KeyTexts &keys, std::vector<Entry> entries, bool twoThreads,
                      const std::function<void()> &yield)
{
    const auto count = static_cast<std::uint32_t>(keys.size());
    for (std::uint32_t i = 0; i < count; ++i)
        entries.push_back({0, i, static_cast<std::uint32_t>(keys[i].size())});
    const KeyTextSource source{keys};
    msd::MsdSorter<KeyTextSource> sorter(source);
    if (twoThreads)
        msd::sortOnTwoThreads(sorter, entries);
    else
        sorter.sort(entries.data(), entries.data() + entries.size(), 0, yield);
    KeyOrder order(count);
    for (std::uint32_t i = 0; i < count; ++i)
        order[i] = entries[i].index;
    return order;
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

int compareKeys(const KeyParts &a, const KeyParts &b)
{
    // Head fields of one length: they decide, or, being equal, the tails do (both
    // keys then go on with the same delimiter).
    if (a.split == b.split && a.head.size() == b.head.size()) {
        const int heads = compareKeys(a.head, b.head);
        return heads != 0 || !a.split ? heads : compareKeys(a.tail, b.tail);
    }
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t ua = a.unit(i);
        const char16_t ub = b.unit(i);
        if (ua != ub)
            return ua < ub ? -1 : 1;
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

    const std::vector<Entry> entries = sortedEntries(keys, yield);
    std::vector<QString> sorted;
    sorted.reserve(keys.size());
    for (const Entry &entry : entries)
        sorted.push_back(std::move(keys[entry.index]));
    keys.swap(sorted);
}

KeyOrder exactOrder(const std::vector<QString> &keys, const std::function<void()> &yield)
{
    if (yield)
        yield();
    KeyOrder order;
    order.reserve(keys.size());
    if (keys.size() < 2) {
        for (std::uint32_t i = 0; i < keys.size(); ++i)
            order.push_back(i);
        return order;
    }
    for (const Entry &entry : sortedEntries(keys, yield))
        order.push_back(entry.index);
    return order;
}

KeyOrder exactOrder(const KeyTexts &keys, const std::function<void()> &yield)
{
    if (yield)
        yield();
    // Reserved here, so that a lack of memory shows as such before any thread starts.
    std::vector<Entry> entries;
    entries.reserve(keys.size());
    if (keys.size() < msd::kThreadedFrom)
        return orderOfTexts(keys, std::move(entries), false, yield);
    // Ten million entries take a while to make and to read back: all on the workers.
    KeyOrder order;
    core::runWhileYielding([&] { order = orderOfTexts(keys, std::move(entries), true, {}); }, yield);
    return order;
}

} // namespace orvella::sorting

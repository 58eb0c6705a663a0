#include "names/KeySort.h"

#include "core/BackgroundWork.h"
#include "names/KeyTexts.h"
#include "names/MsdSort.h"

namespace orvella::names {
namespace {

using msd::Entry;

// Keys read as one text each (strings, or the tail fields of keys kept in blocks).
template<typename ViewOf>
struct ViewSource {
    ViewOf viewOf; // QStringView(std::uint32_t index)
    template<int Units>
    std::uint64_t pack(std::uint32_t index, std::uint32_t length, qsizetype depth, char16_t &seen) const
    {
        return msd::packUnits<Units>(viewOf(index).utf16(), length, depth, seen);
    }
    int compareFrom(std::uint32_t a, std::uint32_t aLength, std::uint32_t b, std::uint32_t bLength,
                    qsizetype depth) const
    {
        return msd::compareUnitsFrom(viewOf(a).utf16(), aLength, viewOf(b).utf16(), bLength, depth);
    }
};
template<typename ViewOf>
ViewSource(ViewOf) -> ViewSource<ViewOf>;

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

// The sorted entries of `count` keys whose lengths lengthOf gives. The entries' memory
// is reserved by the caller; they are made and sorted on the thread that runs this.
template<typename Source, typename LengthOf>
std::vector<Entry> sortedEntries(const Source &source, std::uint32_t count, LengthOf lengthOf,
                                 std::vector<Entry> entries, bool twoThreads, const std::function<void()> &yield)
{
    for (std::uint32_t i = 0; i < count; ++i)
        entries.push_back({0, i, static_cast<std::uint32_t>(lengthOf(i))});
    msd::MsdSorter<Source> sorter(source);
    if (twoThreads)
        msd::sortOnTwoThreads(sorter, entries);
    else
        sorter.sort(entries.data(), entries.data() + entries.size(), 0, yield);
    return entries;
}

KeyOrder orderOfEntries(const std::vector<Entry> &entries)
{
    KeyOrder order(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        order[i] = entries[i].index;
    return order;
}

std::vector<Entry> sortedStrings(const std::vector<QString> &keys, bool twoThreads,
                                 const std::function<void()> &yield)
{
    std::vector<Entry> entries;
    entries.reserve(keys.size());
    const ViewSource source{[&keys](std::uint32_t i) { return QStringView(keys[i]); }};
    return sortedEntries(
        source, std::uint32_t(keys.size()), [&keys](std::uint32_t i) { return keys[i].size(); }, std::move(entries),
        twoThreads, yield);
}

// A large list is ordered on worker threads while the calling thread keeps calling yield.
template<typename Order>
KeyOrder onWorkers(std::size_t count, Order order, const std::function<void()> &yield)
{
    if (count < msd::kThreadedFrom)
        return order(false, yield);
    KeyOrder result;
    core::runWhileYielding([&] { result = order(true, {}); }, yield);
    return result;
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
    return msd::compareUnitsFrom(a, b, 0);
}

void sortKeysStable(std::vector<QString> &keys, const std::function<void()> &yield)
{
    if (yield)
        yield();
    if (keys.size() < 2)
        return;

    std::vector<Entry> entries;
    if (keys.size() < msd::kThreadedFrom)
        entries = sortedStrings(keys, false, yield);
    else
        core::runWhileYielding([&] { entries = sortedStrings(keys, true, {}); }, yield);
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
    return onWorkers(
        keys.size(), [&](bool twoThreads, const std::function<void()> &yieldHere) {
            return exactOrderHere(keys, KeyField::Whole, twoThreads, yieldHere);
        },
        yield);
}

KeyOrder exactOrder(const KeyTexts &keys, const std::function<void()> &yield)
{
    if (yield)
        yield();
    // Reserved here, so that a lack of memory shows as such before any thread starts
    // (a thread that cannot be started would say less); ten million entries take a
    // while to make and to read back: all on the workers.
    std::vector<Entry> entries;
    entries.reserve(keys.size());
    return onWorkers(
        keys.size(), [&](bool twoThreads, const std::function<void()> &yieldHere) {
            const KeyTextSource source{keys};
            return orderOfEntries(sortedEntries(
                source, std::uint32_t(keys.size()), [&keys](std::uint32_t i) { return keys[i].size(); },
                std::move(entries), twoThreads, yieldHere));
        },
        yield);
}

KeyOrder exactOrderHere(const KeyTexts &keys, KeyField field, bool twoThreads, const std::function<void()> &yield)
{
    std::vector<Entry> entries;
    entries.reserve(keys.size());
    const auto count = std::uint32_t(keys.size());
    if (field == KeyField::Whole) {
        const KeyTextSource source{keys};
        return orderOfEntries(sortedEntries(
            source, count, [&keys](std::uint32_t i) { return keys[i].size(); }, std::move(entries), twoThreads,
            yield));
    }
    const ViewSource source{[&keys](std::uint32_t i) { return keys[i].tail; }};
    return orderOfEntries(sortedEntries(
        source, count, [&keys](std::uint32_t i) { return keys[i].tail.size(); }, std::move(entries), twoThreads,
        yield));
}

KeyOrder exactOrderHere(const std::vector<QString> &keys, KeyField field, bool twoThreads,
                        const std::function<void()> &yield)
{
    if (field == KeyField::Whole)
        return orderOfEntries(sortedStrings(keys, twoThreads, yield));
    std::vector<QStringView> tails;
    tails.reserve(keys.size());
    for (const QString &key : keys)
        tails.push_back(splitKey(key).tail);
    std::vector<Entry> entries;
    entries.reserve(keys.size());
    const ViewSource source{[&tails](std::uint32_t i) { return tails[i]; }};
    return orderOfEntries(sortedEntries(
        source, std::uint32_t(keys.size()), [&tails](std::uint32_t i) { return tails[i].size(); },
        std::move(entries), twoThreads, yield));
}

} // namespace orvella::names

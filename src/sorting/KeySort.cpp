#include "sorting/KeySort.h"

#include <algorithm>
#include <cstdint>

namespace orvella::sorting {
namespace {

// The first four code units packed so that integer order is key order on them;
// missing units count as 0, and ties are settled by a full comparison.
std::uint64_t packedPrefix(const QString &key)
{
    std::uint64_t prefix = 0;
    const qsizetype n = std::min<qsizetype>(key.size(), 4);
    const char16_t *units = reinterpret_cast<const char16_t *>(key.constData());
    for (qsizetype i = 0; i < 4; ++i)
        prefix = (prefix << 16) | (i < n ? units[i] : 0u);
    return prefix;
}

struct Entry {
    std::uint64_t prefix;
    std::uint32_t index;
};

constexpr unsigned kComparisonsPerYield = 4096;

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
        entries[i] = {packedPrefix(keys[i]), i};

    unsigned comparisons = 0;
    const auto less = [&](const Entry &a, const Entry &b) {
        if (++comparisons == kComparisonsPerYield) {
            comparisons = 0;
            if (yield)
                yield();
        }
        if (a.prefix != b.prefix)
            return a.prefix < b.prefix;
        const int order = compareKeys(keys[a.index], keys[b.index]);
        if (order != 0)
            return order < 0;
        return a.index < b.index; // equal keys keep their input order
    };
    std::sort(entries.begin(), entries.end(), less);

    std::vector<QString> sorted;
    sorted.reserve(keys.size());
    for (const Entry &entry : entries)
        sorted.push_back(std::move(keys[entry.index]));
    keys.swap(sorted);
}

} // namespace orvella::sorting

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

// The collation sort keys of a range of keys, two bytes to a unit (the first byte
// high), so that unit order is byte order. Each key's units are the head field's
// place, then the tail field's, then a zero byte to fill the last unit.
struct SortKeyPart {
    std::vector<char16_t> units;
};

// A key as parts, whether the run keeps its keys as strings or in blocks.
KeyParts partsOf(const std::vector<QString> &keys, std::uint32_t index)
{
    return splitKey(keys[index]);
}
KeyParts partsOf(const KeyTexts &keys, std::uint32_t index)
{
    return keys[index];
}

template<typename Keys>
void buildPart(const Keys &keys, std::uint32_t from, std::uint32_t to, const QByteArray &locale,
               SortKeyPart &part, std::vector<std::size_t> &starts, std::vector<Entry> &entries)
{
    const Collator collator(locale);
    std::vector<std::uint8_t> bytes;
    std::size_t textUnits = 0;
    for (std::uint32_t i = from; i < to; ++i)
        textUnits += static_cast<std::size_t>(partsOf(keys, i).size());
    part.units.reserve(textUnits + 8 * static_cast<std::size_t>(to - from));
    for (std::uint32_t i = from; i < to; ++i) {
        const KeyParts key = partsOf(keys, i);
        bytes.clear();
        collator.appendField(key.head, bytes);
        collator.appendField(key.tail, bytes);
        if (bytes.size() % 2 != 0)
            bytes.push_back(0);
        starts[i] = part.units.size();
        for (std::size_t b = 0; b < bytes.size(); b += 2)
            part.units.push_back(static_cast<char16_t>(bytes[b] << 8 | bytes[b + 1]));
        entries[i] = {0, i, static_cast<std::uint32_t>(part.units.size() - starts[i])};
    }
}

// The sort keys of the first `split` keys in one part, of the others in a second.
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

// Entries whose sort keys are equal lie side by side; such runs go into exact key
// order, and equal keys keep their input order.
template<typename Keys>
void settleEqualSortKeys(std::vector<Entry> &entries, const SortKeySource &source, const Keys &keys)
{
    auto same = [&source](const Entry &a, const Entry &b) {
        return a.length == b.length &&
            std::memcmp(source.units(a.index), source.units(b.index), a.length * sizeof(char16_t)) == 0;
    };
    auto exactly = [&keys](const Entry &a, const Entry &b) {
        const int order = compareKeys(partsOf(keys, a.index), partsOf(keys, b.index));
        return order != 0 ? order < 0 : a.index < b.index;
    };
    std::size_t begin = 0;
    while (begin < entries.size()) {
        std::size_t end = begin + 1;
        while (end < entries.size() && same(entries[begin], entries[end]))
            ++end;
        if (end - begin > 1)
            std::sort(entries.begin() + static_cast<std::ptrdiff_t>(begin),
                      entries.begin() + static_cast<std::ptrdiff_t>(end), exactly);
        begin = end;
    }
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
    if (name == "C" || name == "POSIX")
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
template<typename Keys>
KeyOrder orderBySortKeys(const Keys &keys, const QByteArray &locale, bool twoThreads,
                         const std::function<void()> &yield)
{
    const auto count = static_cast<std::uint32_t>(keys.size());
    std::vector<Entry> entries(count);
    std::vector<std::size_t> starts(count);
    SortKeyPart first;
    SortKeyPart second;
    const std::uint32_t split = twoThreads ? count / 2 : count;
    const SortKeySource source{first, second, split, starts};
    msd::MsdSorter<SortKeySource> sorter(source);

    if (twoThreads) {
        std::future<void> other = std::async(std::launch::async, [&] {
            buildPart(keys, split, count, locale, second, starts, entries);
        });
        buildPart(keys, 0, split, locale, first, starts, entries);
        other.get();
        msd::sortOnTwoThreads(sorter, entries);
    } else {
        buildPart(keys, 0, count, locale, first, starts, entries);
        sorter.sort(entries.data(), entries.data() + entries.size(), 0, yield);
    }
    settleEqualSortKeys(entries, source, keys);

    KeyOrder order;
    order.reserve(count);
    for (const Entry &entry : entries)
        order.push_back(entry.index);
    return order;
}

template<typename Keys>
KeyOrder alphabeticalOrderOf(const Keys &keys, const QByteArray &locale, const std::function<void()> &yield)
{
    if (yield)
        yield();
    if (keys.size() < msd::kThreadedFrom)
        return orderBySortKeys(keys, locale, false, yield);
    // Everything, the sort keys' memory included, is made and freed on the workers.
    KeyOrder order;
    core::runWhileYielding([&] { order = orderBySortKeys(keys, locale, true, {}); }, yield);
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

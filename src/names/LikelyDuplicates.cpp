#include "names/LikelyDuplicates.h"

#include "names/NameWords.h"
#include "names/SortKeys.h"

#include <QHash>
#include <QVarLengthArray>

#include <algorithm>
#include <cstdint>
#include <numeric>

namespace orvella::names {

QString reasonText(DuplicateReason reason)
{
    switch (reason) {
    case DuplicateReason::SameName: return QStringLiteral("written the same");
    case DuplicateReason::Spelling: return QStringLiteral("only case, accents or spacing differ");
    case DuplicateReason::WordOrder: return QStringLiteral("the same words in another order");
    case DuplicateReason::Extras: return QStringLiteral("only a title, suffix or nickname differs");
    case DuplicateReason::Nickname: return QStringLiteral("a common nickname");
    case DuplicateReason::SameCell: return QStringLiteral("the same cell in the chosen column");
    }
    return {};
}

namespace {

constexpr int kReasons = int(DuplicateReason::SameCell) + 1;

// Names joined into groups; each group knows the loosest likeness that joined it.
class Groups {
public:
    explicit Groups(qsizetype count) : m_parent(size_t(count)), m_reason(size_t(count), -1)
    {
        std::iota(m_parent.begin(), m_parent.end(), qsizetype(0));
    }
    qsizetype root(qsizetype i)
    {
        while (m_parent[size_t(i)] != i) {
            m_parent[size_t(i)] = m_parent[size_t(m_parent[size_t(i)])];
            i = m_parent[size_t(i)];
        }
        return i;
    }
    void join(qsizetype a, qsizetype b, int reason)
    {
        a = root(a);
        b = root(b);
        if (a == b)
            return;
        if (b < a)
            std::swap(a, b);
        m_parent[size_t(b)] = a; // the earliest name stays the root
        m_reason[size_t(a)] = std::max({m_reason[size_t(a)], m_reason[size_t(b)], reason});
    }
    int reason(qsizetype root) const { return m_reason[size_t(root)]; }

private:
    std::vector<qsizetype> m_parent;
    std::vector<int> m_reason;
};

// The keys a name is compared by, one a reason, as 64-bit hashes of their texts (0:
// joins nothing): a million names keep no texts of their own.
struct Keys {
    std::uint64_t key[kReasons] = {};
};

// FNV-1a over the units of a text, 64 bits wide: the same in every run, and with a
// million names of several keys each a chance of two keys meeting by accident that is
// far below one in a million.
constexpr std::uint64_t kFnvStart = 0xCBF29CE484222325ull;
std::uint64_t addUnits(std::uint64_t hash, QStringView text)
{
    for (const QChar c : text) {
        hash = (hash ^ (c.unicode() & 0xFFu)) * 0x100000001B3ull;
        hash = (hash ^ (c.unicode() >> 8)) * 0x100000001B3ull;
    }
    return hash;
}

std::uint64_t hashOf(QStringView text)
{
    return text.isEmpty() ? 0 : std::max<std::uint64_t>(addUnits(kFnvStart, text), 1);
}

// The words of a folded name (commas ending words too) in sorted order, hashed.
std::uint64_t sortedWordsHash(QStringView folded)
{
    QVarLengthArray<QStringView, 8> words;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= folded.size(); ++i) {
        if (i < folded.size() && folded[i] != QLatin1Char(' ') && folded[i] != QLatin1Char(','))
            continue;
        if (i > start)
            words.append(folded.sliced(start, i - start));
        start = i + 1;
    }
    std::sort(words.begin(), words.end());
    std::uint64_t hash = kFnvStart;
    for (const QStringView word : words)
        hash = addUnits(hash, word) * 0x100000001B3ull ^ 0x20u; // a space between words
    return std::max<std::uint64_t>(hash, 1);
}

Keys keysOf(QStringView name, const DuplicateSearch &search)
{
    Keys k;
    const QString tidy = isTidy(name) ? name.toString() : tidySpaces(name);
    if (tidy.isEmpty())
        return k;
    k.key[int(DuplicateReason::SameName)] = hashOf(tidy);
    QString folded = foldName(tidy);
    k.key[int(DuplicateReason::WordOrder)] = sortedWordsHash(folded);
    k.key[int(DuplicateReason::Spelling)] = hashOf(folded.remove(QLatin1Char(' ')));
    // Read with titles, nicknames and suffixes stepped over, "Last, First" lines as such.
    ReadingChoices choices;
    choices.lastCommaFirst = true;
    choices.stepOverExtras = true;
    WordTests words = search.words;
    words.filedAs = nullptr;
    thread_local QString key;
    buildReadingKeyInto(key, tidy, SortOptions{}, choices, words);
    const KeyParts parts = splitKey(key);
    QStringView tail = parts.tail;
    if (const qsizetype mark = tail.indexOf(kSteppedMark); mark >= 0)
        tail = tail.first(mark);
    const QString head = foldName(trimSpaces(parts.head));
    const QString rest = foldName(trimSpaces(tail));
    k.key[int(DuplicateReason::Extras)] = hashOf(head + QLatin1Char('|') + rest);
    if (search.nicknames && !rest.isEmpty()) {
        const qsizetype space = rest.indexOf(QLatin1Char(' '));
        const QString given = space < 0 ? rest : rest.left(space);
        k.key[int(DuplicateReason::Nickname)] = hashOf(head + QLatin1Char('|') + search.nicknames->fullNameOf(given) +
                                                       (space < 0 ? QString() : rest.mid(space)));
    }
    return k;
}

} // namespace

std::vector<DuplicateGroup> findLikelyDuplicates(const DuplicateSearch &search)
{
    Groups groups(search.count);
    QHash<std::uint64_t, qsizetype> first[kReasons];
    for (int r = 0; r < int(DuplicateReason::SameCell); ++r)
        first[r].reserve(search.count);
    for (qsizetype i = 0; i < search.count; ++i) {
        if (search.yield && i % 16384 == 16383)
            search.yield();
        Keys k = keysOf(search.nameAt(i), search);
        if (search.cellAt)
            k.key[int(DuplicateReason::SameCell)] = hashOf(foldName(search.cellAt(i).trimmed()));
        for (int r = 0; r < kReasons; ++r) {
            if (k.key[r] == 0)
                continue;
            const auto at = first[r].constFind(k.key[r]);
            if (at == first[r].constEnd())
                first[r].insert(k.key[r], i);
            else
                groups.join(*at, i, r);
        }
    }
    // Each group, in the order of its first name.
    QHash<qsizetype, size_t> place;
    std::vector<DuplicateGroup> found;
    for (qsizetype i = 0; i < search.count; ++i) {
        const qsizetype root = groups.root(i);
        if (groups.reason(root) < 0)
            continue;
        const auto at = place.constFind(root);
        if (at == place.constEnd()) {
            place.insert(root, found.size());
            found.push_back({DuplicateReason(groups.reason(root)), {i}});
        } else {
            found[*at].members.push_back(i);
        }
    }
    return found;
}

} // namespace orvella::names

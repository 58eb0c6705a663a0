#include "names/LikelyDuplicates.h"

#include "names/NameWords.h"

#include <QHash>
#include <QStringList>

#include <algorithm>
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

// The keys a name is compared by, one a reason (empty: joins nothing).
struct Keys {
    QString key[kReasons];
};

QString wordsSorted(const QString &folded)
{
    QStringList words =
        QString(folded).replace(QLatin1Char(','), QLatin1Char(' ')).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    std::sort(words.begin(), words.end());
    return words.join(QLatin1Char(' '));
}

Keys keysOf(QStringView name, const DuplicateSearch &search)
{
    Keys k;
    const QString tidy = tidySpaces(name);
    if (tidy.isEmpty())
        return k;
    k.key[int(DuplicateReason::SameName)] = tidy;
    const QString folded = foldName(tidy);
    k.key[int(DuplicateReason::Spelling)] = QString(folded).remove(QLatin1Char(' '));
    k.key[int(DuplicateReason::WordOrder)] = wordsSorted(folded);
    // Read with titles, nicknames and suffixes stepped over, "Last, First" lines as such.
    ReadingChoices choices;
    choices.lastCommaFirst = true;
    choices.stepOverExtras = true;
    WordTests words = search.words;
    words.filedAs = nullptr;
    thread_local QString key;
    buildReadingKeyInto(key, tidy, SortOptions{}, choices, words);
    const NameReading read = readingOfKey(key);
    const QString head = foldName(read.sortedUnder);
    const QString tail = foldName(read.then);
    k.key[int(DuplicateReason::Extras)] = head + QLatin1Char('|') + tail;
    if (search.nicknames && !tail.isEmpty()) {
        const qsizetype space = tail.indexOf(QLatin1Char(' '));
        const QString given = space < 0 ? tail : tail.left(space);
        k.key[int(DuplicateReason::Nickname)] = head + QLatin1Char('|') + search.nicknames->fullNameOf(given) +
                                                (space < 0 ? QString() : tail.mid(space));
    }
    return k;
}

} // namespace

std::vector<DuplicateGroup> findLikelyDuplicates(const DuplicateSearch &search)
{
    Groups groups(search.count);
    QHash<QString, qsizetype> first[kReasons];
    for (qsizetype i = 0; i < search.count; ++i) {
        if (search.yield && i % 16384 == 16383)
            search.yield();
        Keys k = keysOf(search.nameAt(i), search);
        if (search.cellAt)
            k.key[int(DuplicateReason::SameCell)] = foldName(search.cellAt(i).trimmed());
        for (int r = 0; r < kReasons; ++r) {
            if (k.key[r].isEmpty())
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

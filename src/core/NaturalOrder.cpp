#include "core/NaturalOrder.h"

namespace orvella::core {

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The end of the run of digits from `at`.
qsizetype digitsEnd(QStringView text, qsizetype at)
{
    while (at < text.size() && isDigit(text[at]))
        ++at;
    return at;
}

// Two runs of digits by value: without their leading zeros, the longer is larger, and
// runs of one length compare digit by digit.
int compareNumbers(QStringView a, QStringView b)
{
    while (a.size() > 1 && a.front() == u'0')
        a = a.sliced(1);
    while (b.size() > 1 && b.front() == u'0')
        b = b.sliced(1);
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

} // namespace

int naturalCompare(QStringView a, QStringView b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            const qsizetype endA = digitsEnd(a, i);
            const qsizetype endB = digitsEnd(b, j);
            if (const int byValue = compareNumbers(a.sliced(i, endA - i), b.sliced(j, endB - j)))
                return byValue;
            i = endA;
            j = endB;
            continue;
        }
        const char32_t foldedA = a[i].toCaseFolded().unicode();
        const char32_t foldedB = b[j].toCaseFolded().unicode();
        if (foldedA != foldedB)
            return foldedA < foldedB ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size())
        return i < a.size() ? 1 : -1;
    const int exact = a.compare(b);
    return exact < 0 ? -1 : exact > 0 ? 1 : 0;
}

} // namespace orvella::core

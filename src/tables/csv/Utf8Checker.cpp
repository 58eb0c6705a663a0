#include "tables/csv/Utf8Checker.h"

#include <QtEndian>

namespace orvella::tables {

bool Utf8Checker::take(QByteArrayView bytes)
{
    constexpr quint64 kOnes = 0x0101010101010101ULL;
    constexpr quint64 kHighBits = 0x8080808080808080ULL;
    const auto *const p = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    for (;;) {
        // The continuation bytes of a character begun before.
        while (m_needed > 0) {
            if (i == size)
                return true;
            const uchar byte = p[i++];
            if (byte < m_low || byte > m_high)
                return false;
            m_low = 0x80;
            m_high = 0xBF;
            --m_needed;
        }
        // ASCII sixteen bytes at a time, as long as none is past 0x7F or a NUL.
        while (i + 16 <= size) {
            const quint64 first = qFromUnaligned<quint64>(p + i);
            const quint64 second = qFromUnaligned<quint64>(p + i + 8);
            const quint64 zeros = ((first - kOnes) & ~first) | ((second - kOnes) & ~second);
            if (((first | second | zeros) & kHighBits) != 0)
                break;
            i += 16;
        }
        if (i == size)
            return true;
        const uchar lead = p[i++];
        if (lead < 0x80) {
            if (lead == 0)
                return false;
            continue;
        }
        // The lead byte says how many continuation bytes follow, and the first of them is
        // narrowed where the shortest form, the surrogates or U+10FFFF would be passed.
        if (lead < 0xC2 || lead > 0xF4)
            return false; // a continuation byte, an overlong two-byte lead, or past U+10FFFF
        if (lead < 0xE0) {
            m_needed = 1;
        } else if (lead < 0xF0) {
            m_needed = 2;
            m_low = lead == 0xE0 ? 0xA0 : 0x80;  // below U+0800: overlong
            m_high = lead == 0xED ? 0x9F : 0xBF; // U+D800..U+DFFF: surrogates
        } else {
            m_needed = 3;
            m_low = lead == 0xF0 ? 0x90 : 0x80;  // below U+10000: overlong
            m_high = lead == 0xF4 ? 0x8F : 0xBF; // past U+10FFFF
        }
    }
}

} // namespace orvella::tables

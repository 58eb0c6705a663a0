#include "tables/csv/Windows1252.h"

#include <algorithm>
#include <iterator>

namespace orvella::tables {
namespace {

struct HighByte {
    char16_t unit;
    unsigned char byte;
};

// The characters of 0x80 to 0x9F, by their code.
constexpr HighByte kHighBytes[] = {
    {0x0152, 0x8C}, {0x0153, 0x9C}, {0x0160, 0x8A}, {0x0161, 0x9A}, {0x0178, 0x9F}, {0x017D, 0x8E},
    {0x017E, 0x9E}, {0x0192, 0x83}, {0x02C6, 0x88}, {0x02DC, 0x98}, {0x2013, 0x96}, {0x2014, 0x97},
    {0x2018, 0x91}, {0x2019, 0x92}, {0x201A, 0x82}, {0x201C, 0x93}, {0x201D, 0x94}, {0x201E, 0x84},
    {0x2020, 0x86}, {0x2021, 0x87}, {0x2022, 0x95}, {0x2026, 0x85}, {0x2030, 0x89}, {0x2039, 0x8B},
    {0x203A, 0x9B}, {0x20AC, 0x80}, {0x2122, 0x99},
};

} // namespace

char windows1252Byte(char16_t unit)
{
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return char(unit);
    const auto found = std::lower_bound(std::begin(kHighBytes), std::end(kHighBytes), unit,
                                        [](const HighByte &high, char16_t u) { return high.unit < u; });
    return found != std::end(kHighBytes) && found->unit == unit ? char(found->byte) : char(0);
}

qsizetype firstOutsideWindows1252(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (windows1252Byte(text[i].unicode()) == 0)
            return i;
    }
    return -1;
}

char *putWindows1252(char *out, QStringView text)
{
    for (const QChar c : text)
        *out++ = windows1252Byte(c.unicode());
    return out;
}

} // namespace orvella::tables

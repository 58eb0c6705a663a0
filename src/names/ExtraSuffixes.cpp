#include "names/NameWords.h"

#include <algorithm>
#include <cctype>
#include <string_view>

// The suffixes "Step over titles, nicknames and extra suffixes" knows beside the
// suffix list: ordinals, Roman numerals, Junior, Senior, Esquire, degrees and honours.
// Asked about the last word of most names a sort reads: the words are compared as
// they stand, against lists whose lengths are known when the program is built.
namespace orvella::names {
namespace {

using namespace std::string_view_literals;

bool isRomanNumeral(QStringView word)
{
    if (word.endsWith(QLatin1Char('.')))
        word.chop(1);
    static constexpr std::u16string_view numerals[] = {
        u"I"sv,  u"II"sv,  u"III"sv,  u"IV"sv,  u"V"sv,     u"VI"sv, u"VII"sv,
        u"VIII"sv, u"IX"sv, u"X"sv,   u"XI"sv,  u"XII"sv,   u"XIII"sv, u"XIV"sv,
        u"XV"sv, u"XVI"sv, u"XVII"sv, u"XVIII"sv, u"XIX"sv, u"XX"sv};
    const std::u16string_view written(word.utf16(), size_t(word.size()));
    return std::find(std::begin(numerals), std::end(numerals), written) != std::end(numerals);
}

bool isOrdinal(QStringView word)
{
    qsizetype digits = 0;
    while (digits < word.size() && word[digits].isDigit() && word[digits].unicode() < 0x80)
        ++digits;
    if (digits == 0 || word.size() - digits != 2)
        return false;
    const QStringView ending = word.mid(digits);
    const char16_t first = ending[0].unicode();
    const char16_t second = ending[1].unicode();
    if (first >= 0x80 || second >= 0x80) {
        // Compared as the library ignores case, which also takes the long s for an "s".
        for (const char *e : {"st", "nd", "rd", "th"}) {
            if (ending.compare(QLatin1String(e), Qt::CaseInsensitive) == 0)
                return true;
        }
        return false;
    }
    const auto lower = [](char16_t u) { return u >= u'A' && u <= u'Z' ? char16_t(u + (u'a' - u'A')) : u; };
    const char16_t units[] = {lower(first), lower(second)};
    const std::u16string_view folded(units, 2);
    return folded == u"st"sv || folded == u"nd"sv || folded == u"rd"sv || folded == u"th"sv;
}

// A word as written without its periods, when it is plain ASCII and at most eight
// characters long (no longer word is one of the suffix words or degrees below).
struct PlainWord {
    char text[8];
    size_t length = 0;
    bool capitals = true; // no lower-case letter

    bool take(QStringView word)
    {
        for (const QChar c : word) {
            if (c == QLatin1Char('.'))
                continue;
            if (c.unicode() >= 0x80 || length == sizeof text)
                return false;
            capitals = capitals && !c.isLower();
            text[length++] = char(c.unicode());
        }
        return true;
    }
    std::string_view written() const { return {text, length}; }
};

// Junior, Senior, Esquire and their short forms, in any case, with or without periods.
bool isSuffixWord(const PlainWord &word)
{
    char lowered[sizeof word.text];
    std::transform(word.text, word.text + word.length, lowered,
                   [](char c) { return c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c; });
    const std::string_view folded(lowered, word.length);
    static constexpr std::string_view words[] = {"junior"sv, "senior"sv, "esquire"sv, "jr"sv,
                                                 "sr"sv,     "jnr"sv,    "snr"sv,     "esq"sv};
    return std::find(std::begin(words), std::end(words), folded) != std::end(words);
}

// Degrees and honours written after a name that the suffix list does not hold, as
// written (without periods) or all in capitals: "MBA", "M.Sc.", "OBE", "PharmD".
// Two-letter ones are left out: "MA" or "BA" may as well be a family name.
bool isPostNominal(const PlainWord &word)
{
    static constexpr std::string_view known[] = {
        "MBA"sv,  "MPA"sv,   "MPH"sv,  "MSW"sv,    "MSc"sv,  "BSc"sv, "LLB"sv,  "LLM"sv,  "DPhil"sv, "MPhil"sv, "PsyD"sv,
        "PharmD"sv, "DMin"sv, "ThD"sv, "DNP"sv,    "FNP"sv,  "CNM"sv, "LCSW"sv, "OBE"sv,  "MBE"sv,   "CBE"sv,   "KBE"sv,
        "DBE"sv,  "QC"sv,    "KC"sv,   "FRCS"sv,   "FACS"sv, "FACP"sv, "CFA"sv, "CFP"sv,  "PMP"sv};
    const std::string_view written = word.written();
    for (const std::string_view k : known) {
        if (written.size() != k.size())
            continue;
        if (written == k)
            return true;
        if (word.capitals && std::equal(k.begin(), k.end(), written.begin(), [](char a, char b) {
                return std::toupper(static_cast<unsigned char>(a)) == b;
            }))
            return true;
    }
    return false;
}

bool containsPeriod(QStringView word)
{
    return std::find(word.begin(), word.end(), QLatin1Char('.')) != word.end();
}

} // namespace

bool isExtraSuffix(QStringView word, const SuffixTest &isSuffix)
{
    if (word.isEmpty())
        return false;
    if (isSuffix && isSuffix(word))
        return true;
    if (isSuffix && containsPeriod(word) && isSuffix(word.toString().remove(QLatin1Char('.'))))
        return true;
    if (isOrdinal(word) || isRomanNumeral(word))
        return true;
    PlainWord plain;
    return plain.take(word) && (isSuffixWord(plain) || isPostNominal(plain));
}

} // namespace orvella::names

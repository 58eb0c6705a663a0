#include "names/NameWords.h"

#include <algorithm>
#include <cctype>
#include <string_view>

// The suffixes "Step over titles, nicknames and extra suffixes" knows beside the
// suffix list: ordinals, Roman numerals, Junior, Senior, Esquire, degrees and honours.
namespace orvella::names {
namespace {

bool isRomanNumeral(QStringView word)
{
    if (word.endsWith(QLatin1Char('.')))
        word.chop(1);
    static const char16_t *const numerals[] = {u"I",   u"II",   u"III",  u"IV",  u"V",    u"VI",  u"VII",
                                               u"VIII", u"IX",  u"X",    u"XI",  u"XII",  u"XIII", u"XIV",
                                               u"XV",  u"XVI",  u"XVII", u"XVIII", u"XIX", u"XX"};
    for (const char16_t *numeral : numerals) {
        if (word == QStringView(numeral))
            return true;
    }
    return false;
}

bool isOrdinal(QStringView word)
{
    qsizetype digits = 0;
    while (digits < word.size() && word[digits].isDigit() && word[digits].unicode() < 0x80)
        ++digits;
    if (digits == 0 || word.size() - digits != 2)
        return false;
    const QStringView ending = word.mid(digits);
    for (const char *e : {"st", "nd", "rd", "th"}) {
        if (ending.compare(QLatin1String(e), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// Junior, Senior, Esquire and their short forms, in any case, with or without periods.
bool isSuffixWord(QStringView word)
{
    char plain[8];
    qsizetype length = 0;
    for (const QChar c : word) {
        if (c == QLatin1Char('.'))
            continue;
        if (c.unicode() >= 0x80 || length == qsizetype(sizeof plain))
            return false;
        plain[length++] = char(c.toLower().unicode());
    }
    const std::string_view folded(plain, size_t(length));
    for (const char *w : {"junior", "senior", "esquire", "jr", "sr", "jnr", "snr", "esq"}) {
        if (folded == w)
            return true;
    }
    return false;
}

// Degrees and honours written after a name that the suffix list does not hold, as
// written (without periods) or all in capitals: "MBA", "M.Sc.", "OBE", "PharmD".
// Two-letter ones are left out: "MA" or "BA" may as well be a family name.
bool isPostNominal(QStringView word)
{
    char plain[8];
    qsizetype length = 0;
    bool capitals = true;
    for (const QChar c : word) {
        if (c == QLatin1Char('.'))
            continue;
        if (c.unicode() >= 0x80 || length == qsizetype(sizeof plain))
            return false;
        capitals = capitals && !c.isLower();
        plain[length++] = char(c.unicode());
    }
    const std::string_view written(plain, size_t(length));
    for (const char *w : {"MBA", "MPA", "MPH", "MSW", "MSc", "BSc", "LLB", "LLM", "DPhil", "MPhil", "PsyD", "PharmD",
                          "DMin", "ThD", "DNP", "FNP", "CNM", "LCSW", "OBE", "MBE", "CBE", "KBE", "DBE", "QC", "KC",
                          "FRCS", "FACS", "FACP", "CFA", "CFP", "PMP"}) {
        const std::string_view known(w);
        if (written == known)
            return true;
        if (capitals && written.size() == known.size() &&
            std::equal(known.begin(), known.end(), written.begin(),
                       [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == b; }))
            return true;
    }
    return false;
}

} // namespace

bool isExtraSuffix(QStringView word, const SuffixTest &isSuffix)
{
    if (word.isEmpty())
        return false;
    if (isSuffix && isSuffix(word))
        return true;
    if (word.contains(QLatin1Char('.')) && isSuffix && isSuffix(word.toString().remove(QLatin1Char('.'))))
        return true;
    return isOrdinal(word) || isRomanNumeral(word) || isSuffixWord(word) || isPostNominal(word);
}

} // namespace orvella::names

#include "suffixes/SuffixStore.h"

#include "core/FieldDelimiter.h"
#include "core/SettingsStore.h"

namespace orvella::suffixes {

const QList<QString> &defaultSuffixes()
{
    static const QList<QString> entries = {
        "BVM",   "B.V.M.", "CFRE",  "CLU",   "CPA",      "C.S.C.", "CSC",   //
        "C.S.J.", "CSJ",   "D.C.",  "DC",    "D.D.",     "DD",     "D.D.S.", //
        "DDS",   "D.M.D.", "DMD",   "D.O.",  "DO",       "D.V.M.", "DVM",   //
        "Ed.D.", "EdD",    "Esq.",  "Esq",   "II",       "III",    "IV",    //
        "Inc.",  "Inc",    "J.D.",  "JD",    "Jr.",      "Jr",     "LL.D.", //
        "LLD",   "Ltd.",   "Ltd",   "M.D.",  "MD",       "O.D.",   "OD",    //
        "O.S.B.", "OSB",   "P.C.",  "PC",    "P.E.",     "PE",     "Ph.D.", //
        "PhD",   "Ret.",   "Ret",   "R.G.S", "RGS",      "R.N.",   "RN",    //
        "R.N.C.", "RNC",   "S.H.C.J.", "SHCJ", "S.J.",   "SJ",     "S.N.J.M.", //
        "SNJM",  "Sr.",    "Sr",    "S.S.M.O.", "SSMO",  "USA",    "USAF",  //
        "USAFR", "USAR",   "USCG",  "USMC",  "USMCR",    "USN",    "USNR",
    };
    return entries;
}

QString packSuffixList(const QList<QString> &entries)
{
    return entries.join(core::kFieldDelimiter);
}

QList<QString> unpackSuffixList(const QString &stored)
{
    if (stored.isEmpty())
        return {};
    return stored.split(core::kFieldDelimiter, Qt::KeepEmptyParts, Qt::CaseSensitive);
}

QList<QString> storedSuffixList(const core::SettingsStore &settings)
{
    QList<QString> entries = unpackSuffixList(settings.read(QLatin1String(kSuffixListKey), QString()));
    return entries.isEmpty() ? defaultSuffixes() : entries;
}

void saveSuffixList(const QList<QString> &entries, core::SettingsStore &settings)
{
    settings.write(QLatin1String(kSuffixListKey), packSuffixList(entries));
}

} // namespace orvella::suffixes

#include "names/Designations.h"

#include <QVarLengthArray>

namespace orvella::names {

QStringList defaultDesignations()
{
    return {
        // Architects and engineers.
        "AIA", "FAIA", "NCARB", "RIBA", "LEED AP", "LEED AP BD+C", "LEED Green Associate", "PE", "PEng", "P.Eng.",
        "SE", "CEng", "FIEE", "PMP",
        // Real estate.
        "REALTOR", "REALTOR\u00ae", "CRS", "GRI", "ABR", "SRES", "SRS", "CRB", "CCIM", "SIOR", "CPM", "RCE", "MRP",
        "PSA", "e-PRO", "ALHS",
        // Insurance and financial planning.
        "CLU", "ChFC", "CPCU", "CIC", "AAI", "ARM", "AIC", "LUTCF", "FLMI", "RHU", "REBC", "CLTC", "CRPC", "CRPS",
        "AIF", "CIMA", "CAIA", "FRM", "ChFEBC", "RICP", "FSA", "ASA", "FCAS", "ACAS", "MAAA",
        // Accounting and audit.
        "CPA", "CMA", "CIA", "CGMA", "ACCA", "FCCA", "ACA", "FCA", "CGA", "CFE", "CISA", "CISSP", "CGFM", "CITP",
        "ABV", "CVA", "PFS", "CTP",
        // Nursing and health.
        "RN", "BSN", "MSN", "APRN", "LPN", "LVN", "CNA", "CRNA", "CNS", "FNP-BC", "ANP", "PNP", "RNC", "CCRN",
        "CEN", "NP-C", "DDS", "DMD", "DVM", "DPM", "DPT", "OTR", "OTR/L", "RPh", "PA-C", "MPAS", "RD", "LD",
        "LMFT", "LPC", "LMHC", "BCBA", "CCC-SLP", "FAAP", "FACOG", "FAAFP",
        // Law and public office.
        "JD", "LLD", "attorney at law", "attorney-at-law", "counselor at law", "counsellor at law",
        "notary public", "MP", "MLA", "MSP",
        // Degrees not on the suffix list.
        "EdD", "MEd", "BEd", "MSEd", "MFA", "MArch", "BArch", "DSc", "ScD", "MEng", "BEng", "MDiv", "DDiv",
        // Phrases after a name.
        "deceased", "dec'd", "retired", "ret.", "USN ret.", "USA ret.", "USAF ret.", "USMC ret.",
    };
}

namespace {

// The text without its periods, into a buffer that keeps short texts off the heap.
using Units = QVarLengthArray<char16_t, 32>;
void withoutPeriods(QStringView text, Units &out)
{
    out.clear();
    for (const QChar c : text) {
        if (c != QLatin1Char('.'))
            out.append(c.unicode());
    }
}

std::u16string_view viewOf(const Units &units) { return {units.data(), size_t(units.size())}; }

std::u16string keyOf(const QString &text)
{
    Units units;
    withoutPeriods(text, units);
    return std::u16string(viewOf(units));
}

// Folds plain ASCII in place; false (and the units left as they were, in part) when
// some unit is not ASCII.
bool foldAscii(Units &units)
{
    for (char16_t &u : units) {
        if (u >= 0x80)
            return false;
        if (u >= u'A' && u <= u'Z')
            u = char16_t(u + (u'a' - u'A'));
    }
    return true;
}

bool hasCapital(QStringView text)
{
    for (const QChar c : text) {
        if (c.isUpper())
            return true;
    }
    return false;
}

} // namespace

DesignationSet::DesignationSet(const QStringList &entries)
{
    for (const QString &given : entries) {
        const QString entry = given.simplified();
        if (entry.isEmpty() || m_entries.contains(entry, Qt::CaseInsensitive))
            continue;
        m_entries << entry;
        m_longest = std::max(m_longest, entry.size());
        if (hasCapital(entry)) {
            m_asWritten.insert(keyOf(entry));
            m_capitals.insert(keyOf(entry.toUpper()));
        } else {
            m_anyCase.insert(keyOf(entry.toCaseFolded()));
        }
        const qsizetype space = entry.lastIndexOf(QLatin1Char(' '));
        if (space > 0)
            m_phraseEnds.insert(keyOf(entry.mid(space + 1).toCaseFolded()));
    }
}

bool DesignationSet::contains(QStringView text) const
{
    if (text.isEmpty() || text.size() > m_longest)
        return false;
    // Asked about the last word of most names a sort reads: plain ASCII is compared
    // without making new texts.
    Units units;
    withoutPeriods(text, units);
    if (m_asWritten.count(viewOf(units)))
        return true;
    bool capitals = true;
    for (const char16_t u : units)
        capitals = capitals && !QChar::isLower(u);
    if (capitals && m_capitals.count(viewOf(units)))
        return true;
    if (!foldAscii(units))
        withoutPeriods(text.toString().toCaseFolded(), units);
    return m_anyCase.count(viewOf(units)) > 0;
}

bool DesignationSet::endsPhrase(QStringView word) const
{
    if (m_phraseEnds.empty() || word.isEmpty() || word.size() > m_longest)
        return false;
    Units units;
    withoutPeriods(word, units);
    if (!foldAscii(units))
        withoutPeriods(word.toString().toCaseFolded(), units);
    return m_phraseEnds.count(viewOf(units)) > 0;
}

} // namespace orvella::names

#include "paper/FontCoverage.h"

#include "commands/PaperRows.h"

#include <QFontDatabase>

namespace orvella::paper {

FontCoverage::FontCoverage(const QFont &font) : m_font(QRawFont::fromFont(font)) {}

bool FontCoverage::anyFontHas(char32_t letter)
{
    if (!m_othersRead) {
        m_othersRead = true;
        for (const QString &family : QFontDatabase::families()) {
            const QRawFont raw = QRawFont::fromFont(QFont(family));
            if (raw.isValid())
                m_others.push_back(raw);
        }
    }
    return std::any_of(m_others.begin(), m_others.end(),
                       [letter](const QRawFont &raw) { return raw.supportsCharacter(letter); });
}

bool FontCoverage::covers(char32_t letter)
{
    // Spaces, joiners and marks of direction draw nothing and need no glyph.
    if (!QChar::isPrint(letter) || QChar::isSpace(letter) || QChar::category(letter) == QChar::Other_Format)
        return true;
    const auto known = m_known.constFind(letter);
    if (known != m_known.constEnd())
        return *known;
    const bool has = (m_font.isValid() && m_font.supportsCharacter(letter)) || anyFontHas(letter);
    m_known.insert(letter, has);
    return has;
}

bool FontCoverage::coversText(QStringView text)
{
    const QList<uint> letters = text.toUcs4();
    return std::all_of(letters.begin(), letters.end(), [this](uint letter) { return covers(char32_t(letter)); });
}

QStringList FontCoverage::namesWithout(const commands::PaperRows &rows, const std::function<void()> &yield)
{
    QStringList names;
    size_t done = 0;
    for (const commands::PaperRow &row : rows.rows) {
        if (yield && ++done % 2000 == 0)
            yield();
        QStringList texts = row.cells;
        texts << row.first << row.last << row.extra;
        for (const QString &text : texts) {
            if (!coversText(text) && !names.contains(text))
                names << text;
        }
    }
    return names;
}

} // namespace orvella::paper

#pragma once

#include <QFont>
#include <QHash>
#include <QRawFont>
#include <QStringList>
#include <functional>
#include <vector>

namespace orvella::commands {
struct PaperRows;
} // namespace orvella::commands

namespace orvella::paper {

// Whether the installed fonts can print a text's letters: the printing font or, for a
// letter it lacks, any other installed font (which the painter falls back on).
class FontCoverage {
public:
    explicit FontCoverage(const QFont &font);

    bool covers(char32_t letter);
    bool coversText(QStringView text);
    // The rows' names with a letter no installed font has, each once, in order; yield
    // runs now and then.
    QStringList namesWithout(const commands::PaperRows &rows, const std::function<void()> &yield = {});

private:
    bool anyFontHas(char32_t letter);

    QRawFont m_font;
    std::vector<QRawFont> m_others; // every installed family, read at the first need
    bool m_othersRead = false;
    QHash<char32_t, bool> m_known;
};

} // namespace orvella::paper

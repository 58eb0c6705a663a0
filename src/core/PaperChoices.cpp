#include "core/PaperChoices.h"

#include "core/WordTable.h"

#include <QLocale>
#include <utility>

namespace orvella::core {
namespace {

constexpr std::pair<const char16_t *, PaperLayout> kLayouts[] = {{u"list", PaperLayout::List},
                                                                 {u"badges", PaperLayout::Badges}};
constexpr std::pair<const char16_t *, PaperSize> kSizes[] = {{u"a4", PaperSize::A4}, {u"letter", PaperSize::Letter}};
constexpr std::pair<const char16_t *, BadgeSheet> kSheets[] = {
    {u"2x4", BadgeSheet::TwoByFour}, {u"2x5", BadgeSheet::TwoByFive}, {u"custom", BadgeSheet::Custom}};

} // namespace

int PaperChoices::sheetRows() const
{
    switch (sheet) {
    case BadgeSheet::TwoByFour:
        return 4;
    case BadgeSheet::TwoByFive:
        return 5;
    case BadgeSheet::Custom:
        break;
    }
    return qBound(1, badgeRows, 20);
}

int PaperChoices::sheetColumns() const
{
    return sheet == BadgeSheet::Custom ? qBound(1, badgeColumns, 10) : 2;
}

PaperSize localePaperSize()
{
    return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? PaperSize::Letter : PaperSize::A4;
}

QString layoutWord(PaperLayout layout) { return wordOf(layout, kLayouts); }
std::optional<PaperLayout> parseLayout(QStringView word) { return lookUpWord(word, kLayouts); }
QString paperSizeWord(PaperSize size) { return wordOf(size, kSizes); }
std::optional<PaperSize> parsePaperSize(QStringView word) { return lookUpWord(word, kSizes); }
QString badgeSheetWord(BadgeSheet sheet) { return wordOf(sheet, kSheets); }
std::optional<BadgeSheet> parseBadgeSheet(QStringView word) { return lookUpWord(word, kSheets); }

QString columnsWords(const QStringList &columns)
{
    return columns.join(u'|');
}

QStringList parseColumnsWords(QStringView words)
{
    QStringList columns;
    for (QStringView caption : words.split(u'|', Qt::SkipEmptyParts)) {
        if (!caption.trimmed().isEmpty())
            columns << caption.trimmed().toString();
    }
    return columns;
}

} // namespace orvella::core

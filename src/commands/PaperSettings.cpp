#include "commands/PaperSettings.h"

#include "commands/StoredWord.h"
#include "core/SettingsStore.h"

namespace orvella::commands {
namespace {

const QString kLayoutKey = QStringLiteral("PaperLayout");
const QString kColumnsKey = QStringLiteral("PaperColumns");
const QString kLetterHeadingsKey = QStringLiteral("PaperLetterHeadings");
const QString kGroupPagesKey = QStringLiteral("PaperGroupPages");
const QString kNamesColumnsKey = QStringLiteral("PaperNamesColumns");
const QString kCheckBoxesKey = QStringLiteral("PaperCheckBoxes");
const QString kSheetKey = QStringLiteral("PaperBadgeSheet");
const QString kBadgeRowsKey = QStringLiteral("PaperBadgeRows");
const QString kBadgeColumnsKey = QStringLiteral("PaperBadgeColumns");
const QString kBadgeMarginKey = QStringLiteral("PaperBadgeMargin");
const QString kBadgeExtraKey = QStringLiteral("PaperBadgeExtra");
const QString kSizeKey = QStringLiteral("PaperSize");
const QString kLandscapeKey = QStringLiteral("PaperLandscape");

// A whole number from low to high; anything else keeps the default.
void readNumber(int &value, const core::SettingsStore &settings, const QString &key, int low, int high)
{
    bool ok = false;
    const int stored = settings.read(key, QString()).toInt(&ok);
    if (ok && stored >= low && stored <= high)
        value = stored;
}

} // namespace

core::PaperChoices storedPaperChoices(const core::SettingsStore &settings)
{
    core::PaperChoices choices;
    choices.pageSize = core::localePaperSize();
    readStoredWord(choices.layout, settings, kLayoutKey, core::parseLayout);
    if (const QStringList columns = core::parseColumnsWords(settings.read(kColumnsKey, QString())); !columns.isEmpty())
        choices.columns = columns;
    choices.letterHeadings = core::readTruth(settings, kLetterHeadingsKey, choices.letterHeadings);
    choices.groupPages = core::readTruth(settings, kGroupPagesKey, choices.groupPages);
    readNumber(choices.namesColumns, settings, kNamesColumnsKey, 1, 3);
    choices.checkBoxes = core::readTruth(settings, kCheckBoxesKey, choices.checkBoxes);
    readStoredWord(choices.sheet, settings, kSheetKey, core::parseBadgeSheet);
    readNumber(choices.badgeRows, settings, kBadgeRowsKey, 1, 20);
    readNumber(choices.badgeColumns, settings, kBadgeColumnsKey, 1, 10);
    readNumber(choices.badgeMarginMm, settings, kBadgeMarginKey, 0, 50);
    choices.badgeExtra = settings.read(kBadgeExtraKey, QString());
    readStoredWord(choices.pageSize, settings, kSizeKey, core::parsePaperSize);
    choices.landscape = core::readTruth(settings, kLandscapeKey, choices.landscape);
    return choices;
}

void storePaperChoices(core::SettingsStore &settings, const core::PaperChoices &choices)
{
    settings.write(kLayoutKey, core::layoutWord(choices.layout));
    settings.write(kColumnsKey, core::columnsWords(choices.columns));
    settings.write(kLetterHeadingsKey, core::truthText(choices.letterHeadings));
    settings.write(kGroupPagesKey, core::truthText(choices.groupPages));
    settings.write(kNamesColumnsKey, QString::number(choices.namesColumns));
    settings.write(kCheckBoxesKey, core::truthText(choices.checkBoxes));
    settings.write(kSheetKey, core::badgeSheetWord(choices.sheet));
    settings.write(kBadgeRowsKey, QString::number(choices.badgeRows));
    settings.write(kBadgeColumnsKey, QString::number(choices.badgeColumns));
    settings.write(kBadgeMarginKey, QString::number(choices.badgeMarginMm));
    settings.write(kBadgeExtraKey, choices.badgeExtra);
    settings.write(kSizeKey, core::paperSizeWord(choices.pageSize));
    settings.write(kLandscapeKey, core::truthText(choices.landscape));
}

} // namespace orvella::commands

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

QString flag(bool on)
{
    return on ? QStringLiteral("True") : QStringLiteral("False");
}

void readFlag(bool &value, const core::SettingsStore &settings, const QString &key)
{
    const QString stored = settings.read(key, QString());
    if (stored == QLatin1String("True") || stored == QLatin1String("False"))
        value = stored == QLatin1String("True");
}

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
    readFlag(choices.letterHeadings, settings, kLetterHeadingsKey);
    readFlag(choices.groupPages, settings, kGroupPagesKey);
    readNumber(choices.namesColumns, settings, kNamesColumnsKey, 1, 3);
    readFlag(choices.checkBoxes, settings, kCheckBoxesKey);
    readStoredWord(choices.sheet, settings, kSheetKey, core::parseBadgeSheet);
    readNumber(choices.badgeRows, settings, kBadgeRowsKey, 1, 20);
    readNumber(choices.badgeColumns, settings, kBadgeColumnsKey, 1, 10);
    readNumber(choices.badgeMarginMm, settings, kBadgeMarginKey, 0, 50);
    choices.badgeExtra = settings.read(kBadgeExtraKey, QString());
    readStoredWord(choices.pageSize, settings, kSizeKey, core::parsePaperSize);
    readFlag(choices.landscape, settings, kLandscapeKey);
    return choices;
}

void storePaperChoices(core::SettingsStore &settings, const core::PaperChoices &choices)
{
    settings.write(kLayoutKey, core::layoutWord(choices.layout));
    settings.write(kColumnsKey, core::columnsWords(choices.columns));
    settings.write(kLetterHeadingsKey, flag(choices.letterHeadings));
    settings.write(kGroupPagesKey, flag(choices.groupPages));
    settings.write(kNamesColumnsKey, QString::number(choices.namesColumns));
    settings.write(kCheckBoxesKey, flag(choices.checkBoxes));
    settings.write(kSheetKey, core::badgeSheetWord(choices.sheet));
    settings.write(kBadgeRowsKey, QString::number(choices.badgeRows));
    settings.write(kBadgeColumnsKey, QString::number(choices.badgeColumns));
    settings.write(kBadgeMarginKey, QString::number(choices.badgeMarginMm));
    settings.write(kBadgeExtraKey, choices.badgeExtra);
    settings.write(kSizeKey, core::paperSizeWord(choices.pageSize));
    settings.write(kLandscapeKey, flag(choices.landscape));
}

} // namespace orvella::commands

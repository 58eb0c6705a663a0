#include "commands/ExportSettings.h"

#include "commands/StoredWord.h"
#include "core/SettingsStore.h"

namespace orvella::commands {
namespace {

const QString kNameColumnsKey = QStringLiteral("ExportNameColumns");
const QString kDelimiterKey = QStringLiteral("ExportDelimiter");
const QString kEncodingKey = QStringLiteral("ExportEncoding");
const QString kLineEndsKey = QStringLiteral("ExportLineEnds");
const QString kFormulaProtectionKey = QStringLiteral("ExportFormulaProtection");

} // namespace

core::ExportOptions storedExportOptions(const core::SettingsStore &settings)
{
    core::ExportOptions options;
    readStoredWord(options.nameColumns, settings, kNameColumnsKey, core::parseNameColumns);
    readStoredWord(options.delimiter, settings, kDelimiterKey, core::parseDelimiter);
    readStoredWord(options.encoding, settings, kEncodingKey, core::parseEncoding);
    readStoredWord(options.lineEnds, settings, kLineEndsKey, core::parseLineEnds);
    options.protectFormulas = core::readTruth(settings, kFormulaProtectionKey, true);
    return options;
}

void storeExportOptions(core::SettingsStore &settings, const core::ExportOptions &options)
{
    settings.write(kNameColumnsKey, core::nameColumnsWords(options));
    settings.write(kDelimiterKey, core::delimiterWord(options.delimiter));
    settings.write(kEncodingKey, core::encodingWord(options.encoding));
    settings.write(kLineEndsKey, core::lineEndsWord(options.lineEnds));
    settings.write(kFormulaProtectionKey, core::truthText(options.protectFormulas));
}

} // namespace orvella::commands

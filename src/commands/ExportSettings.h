#pragma once

#include "core/ExportOptions.h"

namespace orvella::core {
class SettingsStore;
} // namespace orvella::core

namespace orvella::commands {

// The Export Results dialog's choices as they were last answered, each under a key of
// its own ("ExportNameColumns" "filed-under", "ExportDelimiter" "semicolon",
// "ExportEncoding" "utf-8", "ExportLineEnds" "lf", "ExportFormulaProtection" "False"),
// in the words core::ExportOptions gives them. A key absent, or holding a word not
// known, keeps the default.
core::ExportOptions storedExportOptions(const core::SettingsStore &settings);
// Throws core::Failure when the store cannot be written.
void storeExportOptions(core::SettingsStore &settings, const core::ExportOptions &options);

} // namespace orvella::commands

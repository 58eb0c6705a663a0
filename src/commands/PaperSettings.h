#pragma once

#include "core/PaperChoices.h"

namespace orvella::core {
class SettingsStore;
} // namespace orvella::core

namespace orvella::commands {

// The paper layout's choices as they were last answered, each under a key of its own
// ("PaperLayout" "badges", "PaperColumns" "Last, First|Homeroom", "PaperSize" "letter",
// …), in the words core::PaperChoices gives them. A key absent, or holding a word not
// known, keeps the default; the page size's default is the locale's. The title is the
// file's and is not kept.
core::PaperChoices storedPaperChoices(const core::SettingsStore &settings);
// Throws core::Failure when the store cannot be written.
void storePaperChoices(core::SettingsStore &settings, const core::PaperChoices &choices);

} // namespace orvella::commands

#pragma once

#include "core/SettingsStore.h"

#include <QString>

namespace orvella::commands {

// Puts the stored word of `key` into value, read by parse (a word parse does not know,
// or none stored, keeps the value as it is).
template<typename Value, typename Parse>
void readStoredWord(Value &value, const core::SettingsStore &settings, const QString &key, Parse parse)
{
    if (const auto stored = parse(settings.read(key, QString())))
        value = *stored;
}

} // namespace orvella::commands

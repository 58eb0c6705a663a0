#include "support/MemorySettings.h"

#include "core/Failure.h"

namespace orvella::testing {

QString MemorySettings::read(const QString &key, const QString &defaultValue) const
{
    if (!unreadableKey.isEmpty() && key == unreadableKey)
        throw core::Failure(QStringLiteral("The settings file could not be read"));
    return values.value(key, defaultValue);
}

void MemorySettings::write(const QString &key, const QString &value)
{
    if (failWrites)
        throw core::Failure(QStringLiteral("The settings could not be written"));
    values.insert(key, value);
    writes << key + QLatin1Char('=') + value;
}

} // namespace orvella::testing

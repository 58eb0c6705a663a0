#include "cli/OverlaySettings.h"

namespace orvella::cli {

QString OverlaySettings::read(const QString &key, const QString &defaultValue) const
{
    if (const auto found = m_values.constFind(key); found != m_values.constEnd())
        return *found;
    return readsStored(key) ? m_stored->read(key, defaultValue) : defaultValue;
}

bool OverlaySettings::contains(const QString &key) const
{
    return m_values.contains(key) || (readsStored(key) && m_stored->contains(key));
}

} // namespace orvella::cli

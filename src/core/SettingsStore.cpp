#include "core/SettingsStore.h"

#include "core/AppInfo.h"
#include "core/Failure.h"

#include <QSettings>
#include <QStringList>

namespace orvella::core {
namespace {
QString fullKey(const QString &key)
{
    return QLatin1String(kSettingsSection) + QLatin1Char('/') + key;
}
} // namespace

QSettingsStore::QSettingsStore()
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                             QLatin1String(kSettingsApplication),
                                             QLatin1String(kProductName)))
{
}

QSettingsStore::~QSettingsStore() = default;

QString QSettingsStore::read(const QString &key, const QString &defaultValue) const
{
    const QVariant value = m_settings->value(fullKey(key));
    if (!value.isValid())
        return defaultValue;
    // A value edited by hand with bare commas comes back as a list; keep its text.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

void QSettingsStore::write(const QString &key, const QString &value)
{
    m_settings->setValue(fullKey(key), value);
    m_settings->sync();
    if (m_settings->status() != QSettings::NoError)
        throw Failure(QStringLiteral("The settings file %1 could not be written").arg(m_settings->fileName()));
}

bool QSettingsStore::contains(const QString &key) const
{
    return m_settings->contains(fullKey(key));
}

QString QSettingsStore::fileName() const
{
    return m_settings->fileName();
}

} // namespace orvella::core

#include "core/SettingsStore.h"

#include "core/AppInfo.h"
#include "core/Failure.h"
#include "core/IniText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace orvella::core {
namespace {

const QString kSection = QLatin1String(kSettingsSection);
// How long a write waits for another copy of the program to finish its own.
constexpr int kLockWaitMs = 2000;

Failure notWritten(const QString &path)
{
    return Failure(QStringLiteral("The settings file %1 could not be written").arg(path));
}

// The file's bytes: empty when there is no file, none when it cannot be read. Only a
// regular file is opened (a named pipe would block).
std::optional<QByteArray> readBytes(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QByteArray();
    if (!info.isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

std::optional<QString> valueIn(const QString &path, const QString &key)
{
    std::optional<QByteArray> bytes = readBytes(path);
    if (!bytes)
        return std::nullopt;
    return IniText(std::move(*bytes)).value(kSection, key);
}

// Reads the file as it is now, lets change edit its text and, when the text changed,
// replaces the file with it in one step.
template<typename Change>
void changeFile(const QString &path, Change &&change)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        throw notWritten(path);
    // Two copies of the program writing at the same moment would each lose the
    // other's key; a lock that cannot be had does not hold the write up for long.
    QLockFile lock(path + QStringLiteral(".lock"));
    lock.tryLock(kLockWaitMs);

    const std::optional<QByteArray> before = readBytes(path);
    if (!before)
        throw notWritten(path);
    IniText text(*before);
    change(text);
    if (text.bytes() == *before)
        return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.bytes()) != text.bytes().size() || !file.commit())
        throw notWritten(path);
}

} // namespace

IniSettingsStore::IniSettingsStore()
{
    const QString folder = QLatin1String(kSettingsApplication);
    const QString appFile = folder + QLatin1Char('/') + QLatin1String(kProductName) + QStringLiteral(".ini");
    const QString orgFile = folder + QStringLiteral(".ini");
    const QString userConfig = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    m_fileName = userConfig + QLatin1Char('/') + appFile;

    // The order in which QSettings looks: the user's files, then the system's.
    QStringList systemConfig = QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
    if (!systemConfig.isEmpty())
        systemConfig.removeFirst();
    m_readOrder << m_fileName << userConfig + QLatin1Char('/') + orgFile;
    for (const QString &dir : systemConfig)
        m_readOrder << dir + QLatin1Char('/') + appFile;
    for (const QString &dir : systemConfig)
        m_readOrder << dir + QLatin1Char('/') + orgFile;
}

std::optional<QString> IniSettingsStore::find(const QString &key) const
{
    for (const QString &path : m_readOrder) {
        if (std::optional<QString> value = valueIn(path, key))
            return value;
    }
    return std::nullopt;
}

QString IniSettingsStore::read(const QString &key, const QString &defaultValue) const
{
    return find(key).value_or(defaultValue);
}

bool IniSettingsStore::contains(const QString &key) const
{
    return find(key).has_value();
}

void IniSettingsStore::write(const QString &key, const QString &value)
{
    changeFile(m_fileName, [&](IniText &text) { text.setValue(kSection, key, value); });
}

} // namespace orvella::core

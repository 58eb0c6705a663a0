#pragma once

#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace orvella::core {

// The per-user store of text values under application "Velmora", section "Orvella".
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored text, or defaultValue when the key is absent.
    virtual QString read(const QString &key, const QString &defaultValue) const = 0;
    // Creates or replaces the value; it is on disk when this returns. Throws a
    // Failure when the store cannot be written.
    virtual void write(const QString &key, const QString &value) = 0;
    virtual bool contains(const QString &key) const = 0;
};

// The real store: readable INI files in the user's configuration folder, on Linux
// $XDG_CONFIG_HOME/Velmora/Orvella.ini, section [Orvella], in the form QSettings
// reads and writes (see IniText). A write copies the lines it does not change as they
// stand, without parsing their values, so a click on an option costs a copy of the
// file even when the suffix list in it runs to megabytes.
//
// Every read and write goes to the file as it is on disk now: a write reads it,
// changes the one key and replaces the file at once (QSaveFile), or leaves it alone
// when the key already holds that value. The new file keeps the old one's mode, owner
// and group; a write-protected file is not replaced. A write fails, leaving the file
// as it was, only when this write could not be done (the disk took only part of it,
// the file is write-protected, another copy of the program held the lock throughout
// the wait); an earlier failure or a damaged file has no bearing on it. Like
// QSettings, keys absent from the user's file are looked up in the organisation's
// file (Velmora.ini) and in the system's configuration folders.
class IniSettingsStore : public SettingsStore {
public:
    IniSettingsStore();

    QString read(const QString &key, const QString &defaultValue) const override;
    void write(const QString &key, const QString &value) override;
    bool contains(const QString &key) const override;

    QString fileName() const { return m_fileName; }

    // A write waits for another copy of the program that is writing the file: it tries
    // the lock now and then, calls yield in between (the program lets the window go on)
    // and gives up after maxWait, leaving the file as it is.
    void setLockWait(std::function<void()> yield, std::chrono::milliseconds maxWait = std::chrono::seconds(10));

private:
    std::optional<QString> find(const QString &key) const;

    QString m_fileName;
    QStringList m_readOrder; // m_fileName first, then the fallbacks
    std::function<void()> m_yield;
    std::chrono::milliseconds m_maxLockWait = std::chrono::seconds(10);
    // The changes of the write in progress and of those made while it waits, in order.
    std::vector<std::pair<QString, QString>> m_pending;
};

// A choice that is on or off, as the settings file keeps it: "True" or "False".
inline QString truthText(bool on)
{
    return on ? QStringLiteral("True") : QStringLiteral("False");
}

// The stored choice under key; `fallback` when it is neither "True" nor "False".
inline bool readTruth(const SettingsStore &settings, const QString &key, bool fallback)
{
    const QString stored = settings.read(key, QString());
    if (stored == QLatin1String("True") || stored == QLatin1String("False"))
        return stored == QLatin1String("True");
    return fallback;
}

} // namespace orvella::core

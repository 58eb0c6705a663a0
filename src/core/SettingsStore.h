#pragma once

#include <QString>
#include <memory>

class QSettings;

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

// The real store: a readable INI file in the user's configuration folder
// (on Linux $XDG_CONFIG_HOME/Velmora/Orvella.ini, section [Orvella]).
class QSettingsStore : public SettingsStore {
public:
    QSettingsStore();
    ~QSettingsStore() override;

    QString read(const QString &key, const QString &defaultValue) const override;
    void write(const QString &key, const QString &value) override;
    bool contains(const QString &key) const override;

    QString fileName() const;

private:
    std::unique_ptr<QSettings> m_settings;
};

} // namespace orvella::core

#pragma once

#include "core/SettingsStore.h"

#include <QMap>

#include <functional>

namespace orvella::cli {

// The user's stored choices (or none, with --defaults) under the command line's own:
// reads find a value set here first, then the stored one; writes stay here, so that a
// choice given on the command line never changes what the window finds next time.
class OverlaySettings : public core::SettingsStore {
public:
    explicit OverlaySettings(const core::SettingsStore *stored) : m_stored(stored) {}

    QString read(const QString &key, const QString &defaultValue) const override;
    void write(const QString &key, const QString &value) override { m_values.insert(key, value); }
    bool contains(const QString &key) const override;

    // Stored values whose keys this says are hidden read as not there (the name columns
    // remembered by the window, when the command line picks them itself).
    std::function<bool(const QString &key)> hideStored;

private:
    bool readsStored(const QString &key) const { return m_stored && !(hideStored && hideStored(key)); }

    const core::SettingsStore *m_stored;
    QMap<QString, QString> m_values;
};

} // namespace orvella::cli

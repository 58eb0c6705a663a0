#pragma once

#include "core/SettingsStore.h"

#include <QMap>
#include <QStringList>

namespace orvella::testing {

// A settings store in memory, with optional failures: of every write, or of reading
// one key.
class MemorySettings : public core::SettingsStore {
public:
    QString read(const QString &key, const QString &defaultValue) const override;
    void write(const QString &key, const QString &value) override;
    bool contains(const QString &key) const override { return values.contains(key); }

    QMap<QString, QString> values;
    QStringList writes; // "key=value" in write order
    bool failWrites = false;
    QString unreadableKey; // reading it fails as a damaged file would
};

} // namespace orvella::testing

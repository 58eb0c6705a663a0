#pragma once

#include "app/MainWindow.h"
#include "core/SettingsStore.h"
#include "support/ScriptedDesktop.h"

#include <QCoreApplication>
#include <QStringList>
#include <memory>

namespace orvella::testing {

// A settings store in memory, with an optional failure for writes.
class MemorySettings : public core::SettingsStore {
public:
    QString read(const QString &key, const QString &defaultValue) const override;
    void write(const QString &key, const QString &value) override;
    bool contains(const QString &key) const override { return values.contains(key); }

    QMap<QString, QString> values;
    QStringList writes; // "key=value" in write order
    bool failWrites = false;
};

// The real main window over the scripted desktop and an in-memory store.
struct MainWindowFixture {
    ScriptedDesktop desktop;
    MemorySettings settings;
    std::unique_ptr<app::MainWindow> window;

    MainWindowFixture();
    void fillInput(const QStringList &names);
    QStringList results() const;
    // Lets queued view updates and signals run.
    static void processEvents();
};

QStringList itemsOf(const lists::NameListModel &list);

} // namespace orvella::testing

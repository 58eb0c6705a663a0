#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <QtGlobal>

namespace orvella::testing {

// A configuration folder of the test's own, so that what it places, damages or blocks
// there touches no other test.
class ConfigHome {
public:
    ConfigHome() : m_previous(qgetenv("XDG_CONFIG_HOME")) { qputenv("XDG_CONFIG_HOME", m_dir.path().toLocal8Bit()); }
    ~ConfigHome() { qputenv("XDG_CONFIG_HOME", m_previous); }
    QString folder() const { return m_dir.path() + "/Velmora"; }
    QString settingsFile() const { return folder() + "/Orvella.ini"; }

private:
    QByteArray m_previous;
    QTemporaryDir m_dir;
};

} // namespace orvella::testing

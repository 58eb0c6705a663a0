#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

// Files the tests place, read back and damage.
namespace orvella::testing {

// Writes a whole file, making its folder first when there is none.
inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// A whole file's bytes, or "<missing>" when it cannot be read.
inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}

// The names in a folder, to see that a failed save leaves no temporary file behind.
inline QStringList folderEntries(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

// Passes writes through to another device until a number of bytes has gone through;
// then fails as a full disk would.
class FailingDevice : public QIODevice {
public:
    FailingDevice(QIODevice &target, qint64 budget) : m_target(target), m_left(budget)
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        if (size > m_left) {
            if (m_left > 0)
                m_target.write(data, m_left);
            m_left = 0;
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        m_left -= size;
        return m_target.write(data, size);
    }

private:
    QIODevice &m_target;
    qint64 m_left;
};

} // namespace orvella::testing

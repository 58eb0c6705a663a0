#include "core/SettingsStore.h"

#include "core/AppInfo.h"
#include "core/Failure.h"
#include "core/FileReplacement.h"
#include "core/IniText.h"
#include "core/InPlaceText.h"
#include "core/UnfinishedWrite.h"

#include <QBuffer>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QThread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvella::core {
namespace {

const QString kSection = QLatin1String(kSettingsSection);
// How long a write waiting for the lock sleeps between two tries.
constexpr unsigned long kLockRetryMs = 5;

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

// Two copies of the program writing at the same moment would each lose the other's
// key, so a write waits for the lock as long as maxWait, without holding the window up
// meanwhile: it tries the lock without blocking and yields between the tries.
bool lockWithin(QLockFile &lock, std::chrono::milliseconds maxWait, const std::function<void()> &yield)
{
    const QDeadlineTimer deadline(maxWait);
    while (!lock.tryLock(0)) {
        // Only a lock another copy holds is worth waiting for; a folder that takes no
        // lock file will not take one later either.
        if (lock.error() != QLockFile::LockFailedError || deadline.hasExpired())
            return false;
        if (yield)
            yield();
        QThread::msleep(kLockRetryMs);
    }
    return true;
}

// Opens the temporary file that replaces the one at path (old: its status, none for a
// new file), with the old file's mode, owner and group; another user's file that this
// one may write keeps its mode at least.
bool openReplacement(QSaveFile &file, const struct stat *old)
{
    if (!old)
        return file.open(QIODevice::WriteOnly);
    if (openBeside(file, old))
        return true;
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (::fchmod(file.handle(), old->st_mode & 07777) == 0)
        return true;
    file.cancelWriting();
    file.commit();
    return false;
}

// Writes the text into the file itself, which keeps its name, its other names and its
// inode; it holds either its whole old text or the whole new text afterwards.
void writeInPlace(const QString &path, QByteArray text)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        throw notWritten(path);
    const auto closing = qScopeGuard([fd] { ::close(fd); });
    QBuffer source(&text);
    source.open(QIODevice::ReadOnly);
    try {
        replaceTextInPlace(fd, path, source);
    } catch (const Failure &) {
        throw notWritten(path);
    }
}

// Puts the text in place of the file in one step, or leaves the file as it is and
// throws. A file with a second name (a hard link), or in a folder that takes no new
// file, is written in place rather than split from its other names or left unsaved.
void replaceFile(const QString &path, const QByteArray &text)
{
    if (isWriteProtected(QFileInfo(path)))
        throw notWritten(path);
    struct stat old {};
    const bool exists = ::stat(QFile::encodeName(path).constData(), &old) == 0;
    if (exists && S_ISREG(old.st_mode) && old.st_nlink > 1)
        return writeInPlace(path, text);
    QSaveFile file(path);
    if (!openReplacement(file, exists ? &old : nullptr)) {
        if (exists && S_ISREG(old.st_mode))
            return writeInPlace(path, text);
        throw notWritten(path);
    }
    // QSaveFile::commit() misses a failure of the buffered bytes on their way to the
    // disk (a full disk, a file-size limit) and would put an empty or cut-short file in
    // place of the old one. So they are flushed first, and a failure drops the
    // temporary file.
    if (file.write(text) != text.size() || !file.flush()) {
        file.cancelWriting();
        file.commit();
        throw notWritten(path);
    }
    if (!file.commit())
        throw notWritten(path);
}

// Reads the file as it is now, lets change edit its text and, when the text changed,
// replaces the file with it in one step, all under the lock.
template<typename Change>
void changeFile(const QString &path, std::chrono::milliseconds maxLockWait, const std::function<void()> &yield,
                Change &&change)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        throw notWritten(path);
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lockWithin(lock, maxLockWait, yield))
        throw notWritten(path);

    const std::optional<QByteArray> before = readBytes(path);
    if (!before)
        throw notWritten(path);
    IniText text(*before);
    change(text);
    if (text.bytes() == *before)
        return;
    replaceFile(path, text.bytes());
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
    // A value written while a write waits for the lock is not on disk yet.
    for (auto change = m_pending.rbegin(); change != m_pending.rend(); ++change) {
        if (change->first == key)
            return change->second;
    }
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

void IniSettingsStore::setLockWait(std::function<void()> yield, std::chrono::milliseconds maxWait)
{
    m_yield = std::move(yield);
    m_maxLockWait = maxWait;
}

void IniSettingsStore::write(const QString &key, const QString &value)
{
    // A write that comes while another waits for the lock (a click the waiting let
    // through) joins it: the waiting write makes every change in the order they came,
    // in one replacement of the file.
    m_pending.emplace_back(key, value);
    if (m_pending.size() > 1)
        return;
    const auto done = qScopeGuard([this] { m_pending.clear(); });
    const UnfinishedWrite writing; // the program does not end while the file is written
    changeFile(m_fileName, m_maxLockWait, m_yield, [this](IniText &text) {
        for (const auto &[pendingKey, pendingValue] : m_pending)
            text.setValue(kSection, pendingKey, pendingValue);
    });
}

} // namespace orvella::core

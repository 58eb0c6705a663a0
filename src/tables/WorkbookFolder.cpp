#include "tables/WorkbookFolder.h"

#include "core/Failure.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvella::tables {
namespace {

const QString kPattern = QStringLiteral("orvella-XXXXXX");
// mkdtemp's pattern as a name filter: six letters or digits.
const QString kNameFilter = QStringLiteral("orvella-??????");

int openFolder(const QByteArray &path)
{
    return ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

bool sameFolder(int fd, const QByteArray &path)
{
    struct stat held {};
    struct stat named {};
    return ::fstat(fd, &held) == 0 && ::lstat(path.constData(), &named) == 0 && held.st_dev == named.st_dev &&
           held.st_ino == named.st_ino;
}

} // namespace

WorkbookFolder makeWorkbookFolder(const QString &root)
{
    // A tidying export of another run may take a folder in the instant between its
    // making and its lock; then it is made anew.
    for (int attempt = 0; attempt < 10; ++attempt) {
        QByteArray folder = QFile::encodeName(QDir(root).filePath(kPattern));
        if (!::mkdtemp(folder.data()))
            throw core::Failure(QStringLiteral("No private folder for the workbook could be made in %1: %2")
                                   .arg(root, QString::fromLocal8Bit(std::strerror(errno))));
        const int fd = openFolder(folder);
        if (fd >= 0 && ::flock(fd, LOCK_SH) == 0 && sameFolder(fd, folder))
            return {QFile::decodeName(folder), fd};
        if (fd >= 0)
            ::close(fd);
        ::rmdir(folder.constData());
    }
    throw core::Failure(QStringLiteral("No private folder for the workbook could be kept in %1").arg(root));
}

void removeWorkbookFolder(WorkbookFolder &folder)
{
    if (!folder.path.isEmpty())
        QDir(folder.path).removeRecursively();
    if (folder.lock >= 0)
        ::close(folder.lock);
    folder = {};
}

bool writeWhole(QFile &file, const char *bytes, qint64 size)
{
    while (size > 0) {
        const qint64 written = file.write(bytes, size);
        if (written <= 0)
            return false;
        bytes += written;
        size -= written;
    }
    return true;
}

void removeAbandonedWorkbookFolders(const QString &root)
{
    const QDir dir(root);
    const QStringList names = dir.entryList({kNameFilter}, QDir::Dirs | QDir::NoSymLinks | QDir::NoDotAndDotDot);
    for (const QString &name : names) {
        const QByteArray path = QFile::encodeName(dir.filePath(name));
        const int fd = openFolder(path);
        if (fd < 0)
            continue;
        struct stat st {};
        // Only a folder of this user that nobody holds: a lock held by any running
        // program (this one included) makes the attempt fail.
        if (::fstat(fd, &st) == 0 && st.st_uid == ::geteuid() && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            QDir(QFile::decodeName(path)).removeRecursively();
        ::close(fd);
    }
}

} // namespace orvella::tables

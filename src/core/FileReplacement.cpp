#include "core/FileReplacement.h"

#include <sys/stat.h>
#include <unistd.h>

namespace orvella::core {

bool isWriteProtected(const QFileInfo &info)
{
    constexpr auto anyWrite = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return info.exists() && (!info.isWritable() || !(info.permissions() & anyWrite));
}

bool openBeside(QSaveFile &file, const struct stat *old)
{
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (!old)
        return true;
    const int fd = file.handle();
    struct stat created {};
    const bool kept = ::fstat(fd, &created) == 0 &&
                      ((created.st_uid == old->st_uid && created.st_gid == old->st_gid) ||
                       ::fchown(fd, old->st_uid, old->st_gid) == 0) &&
                      ::fchmod(fd, old->st_mode & 07777) == 0;
    if (!kept) {
        file.cancelWriting();
        file.commit();
    }
    return kept;
}

} // namespace orvella::core

#include "tables/zip/ZipWriter.h"

#include "core/Failure.h"
#include "tables/zip/DeflateStream.h"
#include "tables/zip/ZipArchive.h"

#include <ctime>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <zip.h>

namespace orvella::tables {
namespace {

// A part that DeflateStream compressed, read from its file. Its stat names the
// compression, size and checksum, so libzip copies its bytes as they are instead of
// compressing them again.
struct DeflatedFile {
    QByteArray path;
    DeflatedPart part;
    int descriptor = -1;
    zip_error_t error{};
};

zip_int64_t readDeflatedFile(void *state, void *data, zip_uint64_t length, zip_source_cmd_t command)
{
    auto *file = static_cast<DeflatedFile *>(state);
    switch (command) {
    case ZIP_SOURCE_OPEN:
        file->descriptor = ::open(file->path.constData(), O_RDONLY | O_CLOEXEC);
        if (file->descriptor < 0) {
            zip_error_set(&file->error, ZIP_ER_OPEN, errno);
            return -1;
        }
        return 0;
    case ZIP_SOURCE_READ: {
        ssize_t read;
        do
            read = ::read(file->descriptor, data, length);
        while (read < 0 && errno == EINTR);
        if (read < 0)
            zip_error_set(&file->error, ZIP_ER_READ, errno);
        return read;
    }
    case ZIP_SOURCE_CLOSE:
        ::close(file->descriptor);
        file->descriptor = -1;
        return 0;
    case ZIP_SOURCE_STAT: {
        if (length < sizeof(zip_stat_t)) {
            zip_error_set(&file->error, ZIP_ER_INVAL, 0);
            return -1;
        }
        auto *stat = static_cast<zip_stat_t *>(data);
        zip_stat_init(stat);
        stat->valid = ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_COMP_METHOD | ZIP_STAT_CRC;
        stat->size = file->part.size;
        stat->comp_size = file->part.deflatedSize;
        stat->comp_method = ZIP_CM_DEFLATE;
        stat->crc = file->part.crc;
        return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&file->error, data, length);
    case ZIP_SOURCE_FREE:
        if (file->descriptor >= 0)
            ::close(file->descriptor);
        zip_error_fini(&file->error);
        delete file;
        return 0;
    case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                              ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, -1);
    default:
        zip_error_set(&file->error, ZIP_ER_OPNOTSUPP, 0);
        return -1;
    }
}

} // namespace

ZipWriter::ZipWriter(const QString &path, const QString &target) : m_target(target)
{
    int error = 0;
    m_zip = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_EXCL, &error);
    if (!m_zip)
        throw core::Failure(
            QStringLiteral("Cannot write %1: the archive could not be made: %2").arg(target, zipErrorText(error)));
}

ZipWriter::~ZipWriter()
{
    if (m_zip)
        zip_discard(m_zip);
}

void ZipWriter::addBytes(const char *name, const char *bytes, std::size_t size, Method method)
{
    add(name, zip_source_buffer(m_zip, bytes, size, 0), method);
}

void ZipWriter::addFile(const char *name, const QString &path, Method method)
{
    add(name, zip_source_file(m_zip, QFile::encodeName(path).constData(), 0, -1), method);
}

void ZipWriter::addDeflatedFile(const char *name, const QString &path, const DeflatedPart &part)
{
    auto *file = new DeflatedFile{QFile::encodeName(path), part};
    zip_error_init(&file->error);
    zip_source_t *source = zip_source_function(m_zip, readDeflatedFile, file);
    if (!source) {
        zip_error_fini(&file->error);
        delete file;
        fail();
    }
    // No compression is set: the part's own stands, and its bytes are copied.
    add(name, source);
}

void ZipWriter::close()
{
    if (zip_close(m_zip) != 0)
        fail();
    m_zip = nullptr;
}

quint64 ZipWriter::add(const char *name, zip_source_t *source)
{
    const zip_int64_t index = source ? zip_file_add(m_zip, name, source, 0) : -1;
    if (index < 0) {
        if (source)
            zip_source_free(source);
        fail();
    }
    // Each part is dated the first day the format's dates can hold, as spreadsheet
    // applications date theirs: the same rows make the same file, whenever written.
    std::tm firstDay{};
    firstDay.tm_year = 80;
    firstDay.tm_mday = 1;
    firstDay.tm_isdst = -1;
    if (zip_file_set_mtime(m_zip, quint64(index), std::mktime(&firstDay), 0) != 0)
        fail();
    return quint64(index);
}

void ZipWriter::add(const char *name, zip_source_t *source, Method method)
{
    const quint64 index = add(name, source);
    // Level 1 of deflate: a sheet's XML repeats itself so much that more effort saves
    // little, and a million rows make a few hundred megabytes of it.
    const bool store = method == Method::Store;
    if (zip_set_file_compression(m_zip, index, store ? ZIP_CM_STORE : ZIP_CM_DEFLATE, store ? 0 : 1) != 0)
        fail();
}

void ZipWriter::fail() const
{
    throw core::Failure(QStringLiteral("Cannot write %1: the archive could not be made: %2")
                            .arg(m_target, QString::fromLocal8Bit(zip_strerror(m_zip))));
}

} // namespace orvella::tables

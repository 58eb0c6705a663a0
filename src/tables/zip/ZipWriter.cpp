#include "tables/zip/ZipWriter.h"

#include "core/Failure.h"
#include "tables/zip/ZipArchive.h"

#include <QFile>

#include <zip.h>

namespace orvella::tables {

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

void ZipWriter::close()
{
    if (zip_close(m_zip) != 0)
        fail();
    m_zip = nullptr;
}

void ZipWriter::add(const char *name, zip_source_t *source, Method method)
{
    const zip_int64_t index = source ? zip_file_add(m_zip, name, source, 0) : -1;
    if (index < 0) {
        if (source)
            zip_source_free(source);
        fail();
    }
    // Level 1 of deflate: a sheet's XML repeats itself so much that more effort saves
    // little, and a million rows make a few hundred megabytes of it.
    const bool store = method == Method::Store;
    if (zip_set_file_compression(m_zip, zip_uint64_t(index), store ? ZIP_CM_STORE : ZIP_CM_DEFLATE, store ? 0 : 1) != 0)
        fail();
}

void ZipWriter::fail() const
{
    throw core::Failure(QStringLiteral("Cannot write %1: the archive could not be made: %2")
                            .arg(m_target, QString::fromLocal8Bit(zip_strerror(m_zip))));
}

} // namespace orvella::tables

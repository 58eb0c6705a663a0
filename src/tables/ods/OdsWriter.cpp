// Result rows as an OpenDocument spreadsheet: content.xml is written to a file in a
// private scratch folder as the rows come, zipped there with the other parts, and the
// finished archive is copied into the output.

#include "core/BackgroundWork.h"
#include "core/Failure.h"
#include "core/FileCopy.h"
#include "tables/ods/OdsContent.h"
#include "tables/TableWriters.h"
#include "tables/WorkbookFolder.h"
#include "tables/zip/ZipArchive.h"

#include <QFile>

#include <zip.h>

namespace orvella::tables {
namespace {

// The first entry, stored uncompressed, so that a reader knows the file from its first
// bytes.
constexpr char kMimeType[] = "application/vnd.oasis.opendocument.spreadsheet";

constexpr char kManifest[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\""
    " manifest:version=\"1.2\">"
    "<manifest:file-entry manifest:full-path=\"/\" manifest:version=\"1.2\""
    " manifest:media-type=\"application/vnd.oasis.opendocument.spreadsheet\"/>"
    "<manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"/>"
    "<manifest:file-entry manifest:full-path=\"styles.xml\" manifest:media-type=\"text/xml\"/>"
    "<manifest:file-entry manifest:full-path=\"meta.xml\" manifest:media-type=\"text/xml\"/>"
    "</manifest:manifest>\n";

constexpr char kStyles[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<office:document-styles xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
    " office:version=\"1.2\"/>\n";

constexpr char kMeta[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<office:document-meta xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
    " xmlns:meta=\"urn:oasis:names:tc:opendocument:xmlns:meta:1.0\" office:version=\"1.2\">"
    "<office:meta><meta:generator>Orvella</meta:generator></office:meta></office:document-meta>\n";

// A ZIP archive being made with libzip; one that is not closed whole is dropped.
class Archive {
public:
    Archive(const QString &path, const QString &target) : m_target(target)
    {
        int error = 0;
        m_zip = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_EXCL, &error);
        if (!m_zip)
            throw core::Failure(QStringLiteral("Cannot write %1: the archive could not be made: %2")
                                    .arg(target, zipErrorText(error)));
    }
    ~Archive()
    {
        if (m_zip)
            zip_discard(m_zip);
    }
    Archive(const Archive &) = delete;
    Archive &operator=(const Archive &) = delete;

    // The bytes must stay until close().
    void addBytes(const char *name, const char *bytes, size_t size, zip_int32_t method)
    {
        add(name, zip_source_buffer(m_zip, bytes, size, 0), method);
    }
    void addFile(const char *name, const QString &path, zip_int32_t method)
    {
        add(name, zip_source_file(m_zip, QFile::encodeName(path).constData(), 0, -1), method);
    }
    // Writes the archive; throws core::Failure when it cannot.
    void close()
    {
        if (zip_close(m_zip) != 0)
            fail();
        m_zip = nullptr;
    }

private:
    void add(const char *name, zip_source_t *source, zip_int32_t method)
    {
        const zip_int64_t index = source ? zip_file_add(m_zip, name, source, 0) : -1;
        if (index < 0) {
            if (source)
                zip_source_free(source);
            fail();
        }
        // Level 1 of deflate: the sheet's XML repeats itself so much that more effort
        // saves little, and a million rows make a few hundred megabytes of it.
        if (zip_set_file_compression(m_zip, zip_uint64_t(index), method, method == ZIP_CM_STORE ? 0 : 1) != 0)
            fail();
    }
    [[noreturn]] void fail() const
    {
        throw core::Failure(QStringLiteral("Cannot write %1: the archive could not be made: %2")
                                .arg(m_target, QString::fromLocal8Bit(zip_strerror(m_zip))));
    }

    QString m_target;
    zip_t *m_zip = nullptr;
};

} // namespace

void writeOds(core::FileOutput &out, const QString &target, const TableSource &rows,
              const std::function<void()> &yield)
{
    const ScratchFolder scratch;
    const QString contentPath = scratch.filePath(QStringLiteral("content.xml"));
    OdsContent content(contentPath, target);
    for (const QStringList &head : headRows(rows))
        content.addRow(head);
    forEachRow(rows, yield, [&](const QStringList &cells) { content.addRow(cells); });
    content.finish();

    // Compressing the sheet and copying the archive take a while: the window goes on.
    core::runWhileYielding(
        [&] {
            const QString archivePath = scratch.filePath(QStringLiteral("Results.ods"));
            Archive archive(archivePath, target);
            archive.addBytes("mimetype", kMimeType, sizeof kMimeType - 1, ZIP_CM_STORE);
            archive.addBytes("META-INF/manifest.xml", kManifest, sizeof kManifest - 1, ZIP_CM_DEFLATE);
            archive.addBytes("styles.xml", kStyles, sizeof kStyles - 1, ZIP_CM_DEFLATE);
            archive.addBytes("meta.xml", kMeta, sizeof kMeta - 1, ZIP_CM_DEFLATE);
            archive.addFile("content.xml", contentPath, ZIP_CM_DEFLATE);
            archive.close();
            copyFileInto(archivePath, out);
        },
        yield);
}

} // namespace orvella::tables

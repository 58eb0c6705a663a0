// Result rows as an OpenDocument spreadsheet: content.xml is written to a file in a
// private scratch folder as the rows come, zipped there with the other parts, and the
// finished archive is copied into the output.

#include "core/BackgroundWork.h"
#include "core/Failure.h"
#include "core/FileCopy.h"
#include "tables/ods/OdsContent.h"
#include "tables/TableWriters.h"
#include "tables/WorkbookFolder.h"
#include "tables/zip/ZipWriter.h"

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
            ZipWriter archive(archivePath, target);
            archive.addBytes("mimetype", kMimeType, sizeof kMimeType - 1, ZipWriter::Method::Store);
            archive.addBytes("META-INF/manifest.xml", kManifest, sizeof kManifest - 1, ZipWriter::Method::Deflate);
            archive.addBytes("styles.xml", kStyles, sizeof kStyles - 1, ZipWriter::Method::Deflate);
            archive.addBytes("meta.xml", kMeta, sizeof kMeta - 1, ZipWriter::Method::Deflate);
            archive.addFile("content.xml", contentPath, ZipWriter::Method::Deflate);
            archive.close();
            copyFileInto(archivePath, out);
        },
        yield);
}

} // namespace orvella::tables

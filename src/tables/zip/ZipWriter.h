#pragma once

#include <QString>

#include <cstddef>

struct zip;
struct zip_source;

namespace orvella::tables {

struct DeflatedPart;

// A ZIP archive being made (with libzip), the writing side of ZipArchive: parts are
// added from bytes in memory or from files, and written out by close(). An archive that
// is not closed whole is dropped, so no half-written file is left at its path.
class ZipWriter {
public:
    enum class Method {
        Store,   // as they are: the first part of a workbook, which names its kind
        Deflate, // compressed with deflate at level 1
    };

    // Makes the archive at path, which must not exist yet; target names the file the
    // user asked for in every failure ("Cannot write <target>: ..."). Throws
    // core::Failure when the archive cannot be made.
    ZipWriter(const QString &path, const QString &target);
    ~ZipWriter();
    ZipWriter(const ZipWriter &) = delete;
    ZipWriter &operator=(const ZipWriter &) = delete;

    // The bytes must stay until close().
    void addBytes(const char *name, const char *bytes, std::size_t size, Method method);
    // The file is read at close().
    void addFile(const char *name, const QString &path, Method method);
    // A part compressed already, by a DeflateStream into the file at path: its bytes go
    // into the archive as they are, at close().
    void addDeflatedFile(const char *name, const QString &path, const DeflatedPart &part);
    // Writes the archive; throws core::Failure when it cannot.
    void close();

private:
    // Adds the part and answers its index.
    quint64 add(const char *name, zip_source *source);
    void add(const char *name, zip_source *source, Method method);
    [[noreturn]] void fail() const;

    QString m_target;
    zip *m_zip = nullptr;
};

} // namespace orvella::tables

#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QXmlStreamReader>

#include <memory>

struct zip;

namespace orvella::lists {

// libzip's text for one of its error codes (a system error's text included), as the
// reason a failure gives.
QString zipErrorText(int code);

// A workbook file opened as the ZIP archive it is, for reading its parts. Every failure
// throws core::Failure as "<path> is not <what>: <reason>", `what` naming the kind of
// file expected ("an Excel workbook").
class ZipArchive {
public:
    // Throws when the file cannot be opened ("Cannot open <path>: ...") or is no ZIP
    // archive.
    ZipArchive(const QString &path, const QString &what);
    ~ZipArchive();
    ZipArchive(const ZipArchive &) = delete;
    ZipArchive &operator=(const ZipArchive &) = delete;

    bool contains(const QString &name) const;
    // The whole of a small part; throws when it is missing or damaged.
    QByteArray read(const QString &name) const;
    // A part to read piece by piece, as a sequential device; throws when it is missing.
    // A damaged part fails its reads, with the reason as the device's error string.
    std::unique_ptr<QIODevice> open(const QString &name) const;

    [[noreturn]] void fail(const QString &reason) const;
    // Throws when the XML reader of the part stopped on an error (the device's own error
    // first, since a failed read looks like an early end of the document).
    void checkXml(const QXmlStreamReader &xml, const QString &name) const;

private:
    QString m_path;
    QString m_what;
    zip *m_archive = nullptr;
};

} // namespace orvella::lists

#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QXmlStreamReader>

#include <memory>

struct zip;

namespace orvella::tables {

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

    // The most bytes a part read whole (read()) may inflate to, and one read piece by
    // piece (open()). No workbook's parts come near them; a part made to inflate without
    // end (a "ZIP bomb") is refused when it passes them.
    static constexpr qint64 kMostWholePartBytes = qint64(64) << 20;
    static constexpr qint64 kMostPartBytes = qint64(16) << 30;

    bool contains(const QString &name) const;
    // The whole of a small part; throws when it is missing, damaged (its checksum
    // included) or too large.
    QByteArray read(const QString &name) const;
    // A part to read piece by piece, as a sequential device; throws when it is missing.
    // A damaged part fails its reads, with the reason as the device's error string, and
    // so does one that inflates past kMostPartBytes or holds a piece of XML longer than
    // XmlPieceLimit allows.
    std::unique_ptr<QIODevice> open(const QString &name) const;
    // Reads the rest of a part opened with open() (what its XML reader left after the
    // document or the sheet it wanted) and throws when it is damaged: only at its end
    // does the archive check the part's checksum.
    void finish(QIODevice &part, const QString &name) const;

    [[noreturn]] void fail(const QString &reason) const;
    // "<path> is too large to read: <reason>".
    [[noreturn]] void tooLarge(const QString &reason) const;
    // Throws when the XML reader of the part stopped on an error (the device's own error
    // first, since a failed read looks like an early end of the document).
    void checkXml(const QXmlStreamReader &xml, const QString &name) const;

private:
    std::unique_ptr<QIODevice> open(const QString &name, qint64 most) const;
    // Throws the failure of a part whose read failed.
    [[noreturn]] void failPart(const QIODevice &part, const QString &name) const;

    QString m_path;
    QString m_what;
    zip *m_archive = nullptr;
};

} // namespace orvella::tables

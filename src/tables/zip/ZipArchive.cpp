#include "tables/zip/ZipArchive.h"

#include "core/Failure.h"
#include "tables/zip/XmlPieceLimit.h"

#include <QFile>
#include <QFileInfo>

#include <zip.h>

namespace orvella::tables {
namespace {

// Reads one part of the archive as libzip inflates it, a piece at a time, and fails
// when the part inflates past its most or holds a piece of XML longer than the limit.
class ZipPartDevice : public QIODevice {
public:
    ZipPartDevice(zip_file_t *file, qint64 most) : m_file(file), m_most(most) { open(QIODevice::ReadOnly); }
    ~ZipPartDevice() override { zip_fclose(m_file); }

    bool isSequential() const override { return true; }
    bool failed() const { return m_failed; }
    // The limit passed, when that is why the reads failed.
    const QString &tooLarge() const { return m_tooLarge; }

protected:
    qint64 readData(char *data, qint64 size) override
    {
        if (m_failed)
            return -1;
        const zip_int64_t got = zip_fread(m_file, data, zip_uint64_t(size));
        if (got < 0) {
            m_failed = true;
            setErrorString(QString::fromLocal8Bit(zip_file_strerror(m_file)));
            return -1;
        }
        m_total += got;
        if (m_total > m_most)
            return refuse(QStringLiteral("inflates to more than %1 bytes").arg(m_most));
        if (!m_pieces.take(QByteArrayView(data, got)))
            return refuse(QStringLiteral("holds a text or tag of more than %1 bytes").arg(XmlPieceLimit::kMostBytes));
        return got;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    qint64 refuse(const QString &reason)
    {
        m_failed = true;
        m_tooLarge = reason;
        setErrorString(reason);
        return -1;
    }

    zip_file_t *m_file;
    const qint64 m_most;
    qint64 m_total = 0;
    XmlPieceLimit m_pieces;
    bool m_failed = false;
    QString m_tooLarge;
};

} // namespace

QString zipErrorText(int code)
{
    zip_error_t reason;
    zip_error_init_with_code(&reason, code);
    // A system error's part is the C library's text, in the locale's encoding.
    const QString text = QString::fromLocal8Bit(zip_error_strerror(&reason));
    zip_error_fini(&reason);
    return text;
}

ZipArchive::ZipArchive(const QString &path, const QString &what) : m_path(path), m_what(what)
{
    // An unreadable file says so; anything else that fails is no archive.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw core::Failure(QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()));
    file.close();
    int error = 0;
    m_archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!m_archive)
        fail(QStringLiteral("it is no ZIP archive (%1)").arg(zipErrorText(error)));
}

ZipArchive::~ZipArchive()
{
    if (m_archive)
        zip_discard(m_archive); // read only: nothing to write back
}

bool ZipArchive::contains(const QString &name) const
{
    return zip_name_locate(m_archive, name.toUtf8().constData(), 0) >= 0;
}

std::unique_ptr<QIODevice> ZipArchive::open(const QString &name) const
{
    return open(name, kMostPartBytes);
}

std::unique_ptr<QIODevice> ZipArchive::open(const QString &name, qint64 most) const
{
    zip_file_t *const file = zip_fopen(m_archive, name.toUtf8().constData(), 0);
    if (!file)
        fail(QStringLiteral("it has no readable %1 (%2)").arg(name, QString::fromLocal8Bit(zip_strerror(m_archive))));
    return std::make_unique<ZipPartDevice>(file, most);
}

QByteArray ZipArchive::read(const QString &name) const
{
    const std::unique_ptr<QIODevice> part = open(name, kMostWholePartBytes);
    QByteArray bytes;
    char piece[1 << 16];
    for (;;) {
        const qint64 got = part->read(piece, sizeof piece);
        if (got < 0)
            failPart(*part, name);
        if (got == 0)
            return bytes;
        bytes.append(piece, got);
    }
}

void ZipArchive::finish(QIODevice &part, const QString &name) const
{
    char piece[1 << 16];
    for (;;) {
        const qint64 got = part.read(piece, sizeof piece);
        if (got < 0)
            failPart(part, name);
        if (got == 0)
            return;
    }
}

void ZipArchive::failPart(const QIODevice &part, const QString &name) const
{
    const auto *device = dynamic_cast<const ZipPartDevice *>(&part);
    if (device && !device->tooLarge().isEmpty())
        tooLarge(QStringLiteral("its part %1 %2").arg(name, device->tooLarge()));
    fail(QStringLiteral("%1 is damaged (%2)").arg(name, part.errorString()));
}

void ZipArchive::fail(const QString &reason) const
{
    throw core::Failure(QStringLiteral("%1 is not %2: %3").arg(m_path, m_what, reason));
}

void ZipArchive::tooLarge(const QString &reason) const
{
    throw core::Failure(QStringLiteral("%1 is too large to read: %2").arg(m_path, reason));
}

void ZipArchive::checkXml(const QXmlStreamReader &xml, const QString &name) const
{
    if (!xml.hasError())
        return;
    const auto *part = dynamic_cast<const ZipPartDevice *>(xml.device());
    if (part && part->failed())
        failPart(*part, name);
    fail(QStringLiteral("%1 is damaged (%2, line %3)").arg(name, xml.errorString()).arg(xml.lineNumber()));
}

} // namespace orvella::tables

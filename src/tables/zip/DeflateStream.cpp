#include "tables/zip/DeflateStream.h"

#include "core/Failure.h"
#include "tables/WorkbookFolder.h"

#include <algorithm>
#include <exception>
#include <new>

#include <zlib.h>

namespace orvella::tables {
namespace {

constexpr qsizetype kMostWaiting = 2;
constexpr qsizetype kOutBytes = qsizetype(256) << 10;
constexpr qsizetype kMostInBytes = qsizetype(1) << 30;

} // namespace

DeflateStream::DeflateStream(const QString &path, const QString &target)
    : m_target(target), m_file(path), m_zip(std::make_unique<z_stream>())
{
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        fail();
    m_out.resize(kOutBytes);
    // A raw deflate stream (no zlib header nor checksum): the archive keeps its own CRC.
    if (deflateInit2(m_zip.get(), 1, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        m_zip.reset();
        throw std::bad_alloc();
    }
    try {
        m_worker = std::thread([this] { work(); });
    } catch (const std::exception &) {
        // No thread to be had (refused, or no memory for one): take() compresses each
        // piece itself.
    }
}

DeflateStream::~DeflateStream()
{
    if (m_worker.joinable()) {
        {
            const std::lock_guard lock(m_mutex);
            m_givenUp = true;
        }
        m_changed.notify_all();
        m_worker.join();
    }
    if (m_zip)
        deflateEnd(m_zip.get());
}

void DeflateStream::take(QByteArray &piece)
{
    if (!m_worker.joinable()) {
        if (!compress(piece, false))
            fail();
        piece.resize(0);
        return;
    }
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_waiting.size() < kMostWaiting || m_done; });
    if (m_done)
        fail(); // the worker ends early only when the file could not be written
    m_waiting.append(std::move(piece));
    piece = m_spare.isEmpty() ? QByteArray() : m_spare.takeLast();
    lock.unlock();
    m_changed.notify_all();
}

DeflatedPart DeflateStream::finish()
{
    if (m_worker.joinable()) {
        {
            const std::lock_guard lock(m_mutex);
            m_ending = true;
        }
        m_changed.notify_all();
        m_worker.join();
        if (m_failed)
            fail();
    } else if (!compress(QByteArray(), true)) {
        fail();
    }
    return m_part;
}

void DeflateStream::work()
{
    std::unique_lock lock(m_mutex);
    try {
        for (;;) {
            m_changed.wait(lock, [this] { return !m_waiting.isEmpty() || m_ending || m_givenUp; });
            if (m_givenUp || m_waiting.isEmpty())
                break;
            QByteArray piece = m_waiting.takeFirst();
            lock.unlock();
            m_changed.notify_all(); // room for the next piece
            const bool written = compress(piece, false);
            piece.resize(0);
            lock.lock();
            m_spare.append(std::move(piece));
            if (!written) {
                m_failed = true;
                break;
            }
        }
        if (m_ending && !m_givenUp && !m_failed) {
            lock.unlock();
            const bool written = compress(QByteArray(), true);
            lock.lock();
            m_failed = !written;
        }
    } catch (const std::bad_alloc &) {
        if (!lock.owns_lock())
            lock.lock();
        m_failed = true;
    }
    m_done = true;
    lock.unlock();
    m_changed.notify_all();
}

bool DeflateStream::compress(const QByteArray &bytes, bool end)
{
    const auto *in = reinterpret_cast<const Bytef *>(bytes.constData());
    m_part.crc = quint32(crc32_z(m_part.crc, in, std::size_t(bytes.size())));
    m_part.size += quint64(bytes.size());
    // zlib counts what it is given in 32 bits: a longer piece goes in parts.
    qsizetype left = bytes.size();
    do {
        const qsizetype now = std::min(left, kMostInBytes);
        m_zip->next_in = const_cast<Bytef *>(in);
        m_zip->avail_in = uInt(now);
        in += now;
        left -= now;
        const int flush = end && left == 0 ? Z_FINISH : Z_NO_FLUSH;
        do {
            m_zip->next_out = reinterpret_cast<Bytef *>(m_out.data());
            m_zip->avail_out = uInt(m_out.size());
            deflate(m_zip.get(), flush);
            const qint64 made = m_out.size() - qint64(m_zip->avail_out);
            if (!writeWhole(m_file, m_out.constData(), made))
                return false;
            m_part.deflatedSize += quint64(made);
        } while (m_zip->avail_out == 0);
    } while (left > 0);
    if (!end)
        return true;
    m_file.close();
    return m_file.error() == QFileDevice::NoError;
}

void DeflateStream::fail() const
{
    throw core::Failure(
        QStringLiteral("Cannot write %1: the sheet's text could not be written to %2: %3")
            .arg(m_target, m_file.fileName(), m_file.errorString()));
}

} // namespace orvella::tables

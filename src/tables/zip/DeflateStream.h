#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

struct z_stream_s;

namespace orvella::tables {

// What a part compressed by DeflateStream is, for the archive's directory.
struct DeflatedPart {
    quint32 crc = 0;          // CRC-32 of the bytes as they were
    quint64 size = 0;         // their count
    quint64 deflatedSize = 0; // the count of bytes in the file
};

// Compresses a sheet's text, a part of an archive, into a file (raw deflate at level 1,
// as ZipWriter compresses) while the text is still being made: the maker hands over its
// bytes a piece at a time, and a worker thread compresses each while the next is being
// made, so that a sheet of a million rows costs little more than making its text. At
// most two pieces wait; a maker faster than the compression waits for room. When the
// system refuses a thread, each piece is compressed as it is handed over.
class DeflateStream {
public:
    // Makes the file at path; `target` is the saved file's name for the messages.
    // Throws core::Failure when the file cannot be made.
    DeflateStream(const QString &path, const QString &target);
    // A stream given up on (the rows failed) stops its worker and closes its file.
    ~DeflateStream();
    DeflateStream(const DeflateStream &) = delete;
    DeflateStream &operator=(const DeflateStream &) = delete;

    // Takes the bytes of `piece` to compress, and leaves it empty with room to fill
    // again. Throws core::Failure when the compressed file could not be written.
    void take(QByteArray &piece);
    // Compresses what is left, closes the file and answers what it holds. Throws
    // core::Failure when it could not be written whole.
    DeflatedPart finish();

private:
    void work();
    // Compresses the bytes (all of them with `end`) into the file; false when the file
    // could not be written.
    bool compress(const QByteArray &bytes, bool end);
    [[noreturn]] void fail() const;

    QString m_target;
    QFile m_file;
    std::unique_ptr<z_stream_s> m_zip; // zlib's state, with a raw deflate begun
    QByteArray m_out;
    DeflatedPart m_part;

    // Between the maker and the worker.
    std::mutex m_mutex;
    std::condition_variable m_changed;
    QList<QByteArray> m_waiting; // pieces to compress, oldest first
    QList<QByteArray> m_spare;   // compressed pieces, emptied, to be filled again
    bool m_ending = false;       // no more pieces come: compress the rest and end
    bool m_givenUp = false;      // the stream is dropped: end at once
    bool m_done = false;         // the worker has ended, the file whole or failed
    bool m_failed = false;
    std::thread m_worker; // not running when the system refused it
};

} // namespace orvella::tables

#pragma once

#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <QStringView>
#include <QtGlobal>

namespace orvella::core {
class Desktop;
} // namespace orvella::core

namespace orvella::tables {

// The reader takes a file in pieces of this many bytes.
inline constexpr qint64 kReadChunkBytes = qint64(1) << 20;

// Reads the file's next piece, up to kReadChunkBytes, after the `keep` bytes already at
// the start of the buffer, and answers the number of bytes read (0 at the end of the
// file). Yields first: nothing reaches a list or table before the whole file is read,
// so other commands may run between the pieces of a long file. Throws core::Failure
// naming `path` when the file cannot be read.
qint64 readPiece(QFile &file, const QString &path, core::Desktop &desktop, QByteArray &buffer, qsizetype keep);
// The same, reading at most `most` bytes, and yielding only with a desktop.
qint64 readPiece(QFile &file, const QString &path, core::Desktop *desktop, QByteArray &buffer, qsizetype keep,
                 qint64 most);

// CR and LF end a line in every encoding of 8-bit text (no byte of a longer UTF-8
// character is either); a CSV record ends at them too.
inline bool isLineEnd(char byte) { return byte == '\r' || byte == '\n'; }
// Just past the last CR or LF of the bytes at or after `from`; 0 when there is none.
// A piece of a file read that far holds whole lines only.
qsizetype afterLastLineEnd(QByteArrayView bytes, qsizetype from);

// Takes a decoded text piece by piece, in order. A piece ends at a line end or at the
// end of the file for 8-bit files; a UTF-16 piece may end anywhere, even between the
// two halves of a surrogate pair, so a sink keeps what it has not finished.
class TextSink {
public:
    virtual ~TextSink() = default;
    // False when the text holds a NUL character: the file is refused.
    virtual bool take(QStringView text) = 0;
};

// Reads the open file (or stream) to its end and hands its text to the sink. A file that
// starts with a byte-order mark is read as the mark says (UTF-16 either way, or UTF-8;
// the mark is dropped). Without one, each line (the bytes between CR and LF bytes) is
// read as UTF-8 when it is valid UTF-8 and as Windows-1252 when it is not.
// Calls desktop.yield() before each piece. Throws core::Failure when the file cannot be
// read, and "<path> is not <what>: it holds NUL characters" when the sink refuses a piece
// or, for 8-bit text, as soon as a NUL byte is read.
void decodeTextFile(QFile &file, const QString &path, core::Desktop &desktop, TextSink &sink,
                    const QString &what);

// The same for a stream that need not end (standard input): more than `most` bytes fail
// the read, as "<name> is too large to read: it holds more than N MB".
void decodeTextStream(QFile &stream, const QString &name, core::Desktop &desktop, TextSink &sink, const QString &what,
                      qint64 most);
// The most a stream gives: a quarter of the memory (its names take twice its bytes).
qint64 defaultStreamBytes();

// Bytes [from, to) of a file of 8-bit text, read as decodeTextFile reads the whole
// file's lines after its mark: with a UTF-8 mark at the file's start (utf8Only) as UTF-8
// throughout, else line by line UTF-8 or Windows-1252. `from` starts a line and `to`
// ends one (or is the file's end). Yields only with a desktop (none on a worker thread).
void decodeTextRange(QFile &file, const QString &path, core::Desktop *desktop, TextSink &sink, const QString &what,
                     qint64 from, qint64 to, bool utf8Only);

} // namespace orvella::tables

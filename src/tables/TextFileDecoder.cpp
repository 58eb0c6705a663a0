#include "tables/TextFileDecoder.h"

#include "core/Desktop.h"
#include "core/Failure.h"
#include "tables/TableRows.h"

#include <QStringDecoder>

#include <algorithm>
#include <cstring>
#include <limits>

namespace orvella::tables {

qint64 readPiece(QFile &file, const QString &path, core::Desktop &desktop, QByteArray &buffer, qsizetype keep)
{
    return readPiece(file, path, &desktop, buffer, keep, kReadChunkBytes);
}

qint64 readPiece(QFile &file, const QString &path, core::Desktop *desktop, QByteArray &buffer, qsizetype keep,
                 qint64 most)
{
    if (desktop)
        desktop->yield();
    most = std::min(most, kReadChunkBytes);
    buffer.resize(keep + most);
    const qint64 got = most > 0 ? file.read(buffer.data() + keep, most) : 0;
    if (got < 0)
        throw core::Failure(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
    buffer.resize(keep + got);
    return got;
}

qsizetype afterLastLineEnd(QByteArrayView bytes, qsizetype from)
{
    for (qsizetype i = bytes.size(); i > from; --i) {
        if (isLineEnd(bytes[i - 1]))
            return i;
    }
    return 0;
}

namespace {

using core::Failure;

// Windows-1252 for the bytes 0x80..0x9F (the rest equals Latin-1). The five bytes the
// code page leaves unassigned keep their own value, as Windows itself reads them, so
// that no byte of a file is lost.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

class TextFileDecoder {
public:
    TextFileDecoder(QFile &file, const QString &path, core::Desktop *desktop, TextSink &sink, const QString &what)
        : m_file(file), m_path(path), m_desktop(desktop), m_sink(sink), m_what(what)
    {
    }

    // Bytes [from, to) only, in the decoding given.
    void readRange(qint64 from, qint64 to, bool utf8Only)
    {
        if (!m_file.seek(from))
            throw Failure(QStringLiteral("Cannot read %1: %2").arg(m_path, m_file.errorString()));
        m_left = to - from;
        read8Bit(0, utf8Only ? Utf8Only : Utf8OrWindows1252);
    }

    // A stream, which may not end: more than `most` bytes fail the read.
    void readStream(qint64 most)
    {
        m_left = most;
        m_streamMost = most;
        read();
    }

    void read()
    {
        const QByteArray head = m_file.peek(3);
        const auto startsWith = [&head](const char *bom) { return head.startsWith(bom); };
        if (startsWith("\xFF\xFE"))
            readUtf16(2, false);
        else if (startsWith("\xFE\xFF"))
            readUtf16(2, true);
        else if (startsWith("\xEF\xBB\xBF"))
            read8Bit(3, Utf8Only);
        else
            read8Bit(0, Utf8OrWindows1252);
    }

private:
    // A file with a UTF-8 byte-order mark is UTF-8 throughout (a byte that does not fit
    // reads as U+FFFD); without a mark each line is UTF-8 when it is valid UTF-8 and
    // Windows-1252 when it is not.
    enum Decoding { Utf8Only, Utf8OrWindows1252 };

    qint64 readChunk(QByteArray &buffer, qsizetype keep)
    {
        const qint64 got = readPiece(m_file, m_path, m_desktop, buffer, keep, m_left);
        m_left -= got;
        char more = 0;
        if (got == 0 && m_streamMost > 0 && m_file.read(&more, 1) > 0)
            throw Failure(QStringLiteral("%1 is too large to read: it holds more than %2 MB").arg(m_path).arg(m_streamMost >> 20));
        return got;
    }

    // A NUL byte is a NUL character however the 8-bit text is decoded: the file is
    // refused as soon as one is read, not once the line it is on has ended.
    void refuseNul(QByteArrayView bytes)
    {
        if (std::memchr(bytes.data(), 0, size_t(bytes.size())) != nullptr)
            refuseText();
    }

    [[noreturn]] void refuseText()
    {
        throw Failure(QStringLiteral("%1 is not %2: it holds NUL characters").arg(m_path, m_what));
    }

    // Steps over the byte-order mark at the start; skipping rather than seeking also
    // works on a pipe.
    void skipMark(qint64 bytes)
    {
        if (bytes > 0 && m_file.skip(bytes) != bytes)
            throw Failure(QStringLiteral("Cannot read %1: %2").arg(m_path, m_file.errorString()));
    }

    void take(QStringView text)
    {
        if (!m_sink.take(text))
            refuseText();
    }

    // UTF-8 into text; false when the bytes are not valid UTF-8 (a sequence cut short
    // included). A U+FEFF inside the text is kept as a character.
    static bool decodeUtf8(QByteArrayView bytes, QString &text)
    {
        QStringDecoder decoder(QStringConverter::Utf8,
                               QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
        // Into the text's own room, which the pieces of a long file share.
        text.resize(decoder.requiredSpace(bytes.size()));
        QChar *const end = decoder.appendToBuffer(text.data(), bytes);
        text.truncate(end - text.constData());
        return !decoder.hasError();
    }

    static QChar windows1252(uchar b) { return QChar(b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : char16_t(b)); }

    // Some line of these whole lines is not UTF-8: each line is decoded on its own,
    // straight into the text (no line needs more UTF-16 units than it has bytes).
    static QString decodeLineByLine(QByteArrayView bytes)
    {
        QStringDecoder decoder(QStringConverter::Utf8,
                               QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
        QString text(bytes.size(), Qt::Uninitialized);
        QChar *const begin = text.data();
        QChar *out = begin;
        qsizetype start = 0;
        for (qsizetype i = 0; i <= bytes.size(); ++i) {
            if (i < bytes.size() && !isLineEnd(bytes[i]))
                continue;
            const QByteArrayView line = bytes.sliced(start, i - start);
            decoder.resetState();
            QChar *const lineEnd = decoder.appendToBuffer(out, line);
            if (!decoder.hasError()) {
                out = lineEnd;
            } else {
                for (const char byte : line)
                    *out++ = windows1252(uchar(byte));
            }
            if (i < bytes.size())
                *out++ = QLatin1Char(bytes[i]);
            start = i + 1;
        }
        text.truncate(out - begin);
        return text;
    }

    void read8Bit(qint64 start, Decoding decoding)
    {
        skipMark(start);
        // Each piece ends at a line end (or at the end of the file), so that every line
        // is decoded whole; the rest of the piece waits for the next one.
        QByteArray buffer;
        QString text;
        qsizetype carried = 0;
        // Once a piece held a line that is not UTF-8, the rest of the file is decoded
        // line by line at once rather than tried whole first.
        bool lineByLine = false;
        for (;;) {
            const bool end = readChunk(buffer, carried) == 0;
            refuseNul(QByteArrayView(buffer).sliced(carried));
            const qsizetype cut = end ? buffer.size() : afterLastLineEnd(buffer, carried);
            const QByteArrayView lines(buffer.constData(), cut);
            if (lineByLine) {
                text = decodeLineByLine(lines);
            } else if (!decodeUtf8(lines, text) && decoding == Utf8OrWindows1252) {
                text = decodeLineByLine(lines);
                lineByLine = true;
            }
            take(text);
            if (end)
                return;
            carried = buffer.size() - cut;
            if (cut > 0)
                std::memmove(buffer.data(), buffer.constData() + cut, size_t(carried));
        }
    }

    void readUtf16(qint64 start, bool bigEndian)
    {
        skipMark(start);
        QByteArray buffer;
        QString text;
        qsizetype carried = 0;
        while (readChunk(buffer, carried) > 0) {
            const qsizetype units = buffer.size() / 2;
            text.resize(units);
            const auto *bytes = reinterpret_cast<const uchar *>(buffer.constData());
            QChar *out = text.data();
            for (qsizetype i = 0; i < units; ++i, bytes += 2)
                out[i] = QChar(bigEndian ? char16_t(bytes[0] << 8 | bytes[1]) : char16_t(bytes[1] << 8 | bytes[0]));
            take(text);
            carried = buffer.size() % 2;
            if (carried)
                buffer[0] = buffer[buffer.size() - 1];
        }
        // A stray last byte holds no character of its own and is dropped.
    }

    QFile &m_file;
    const QString &m_path;
    core::Desktop *m_desktop; // none: no yielding
    TextSink &m_sink;
    const QString &m_what;
    qint64 m_left = std::numeric_limits<qint64>::max(); // bytes still to read
    qint64 m_streamMost = 0; // a stream's most bytes; 0 for a file
};

} // namespace

void decodeTextFile(QFile &file, const QString &path, core::Desktop &desktop, TextSink &sink, const QString &what)
{
    TextFileDecoder(file, path, &desktop, sink, what).read();
}

void decodeTextStream(QFile &stream, const QString &name, core::Desktop &desktop, TextSink &sink, const QString &what,
                      qint64 most)
{
    TextFileDecoder(stream, name, &desktop, sink, what).readStream(most);
}

qint64 defaultStreamBytes()
{
    return defaultTableBudget() / 2;
}

void decodeTextRange(QFile &file, const QString &path, core::Desktop *desktop, TextSink &sink, const QString &what,
                     qint64 from, qint64 to, bool utf8Only)
{
    TextFileDecoder(file, path, desktop, sink, what).readRange(from, to, utf8Only);
}

} // namespace orvella::tables

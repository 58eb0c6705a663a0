#include "lists/ListFile.h"

#include "core/BackgroundWork.h"
#include "core/Desktop.h"
#include "core/Failure.h"
#include "core/Paths.h"
#include "core/ProgressState.h"
#include "lists/NameListModel.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvella::lists {
namespace {

using core::Failure;

// Windows-1252 for the bytes 0x80..0x9F (the rest equals Latin-1). The five bytes the
// code page leaves unassigned keep their own value, as Windows itself reads them, so
// that no byte of a file is lost.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Collects the non-empty lines of a text handed over in pieces. Every CR and every LF
// ends a line; since empty lines are dropped, CR LF, lone CR and lone LF all come to
// the same thing.
class LineCollector {
public:
    // False when the text holds a NUL character: not a text file.
    bool take(QStringView text)
    {
        const QChar *chars = text.data();
        const qsizetype size = text.size();
        qsizetype start = 0;
        for (qsizetype i = 0; i < size; ++i) {
            const char16_t c = chars[i].unicode();
            if (c > u'\r')
                continue;
            if (c == u'\r' || c == u'\n') {
                endLine(chars + start, i - start);
                start = i + 1;
            } else if (c == u'\0') {
                return false;
            }
        }
        m_pending.append(chars + start, size - start);
        return true;
    }

    QList<QString> finish()
    {
        endLine(nullptr, 0);
        return std::move(m_items);
    }

private:
    void endLine(const QChar *chars, qsizetype length)
    {
        if (!m_pending.isEmpty()) {
            m_pending.append(chars, length);
            m_items.append(std::move(m_pending));
            m_pending = QString();
        } else if (length > 0) {
            m_items.append(QString(chars, length));
        }
    }

    QList<QString> m_items;
    QString m_pending;
};

// Opens the temporary file that is to replace the file at its name. The new file takes
// the old one's mode, owner and group; false (and no temporary file left behind) when
// the folder takes no new file or the owner or group cannot be kept.
bool openBeside(QSaveFile &file, const struct stat *old)
{
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (!old)
        return true;
    const int fd = file.handle();
    struct stat created {};
    const bool kept = ::fstat(fd, &created) == 0 &&
                      ((created.st_uid == old->st_uid && created.st_gid == old->st_gid) ||
                       ::fchown(fd, old->st_uid, old->st_gid) == 0) &&
                      ::fchmod(fd, old->st_mode & 07777) == 0;
    if (!kept) {
        file.cancelWriting();
        file.commit();
    }
    return kept;
}

class ListFileReader {
public:
    ListFileReader(QFile &file, const QString &path, core::Desktop &desktop)
        : m_file(file), m_path(path), m_desktop(desktop)
    {
    }

    QList<QString> read()
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
        return m_lines.finish();
    }

private:
    // A file with a UTF-8 byte-order mark is UTF-8 throughout (a byte that does not fit
    // reads as U+FFFD); without a mark each line is UTF-8 when it is valid UTF-8 and
    // Windows-1252 when it is not.
    enum Decoding { Utf8Only, Utf8OrWindows1252 };

    // Reads up to kReadChunkBytes after the `keep` bytes already at the start of the
    // buffer; answers the number of bytes read, 0 at the end of the file.
    qint64 readChunk(QByteArray &buffer, qsizetype keep)
    {
        // Nothing reaches the list before the whole file is read, so other commands
        // may run between the pieces of a long file.
        m_desktop.yield();
        buffer.resize(keep + kReadChunkBytes);
        const qint64 got = m_file.read(buffer.data() + keep, kReadChunkBytes);
        if (got < 0)
            throw Failure(QStringLiteral("Cannot read %1: %2").arg(m_path, m_file.errorString()));
        buffer.resize(keep + got);
        return got;
    }

    void seek(qint64 position)
    {
        if (!m_file.seek(position))
            throw Failure(QStringLiteral("Cannot read %1: %2").arg(m_path, m_file.errorString()));
    }

    void take(QStringView text)
    {
        if (!m_lines.take(text))
            throw Failure(QStringLiteral("%1 is not a text file: it holds NUL characters").arg(m_path));
    }

    static bool isLineEnd(char byte) { return byte == '\r' || byte == '\n'; }

    // Just past the last CR or LF at or after `from`; 0 when there is none.
    static qsizetype afterLastLineEnd(const QByteArray &buffer, qsizetype from)
    {
        for (qsizetype i = buffer.size(); i > from; --i) {
            if (isLineEnd(buffer[i - 1]))
                return i;
        }
        return 0;
    }

    // UTF-8 into text; false when the bytes are not valid UTF-8 (a sequence cut short
    // included). A U+FEFF inside the text is kept as a character.
    static bool decodeUtf8(QByteArrayView bytes, QString &text)
    {
        QStringDecoder decoder(QStringConverter::Utf8,
                               QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
        text = decoder(bytes);
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
        seek(start);
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
        seek(start);
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
    core::Desktop &m_desktop;
    LineCollector m_lines;
};

} // namespace

void ReadListFile(NameListModel &list, const QString &path, core::Desktop &desktop, const QString &title)
{
    if (!core::FileExists(path)) {
        desktop.messageBox(QStringLiteral("File not found"), core::MessageStyle::Ok, title);
        return;
    }
    const QFileInfo info(path);
    if (info.isDir())
        throw Failure(QStringLiteral("%1 is a folder, not a list file").arg(path));
    if (!info.isFile())
        throw Failure(QStringLiteral("%1 is not a regular file").arg(path));

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()));
    // The items go to the list in one batch: a failure part-way adds nothing, and a
    // long file does not make the views catch up line by line.
    list.appendMany(ListFileReader(file, path, desktop).read());
}

ListFileOutput::ListFileOutput(const QString &path, const DeviceFilter &filter)
    : m_path(path), m_replacement(path)
{
    const QFileInfo info(path);
    if (info.isDir())
        throw Failure(QStringLiteral("Cannot create %1: it is a folder").arg(path));
    // Replacing the file through a temporary one would get past its write protection
    // (a file nobody may write counts as protected even for the superuser).
    constexpr auto anyWrite = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (info.exists() && (!info.isWritable() || !(info.permissions() & anyWrite)))
        throw Failure(QStringLiteral("Cannot replace %1: the file is write-protected").arg(path));

    struct stat old {};
    const bool exists = ::stat(QFile::encodeName(path).constData(), &old) == 0;
    m_regular = !exists || S_ISREG(old.st_mode);
    if (exists && (!m_regular || old.st_nlink > 1)) {
        openInPlace(m_regular);
    } else if (openBeside(m_replacement, exists ? &old : nullptr)) {
        m_file = &m_replacement;
    } else if (exists) {
        openInPlace(true);
    } else {
        m_finished = true;
        throw Failure(QStringLiteral("Cannot create %1: %2").arg(path, m_replacement.errorString()));
    }
    m_out = m_file;
    if (filter) {
        m_filter = filter(*m_file);
        if (m_filter)
            m_out = m_filter.get();
    }
}

void ListFileOutput::openInPlace(bool regular)
{
    // Not blocking: a pipe that nobody reads fails at once instead of holding the window
    // until somebody does. The writes that follow wait as usual.
    const int flags = O_WRONLY | O_CLOEXEC | O_NONBLOCK | (regular ? O_TRUNC : 0);
    const int fd = ::open(QFile::encodeName(m_path).constData(), flags);
    if (fd < 0 || ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        const int error = errno;
        if (fd >= 0)
            ::close(fd);
        m_finished = true;
        throw Failure(QStringLiteral("Cannot open %1: %2").arg(m_path, qt_error_string(error)));
    }
    if (!m_direct.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        m_finished = true;
        throw Failure(QStringLiteral("Cannot open %1: %2").arg(m_path, m_direct.errorString()));
    }
    m_file = &m_direct;
}

ListFileOutput::~ListFileOutput()
{
    discard();
}

QString ListFileOutput::errorText(int error) const
{
    if (m_out == m_file && error != 0)
        return qt_error_string(error);
    return m_out->errorString();
}

void ListFileOutput::writeLine(QStringView text)
{
    if (m_broken || m_finished)
        return;
    m_line = text.toUtf8();
    m_line.append("\r\n", 2);
    errno = 0;
    if (m_out->write(m_line) != m_line.size()) {
        const int error = errno;
        m_broken = true;
        throw Failure(QStringLiteral("Cannot write %1: %2").arg(m_path, errorText(error)));
    }
}

void ListFileOutput::commit(const std::function<void()> &yield)
{
    if (m_broken) {
        discard();
        throw Failure(QStringLiteral("%1 was not saved: writing it failed").arg(m_path));
    }
    if (m_finished)
        return;
    m_finished = true;
    // Flushing a large file to the disk can take a while: the window goes on meanwhile.
    bool committed = false;
    QString flushError;
    core::runWhileYielding(
        [&] {
            // QSaveFile::commit() misses a failure of the last buffered bytes on their
            // way to the disk (a full disk, a file-size limit) and would put the cut-short
            // file in place of the old one. So they are flushed first, and a failure
            // drops the temporary file.
            errno = 0;
            const bool flushed = m_file->flush();
            const int error = errno;
            if (!flushed) {
                flushError = error != 0 ? qt_error_string(error) : m_file->errorString();
                if (!inPlace()) {
                    m_replacement.cancelWriting();
                    m_replacement.commit();
                }
                return;
            }
            if (!inPlace()) {
                committed = m_replacement.commit();
                return;
            }
            // Written in place: a pipe or a device takes no sync.
            if (m_regular && ::fsync(m_direct.handle()) != 0) {
                flushError = qt_error_string(errno);
                return;
            }
            m_direct.close();
            committed = true;
        },
        yield);
    if (!flushError.isEmpty())
        throw Failure(QStringLiteral("Cannot write %1: %2").arg(m_path, flushError));
    if (!committed)
        throw Failure(QStringLiteral("Cannot save %1: %2").arg(m_path, m_replacement.errorString()));
}

void ListFileOutput::discard()
{
    if (m_finished)
        return;
    m_finished = true;
    if (inPlace()) {
        m_direct.close();
        return;
    }
    // Removes the temporary file now rather than when this object goes.
    m_replacement.cancelWriting();
    m_replacement.commit();
}

void WriteListFile(const NameListModel &list, const QString &path, core::ProgressState *progress,
                   core::Desktop &desktop)
{
    WriteListFile(list, path, progress, desktop, {});
}

void WriteListFile(const NameListModel &list, const QString &path, core::ProgressState *progress,
                   core::Desktop &desktop, const ListFileOutput::DeviceFilter &filter)
{
    const QString text = QStringLiteral("Writing file: ") + core::FileNamePart(path).toString();
    const auto show = [&](double position) {
        desktop.yield();
        progress->setPosition(position);
        progress->setText(text);
        desktop.yield();
    };

    if (progress)
        show(1);

    // The file holds the items there were when the save began, so that every written
    // item was measured; items appended meanwhile are not written.
    const int n = list.count();
    // The one column is as wide as its caption or its longest item.
    const QString caption = list.caption();
    qsizetype width = caption.size();
    for (int i = 1; i <= n; ++i) {
        desktop.yield();
        width = std::max(width, list.item(i).size());
    }
    if (progress)
        show(10);

    ListFileOutput out(path, filter);
    QString line;
    const auto field = [&](const QString &value) {
        line = value;
        if (line.size() < width)
            line.resize(width, QLatin1Char(' '));
        line.append(QLatin1Char('\t'));
    };

    desktop.yield();
    field(caption);
    out.writeLine(line);
    if (progress)
        show(20);

    for (int i = 1; i <= n; ++i) {
        desktop.yield();
        desktop.yield(); // before the column
        field(list.item(i));
        if (progress) {
            desktop.yield();
            const int now = list.count();
            if (now == 0)
                throw Failure(QStringLiteral("Division by zero"));
            progress->setPosition((double(i) + double(now / 2000)) / double(now) * 100.0);
            if (i % 1000 == 0)
                progress->setText(text + QStringLiteral(" (") + QString::number(i) + QLatin1Char(')'));
            desktop.yield();
        }
        out.writeLine(line);
    }

    // "Done." only once the file is really in place.
    out.commit([&desktop] { desktop.yield(); });
    if (progress) {
        progress->setPosition(100);
        progress->setText(QStringLiteral("Done."));
        progress->setPosition(0);
        progress->setText(core::ProgressState::kIdleText);
    }
}

QStringList selectedPaths(const QString &dialogAnswer)
{
    if (dialogAnswer.isEmpty())
        return {};
    const QStringList parts = dialogAnswer.split(QChar(u'\0'));
    if (parts.size() == 1)
        return parts;
    // An empty folder: the files come from several folders, each with its full path.
    const bool fullPaths = parts[0].isEmpty();
    QStringList paths;
    for (qsizetype k = 1; k < parts.size(); ++k) {
        if (parts[k].isEmpty())
            continue;
        paths << (fullPaths ? parts[k] : NormalizeBackslashes(parts[0] + QLatin1Char('/') + parts[k]));
    }
    return paths;
}

QString NormalizeBackslashes(const QString &path)
{
    QString cleaned;
    cleaned.reserve(path.size());
    for (const QChar c : path) {
        if (c == QLatin1Char('/') && cleaned.endsWith(QLatin1Char('/')))
            continue;
        cleaned.append(c);
    }
    return cleaned;
}

} // namespace orvella::lists

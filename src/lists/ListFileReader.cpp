#include "lists/ListFileReader.h"

#include "core/BackgroundWork.h"
#include "core/Desktop.h"
#include "core/Failure.h"
#include "core/Paths.h"
#include "lists/NameListModel.h"
#include "tables/TextFileDecoder.h"
#include "tables/TextRows.h"

#include <future>
#include <utility>

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvella::lists {
namespace {

using core::Failure;


// Collects the non-empty lines of a text handed over in pieces. Every CR and every LF
// ends a line; since empty lines are dropped, CR LF, lone CR and lone LF all come to
// the same thing.
class LineCollector : public tables::TextSink {
public:
    // False when the text holds a NUL character: not a text file.
    bool take(QStringView text) override
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

    tables::TextRows finish()
    {
        endLine(nullptr, 0);
        return std::move(m_items);
    }

private:
    void endLine(const QChar *chars, qsizetype length)
    {
        if (!m_pending.isEmpty()) {
            m_pending.append(chars, length);
            m_items.append(m_pending);
            m_pending = QString();
        } else if (length > 0) {
            m_items.append(QStringView(chars, length));
        }
    }

    tables::TextRows m_items;
    QString m_pending;
};

// A regular file of 8-bit text at least this long is read in two halves at once.
constexpr qint64 kTwoHalvesFrom = qint64(8) << 20;

// Where the second half of a file starts: just after the first CR or LF from its middle
// on (since empty lines are dropped, between the CR and the LF of a pair will do); 0
// when there is none within a piece of the middle.
qint64 secondHalfStart(QFile &other, qint64 size)
{
    const qint64 middle = size / 2;
    if (!other.seek(middle))
        return 0;
    const QByteArray near = other.read(tables::kReadChunkBytes);
    for (qsizetype i = 0; i < near.size(); ++i) {
        if (near[i] == '\r' || near[i] == '\n')
            return middle + i + 1;
    }
    return 0;
}

// The non-empty lines of the file, decoded as a names file is.
tables::TextRows readLines(QFile &file, const QString &path, core::Desktop &desktop, FileReading reading,
                   qint64 streamMost = 0)
{
    const QString what = QStringLiteral("a text file");
    const QByteArray head = file.isSequential() ? QByteArray() : file.peek(3);
    const bool utf16 = head.startsWith("\xFF\xFE") || head.startsWith("\xFE\xFF");
    // The same file opened again, with a place of its own to read from.
    QFile other(QStringLiteral("/proc/self/fd/%1").arg(file.handle()));
    const qint64 size = file.isSequential() ? 0 : file.size();
    const qint64 split = reading == FileReading::TwoHalves && size >= kTwoHalvesFrom && !utf16 &&
            other.open(QIODevice::ReadOnly)
        ? secondHalfStart(other, size)
        : 0;
    if (split == 0) {
        LineCollector lines;
        if (streamMost > 0)
            tables::decodeTextStream(file, path, desktop, lines, what, streamMost);
        else
            tables::decodeTextFile(file, path, desktop, lines, what);
        return lines.finish();
    }
    // Lines are decoded each on its own, so a long file's two halves, split at a line
    // end, are read at once: the second on a worker, the first here.
    const bool utf8Only = head.startsWith("\xEF\xBB\xBF");
    std::future<tables::TextRows> second = core::startWorker([&] {
        LineCollector lines;
        tables::decodeTextRange(other, path, nullptr, lines, what, split, size, utf8Only);
        return lines.finish();
    });
    LineCollector first;
    const qint64 mark = utf8Only ? 3 : 0;
    // (A failure here waits for the worker before it is passed on.)
    tables::decodeTextRange(file, path, &desktop, first, what, mark, split, utf8Only);
    tables::TextRows rows = first.finish();
    rows.append(second.get());
    return rows;
}

} // namespace

tables::TextRows namesOfListTable(tables::TextRows lines)
{
    if (lines.isEmpty())
        return lines;
    const QStringView header = lines.at(0);
    const qsizetype length = header.size();
    if (length < 2 || header.back() != QLatin1Char('\t'))
        return lines;
    QStringView caption = header.chopped(1);
    while (caption.endsWith(QLatin1Char(' ')))
        caption.chop(1);
    if (caption != u" Name(s)" && caption != u"Result(s)" && caption != u"Suffix List")
        return lines;
    bool table = true;
    lines.forEach([&](QStringView line) { table = table && line.size() == length && line.back() == QLatin1Char('\t'); });
    if (!table)
        return lines;
    tables::TextRows names;
    bool first = true;
    lines.forEach([&](QStringView line) {
        if (std::exchange(first, false))
            return; // the caption
        QStringView name = line.chopped(1);
        while (name.endsWith(QLatin1Char(' ')))
            name.chop(1);
        if (!name.isEmpty())
            names.append(name);
    });
    return names;
}

void ReadListFile(NameListModel &list, const QString &path, core::Desktop &desktop, const QString &title,
                  FileReading reading)
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
    list.appendMany(namesOfListTable(readLines(file, path, desktop, reading)));
}

void ReadListStream(NameListModel &list, QFile &stream, const QString &name, core::Desktop &desktop, qint64 most)
{
    list.appendMany(namesOfListTable(readLines(stream, name, desktop, FileReading::Yielding, most)));
}

void ReadListFile(NameListModel &list, const QByteArray &nativePath, core::Desktop &desktop, const QString &title,
                  FileReading reading)
{
    const QString path = QFile::decodeName(nativePath);
    if (QFile::encodeName(path) == nativePath) {
        ReadListFile(list, path, desktop, title, reading);
        return;
    }
    // The name is no valid text in the locale's encoding: its text (with U+FFFD for the
    // bytes that do not fit) names another file or none, so the file is found and opened
    // by the bytes, and the text only names it in messages.
    struct stat status {};
    if (::stat(nativePath.constData(), &status) != 0) {
        desktop.messageBox(QStringLiteral("File not found"), core::MessageStyle::Ok, title);
        return;
    }
    if (S_ISDIR(status.st_mode))
        throw Failure(QStringLiteral("%1 is a folder, not a list file").arg(path));
    if (!S_ISREG(status.st_mode))
        throw Failure(QStringLiteral("%1 is not a regular file").arg(path));

    const int handle = ::open(nativePath.constData(), O_RDONLY | O_CLOEXEC);
    if (handle < 0)
        throw Failure(QStringLiteral("Cannot open %1: %2").arg(path, qt_error_string(errno)));
    QFile file;
    if (!file.open(handle, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(handle);
        throw Failure(QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()));
    }
    list.appendMany(namesOfListTable(readLines(file, path, desktop, reading)));
}

} // namespace orvella::lists

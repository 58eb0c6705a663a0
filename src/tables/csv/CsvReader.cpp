#include "tables/csv/CsvReader.h"

#include "core/Failure.h"
#include "core/Utf8.h"
#include "tables/TextFileDecoder.h"
#include "tables/csv/CsvSplitter.h"
#include "tables/csv/Utf8Checker.h"

#include <QFile>

#include <algorithm>
#include <optional>
#include <span>
#include <vector>

namespace orvella::tables {
namespace {

using core::Failure;

// The records of a UTF-8 file into the table as they are.
class Utf8RowsSink : public CsvRecordSink {
public:
    explicit Utf8RowsSink(TableRows &rows) : m_rows(rows) {}
    void takeRecord(std::span<const QByteArrayView> fields, bool) override { m_rows.appendRow(fields); }

private:
    TableRows &m_rows;
};

// Reads a CSV or TSV file that is UTF-8 (with a UTF-8 byte-order mark or none) straight
// from its bytes, in the pieces and with the first text the decoder would hand over.
// Answers nothing, having read some of the file, when the file is not UTF-8 throughout
// or holds a NUL byte (or starts with a UTF-16 mark): the decoder must read it from the
// start.
class Utf8CsvReader {
public:
    Utf8CsvReader(QFile &file, const QString &path, std::optional<char> delimiter, core::Desktop &desktop)
        : m_file(file), m_path(path), m_delimiter(delimiter), m_desktop(desktop)
    {
    }

    std::optional<TableRows> read()
    {
        const QByteArray mark = m_file.peek(3);
        if (mark.startsWith("\xFF\xFE") || mark.startsWith("\xFE\xFF"))
            return std::nullopt;
        if (mark.startsWith("\xEF\xBB\xBF") && m_file.skip(3) != 3)
            return std::nullopt; // the decoder tells what went wrong

        TableRows rows;
        Utf8RowsSink sink(rows);
        std::optional<CsvSplitter> splitter;
        if (m_delimiter)
            splitter.emplace(*m_delimiter, sink);
        Utf8Checker checker;
        QByteArray buffer;
        // Until the delimiter is known every piece stays in the buffer; up to headEnd the
        // decoder would have handed its text over by now (each piece's text ends at the
        // piece's last line end).
        qsizetype headEnd = 0;
        for (;;) {
            const qsizetype kept = splitter ? 0 : buffer.size();
            const bool end = readPiece(m_file, m_path, m_desktop, buffer, kept) == 0;
            if (!checker.take(QByteArrayView(buffer).sliced(kept)) || (end && !checker.finish()))
                return std::nullopt;
            if (!splitter) {
                headEnd = end ? buffer.size() : std::max(headEnd, afterLastLineEnd(buffer, kept));
                const QByteArrayView head = QByteArrayView(buffer).first(headEnd);
                const bool complete = fewerUnitsThanAHead(head);
                if (complete && !end)
                    continue;
                splitter.emplace(detectCsvDelimiter(head, complete), sink);
            }
            splitter->take(buffer);
            if (end)
                break;
            splitter->pieceEnds();
        }
        splitter->finish();
        rows.setDelimiter(splitter->delimiter());
        return rows;
    }

private:
    // Whether the UTF-8 text holds fewer UTF-16 units than the delimiter is found from.
    // A character takes one to three bytes for each of its units, so only a head of one
    // to three times that many bytes needs its units counted.
    static bool fewerUnitsThanAHead(QByteArrayView head)
    {
        if (head.size() < kDelimiterHeadUnits)
            return true;
        return head.size() < 3 * kDelimiterHeadUnits && core::utf16Units(head) < kDelimiterHeadUnits;
    }

    QFile &m_file;
    const QString &m_path;
    const std::optional<char> m_delimiter;
    core::Desktop &m_desktop;
};

// The text's UTF-16 units as UTF-8, after what `bytes` holds. A surrogate without its
// partner beside it in the text is written as its own three bytes (as WTF-8 does), so
// that every unit comes back from the bytes as it was: the halves of a pair that a
// piece's end cuts, or that a closing quote stands between, meet again in their cell.
void appendUtf8(QByteArray &bytes, QStringView text)
{
    const qsizetype start = bytes.size();
    bytes.resize(start + 3 * text.size());
    char *out = bytes.data() + start;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t unit = text[i].unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < size && text[i + 1].isLowSurrogate())
            out = core::putUtf8(out, QChar::surrogateToUcs4(unit, text[++i].unicode()));
        else
            out = core::putUtf8(out, char32_t(unit));
    }
    bytes.truncate(out - bytes.constData());
}

// Bytes that appendUtf8 wrote (whole characters: a cell ends at an ASCII byte), back into
// their UTF-16 units at `out`; answers the place after them.
QChar *putUtf16(QChar *out, QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    const uchar *const end = p + bytes.size();
    while (p < end) {
        const uchar lead = *p++;
        if (lead < 0x80) {
            *out++ = QChar(lead);
        } else if (lead < 0xE0) {
            *out++ = QChar(char16_t((lead & 0x1F) << 6 | (p[0] & 0x3F)));
            p += 1;
        } else if (lead < 0xF0) {
            *out++ = QChar(char16_t((lead & 0x0F) << 12 | (p[0] & 0x3F) << 6 | (p[1] & 0x3F)));
            p += 2;
        } else {
            const char32_t c = char32_t(lead & 0x07) << 18 | char32_t(p[0] & 0x3F) << 12 | char32_t(p[1] & 0x3F) << 6 |
                               char32_t(p[2] & 0x3F);
            *out++ = QChar(QChar::highSurrogate(c));
            *out++ = QChar(QChar::lowSurrogate(c));
            p += 3;
        }
    }
    return out;
}

// The records of a decoded text into the table as UTF-16 text, as any text goes there:
// the table counts the room a row may take by its characters, and makes a lone
// surrogate what it makes of one anywhere.
class Utf16RowsSink : public CsvRecordSink {
public:
    explicit Utf16RowsSink(TableRows &rows) : m_rows(rows) {}

    void takeRecord(std::span<const QByteArrayView> fields, bool) override
    {
        qsizetype bytes = 0;
        for (const QByteArrayView field : fields)
            bytes += field.size();
        m_text.resize(bytes); // no character takes more UTF-16 units than UTF-8 bytes
        m_views.clear();
        QChar *out = m_text.data();
        for (const QByteArrayView field : fields) {
            QChar *const start = out;
            out = putUtf16(out, field);
            m_views.emplace_back(start, out - start);
        }
        m_rows.appendRow(std::span<const QStringView>(m_views));
    }

private:
    TableRows &m_rows;
    QString m_text; // the record's fields, one after the other
    std::vector<QStringView> m_views;
};

// The decoded text of a CSV file, piece by piece, as UTF-8 to the splitter. Without a
// delimiter given, the first 64 Ki units (or the first piece, if longer) wait until the
// delimiter is found from them.
class DecodedCsvSink : public TextSink {
public:
    explicit DecodedCsvSink(std::optional<char> delimiter) : m_rowsSink(m_rows)
    {
        if (delimiter)
            m_splitter.emplace(*delimiter, m_rowsSink);
    }

    // The text before a NUL is split all the same, in order: a record of it that is too
    // large for the table fails the file as such before the NUL does.
    bool take(QStringView text) override
    {
        const qsizetype nul = text.indexOf(QChar(u'\0'));
        const QStringView characters = nul < 0 ? text : text.first(nul);
        if (m_splitter) {
            m_bytes.resize(0); // keeps its room for the next piece
            appendUtf8(m_bytes, characters);
        } else {
            appendUtf8(m_bytes, characters);
            m_headUnits += text.size();
            if (m_headUnits < kDelimiterHeadUnits)
                return nul < 0;
            m_splitter.emplace(detectCsvDelimiter(m_bytes, false), m_rowsSink);
        }
        m_splitter->take(m_bytes);
        m_splitter->pieceEnds();
        return nul < 0;
    }

    TableRows finish()
    {
        if (!m_splitter) {
            m_splitter.emplace(detectCsvDelimiter(m_bytes, true), m_rowsSink);
            m_splitter->take(m_bytes);
        }
        m_splitter->finish();
        m_rows.setDelimiter(m_splitter->delimiter());
        return std::move(m_rows);
    }

private:
    TableRows m_rows;
    Utf16RowsSink m_rowsSink;
    std::optional<CsvSplitter> m_splitter;
    QByteArray m_bytes; // the piece being split; the first text while the delimiter is not known
    qsizetype m_headUnits = 0;
};

QString kindName(TableKind kind)
{
    return kind == TableKind::Tsv ? QStringLiteral("a TSV file") : QStringLiteral("a CSV file");
}

} // namespace

TableRows readCsvTable(const QString &path, TableKind kind, core::Desktop &desktop)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()));
    const std::optional<char> delimiter = kind == TableKind::Tsv ? std::optional<char>('\t') : std::nullopt;
    // Most files are UTF-8 throughout, and those are split straight from their bytes,
    // without a copy. Any other file is read again from the start through the decoder
    // (a pipe cannot go back, so it goes there at once).
    if (!file.isSequential()) {
        // A line is held whole until it ends, so a file larger than a table may be
        // (one endless line, say) is refused before any of it is read.
        TableRows().checkRoom(file.size());
        std::optional<TableRows> rows = Utf8CsvReader(file, path, delimiter, desktop).read();
        if (rows)
            return std::move(*rows);
        if (!file.seek(0))
            throw Failure(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
    }
    // The decoder knows every encoding and the ways a file may be damaged.
    DecodedCsvSink sink(delimiter);
    decodeTextFile(file, path, desktop, sink, kindName(kind));
    return sink.finish();
}

} // namespace orvella::tables

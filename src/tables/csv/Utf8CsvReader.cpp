#include "tables/csv/Utf8CsvReader.h"

#include "core/Desktop.h"
#include "core/Failure.h"
#include "tables/csv/CsvParser.h"
#include "tables/TextFileDecoder.h"

#include <QStringDecoder>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <span>
#include <vector>

namespace orvella::tables {
namespace {

using core::Failure;

constexpr char kQuote = '"';

bool isLineEnd(char byte) { return byte == '\r' || byte == '\n'; }

// Splits UTF-8 bytes into records exactly as CsvParser splits their decoded text, state
// for state: the delimiter, the quote, CR and LF are ASCII, and no byte of a longer UTF-8
// character is ASCII, so the bytes split where the characters do. A field is a slice of
// the piece being read wherever its bytes are all in a row there; a record is copied
// only when a field's bytes are not (a doubled quote, text after a closing quote) or
// when the piece ends inside it.
class Utf8CsvSplitter {
public:
    Utf8CsvSplitter(char delimiter, TableRows &rows) : m_delimiter(delimiter), m_rows(rows)
    {
        m_stops.fill(false);
        m_stops[uchar(delimiter)] = m_stops[uchar('\r')] = m_stops[uchar('\n')] = true;
    }

    // The bytes hold no NUL (Utf8Checker saw to it).
    void take(const char *bytes, qsizetype size)
    {
        // The state and the field being read stay in locals while the bytes are split.
        State state = m_state;
        Slice field = m_field;
        for (qsizetype i = 0; i < size; ++i) {
            const char c = bytes[i];
            switch (state) {
            case State::RecordStart:
                // A line end here ends an empty line (or is the LF of a CR LF): no record.
                if (isLineEnd(c))
                    break;
                state = State::FieldStart;
                [[fallthrough]];
            case State::FieldStart:
                if (c == kQuote) {
                    state = State::Quoted;
                    break;
                }
                state = State::Unquoted;
                [[fallthrough]];
            case State::Unquoted: {
                const qsizetype end = fieldEnd(bytes, i, size);
                append(field, bytes + i, end - i);
                i = end;
                if (i == size)
                    break;
                if (bytes[i] == m_delimiter) {
                    endField(field);
                    state = State::FieldStart;
                } else {
                    endField(field);
                    endRecord();
                    state = State::RecordStart;
                }
                break;
            }
            case State::Quoted: {
                const void *const quote = std::memchr(bytes + i, kQuote, size_t(size - i));
                const qsizetype end = quote ? static_cast<const char *>(quote) - bytes : size;
                append(field, bytes + i, end - i);
                i = end;
                if (i < size)
                    state = State::QuoteInQuoted;
                break;
            }
            case State::QuoteInQuoted:
                if (c == kQuote) {
                    // One quote of a doubled quote: the field's bytes are no longer in a row.
                    if (!m_copied)
                        copyRecord(field);
                    m_record.append(kQuote);
                    state = State::Quoted;
                } else if (c == m_delimiter) {
                    endField(field);
                    state = State::FieldStart;
                } else if (isLineEnd(c)) {
                    endField(field);
                    endRecord();
                    state = State::RecordStart;
                } else {
                    // Text after the closing quote belongs to the field.
                    append(field, bytes + i, 1);
                    state = State::Unquoted;
                }
                break;
            }
        }
        m_state = state;
        m_field = field;
    }

    // The bytes last taken are about to be overwritten: the record they hold a part of
    // moves to a copy of its own.
    void pieceEnds()
    {
        if (m_state != State::RecordStart && !m_copied)
            copyRecord(m_field);
    }

    // Ends the last record, which need not end with a line end.
    void finish()
    {
        if (m_state == State::RecordStart)
            return;
        endField(m_field);
        endRecord();
        m_state = State::RecordStart;
    }

private:
    enum class State { RecordStart, FieldStart, Unquoted, Quoted, QuoteInQuoted };

    // The first delimiter, CR or LF at or after `from`; `size` when there is none. Eight
    // bytes at a time: a byte equal to one of them is a zero byte of the word XOR that
    // byte repeated, and the lowest zero byte found is the first one.
    qsizetype fieldEnd(const char *bytes, qsizetype from, qsizetype size) const
    {
        constexpr quint64 kOnes = 0x0101010101010101ULL;
        constexpr quint64 kHighBits = 0x8080808080808080ULL;
        const auto zeroBytes = [](quint64 word) { return (word - kOnes) & ~word & kHighBits; };
        const quint64 delimiters = kOnes * uchar(m_delimiter);
        constexpr quint64 crs = kOnes * '\r';
        constexpr quint64 lfs = kOnes * '\n';
        qsizetype end = from;
        for (; end + 8 <= size; end += 8) {
            const quint64 word = qFromLittleEndian<quint64>(bytes + end);
            const quint64 stops = zeroBytes(word ^ delimiters) | zeroBytes(word ^ crs) | zeroBytes(word ^ lfs);
            if (stops != 0)
                return end + std::countr_zero(stops) / 8;
        }
        while (end < size && !m_stops[uchar(bytes[end])])
            ++end;
        return end;
    }

    // The bytes of a field while they are a slice of the piece; no bytes yet while begin
    // is null.
    struct Slice {
        const char *begin = nullptr;
        const char *end = nullptr;
    };

    // Adds bytes to the field: a longer slice when they follow the field's bytes so far,
    // else into the record's copy.
    void append(Slice &field, const char *bytes, qsizetype size)
    {
        if (!m_copied) {
            if (!field.begin) {
                field = {bytes, bytes + size};
                return;
            }
            if (bytes == field.end) {
                field.end += size;
                return;
            }
            copyRecord(field);
        }
        m_record.append(bytes, size);
    }

    void endField(Slice &field)
    {
        if (m_copied)
            m_ends.push_back(m_record.size());
        else
            m_cells.emplace_back(field.begin, field.end - field.begin);
        field = {};
    }

    // The fields of the record so far, and the field being read, into m_record.
    void copyRecord(Slice &field)
    {
        m_record.resize(0); // keeps its room from the last record copied
        m_ends.clear();
        for (const QByteArrayView cell : m_cells) {
            m_record.append(cell.data(), cell.size());
            m_ends.push_back(m_record.size());
        }
        m_cells.clear();
        if (field.begin)
            m_record.append(field.begin, field.end - field.begin);
        field = {};
        m_copied = true;
    }

    // The record's fields, all ended, into the rows.
    void endRecord()
    {
        if (m_copied) {
            qsizetype start = 0;
            for (const qsizetype end : m_ends) {
                m_cells.emplace_back(m_record.constData() + start, end - start);
                start = end;
            }
        }
        m_rows.appendRow(std::span<const QByteArrayView>(m_cells));
        m_cells.clear();
        if (m_copied) {
            m_record.resize(0);
            m_ends.clear();
            m_copied = false;
        }
    }

    const char m_delimiter;
    TableRows &m_rows;
    std::array<bool, 256> m_stops; // the bytes that end an unquoted field: delimiter, CR, LF
    State m_state = State::RecordStart;
    // The record's fields while they are slices of the piece: those ended, and the one
    // being read.
    std::vector<QByteArrayView> m_cells;
    Slice m_field;
    // A record copied: its fields one after the other, and the end of each one ended.
    bool m_copied = false;
    QByteArray m_record;
    std::vector<qsizetype> m_ends;
};

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
        std::optional<Utf8CsvSplitter> splitter;
        if (m_delimiter)
            splitter.emplace(*m_delimiter, rows);
        Utf8Checker checker;
        QByteArray buffer;
        // Until the delimiter is known every piece stays in the buffer; up to headEnd the
        // decoder would have handed its text over by now (each piece's text ends at the
        // piece's last line end).
        qsizetype headEnd = 0;
        for (;;) {
            const qsizetype kept = splitter ? 0 : buffer.size();
            const bool end = readChunk(buffer, kept) == 0;
            if (!checker.take(QByteArrayView(buffer).sliced(kept)) || (end && !checker.finish()))
                return std::nullopt;
            if (!splitter) {
                headEnd = end ? buffer.size() : std::max(headEnd, afterLastLineEnd(buffer, kept));
                const QString head = decodeUtf8(QByteArrayView(buffer).first(headEnd));
                const bool complete = head.size() < kDelimiterHeadUnits;
                if (complete && !end)
                    continue;
                splitter.emplace(char(CsvParser::detectDelimiter(head, complete).unicode()), rows);
            }
            splitter->take(buffer.constData(), buffer.size());
            if (end)
                break;
            splitter->pieceEnds();
        }
        splitter->finish();
        return rows;
    }

private:
    // As the decoder reads the file: in the same pieces, yielding before each one.
    qint64 readChunk(QByteArray &buffer, qsizetype keep) { return readPiece(m_file, m_path, m_desktop, buffer, keep); }

    // Just past the last CR or LF at or after `from`; 0 when there is none.
    static qsizetype afterLastLineEnd(const QByteArray &buffer, qsizetype from)
    {
        for (qsizetype i = buffer.size(); i > from; --i) {
            if (isLineEnd(buffer[i - 1]))
                return i;
        }
        return 0;
    }

    // The text as the decoder makes it (a U+FEFF at the start kept as a character).
    static QString decodeUtf8(QByteArrayView bytes)
    {
        QStringDecoder decoder(QStringConverter::Utf8,
                               QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
        return decoder.decode(bytes);
    }

    QFile &m_file;
    const QString &m_path;
    const std::optional<char> m_delimiter;
    core::Desktop &m_desktop;
};

} // namespace

bool Utf8Checker::take(QByteArrayView bytes)
{
    constexpr quint64 kOnes = 0x0101010101010101ULL;
    constexpr quint64 kHighBits = 0x8080808080808080ULL;
    const auto *const p = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    for (;;) {
        // The continuation bytes of a character begun before.
        while (m_needed > 0) {
            if (i == size)
                return true;
            const uchar byte = p[i++];
            if (byte < m_low || byte > m_high)
                return false;
            m_low = 0x80;
            m_high = 0xBF;
            --m_needed;
        }
        // ASCII sixteen bytes at a time, as long as none is past 0x7F or a NUL.
        while (i + 16 <= size) {
            const quint64 first = qFromUnaligned<quint64>(p + i);
            const quint64 second = qFromUnaligned<quint64>(p + i + 8);
            const quint64 zeros = ((first - kOnes) & ~first) | ((second - kOnes) & ~second);
            if (((first | second | zeros) & kHighBits) != 0)
                break;
            i += 16;
        }
        if (i == size)
            return true;
        const uchar lead = p[i++];
        if (lead < 0x80) {
            if (lead == 0)
                return false;
            continue;
        }
        // The lead byte says how many continuation bytes follow, and the first of them is
        // narrowed where the shortest form, the surrogates or U+10FFFF would be passed.
        if (lead < 0xC2 || lead > 0xF4)
            return false; // a continuation byte, an overlong two-byte lead, or past U+10FFFF
        if (lead < 0xE0) {
            m_needed = 1;
        } else if (lead < 0xF0) {
            m_needed = 2;
            m_low = lead == 0xE0 ? 0xA0 : 0x80;  // below U+0800: overlong
            m_high = lead == 0xED ? 0x9F : 0xBF; // U+D800..U+DFFF: surrogates
        } else {
            m_needed = 3;
            m_low = lead == 0xF0 ? 0x90 : 0x80;  // below U+10000: overlong
            m_high = lead == 0xF4 ? 0x8F : 0xBF; // past U+10FFFF
        }
    }
}

std::optional<TableRows> readUtf8CsvTable(QFile &file, const QString &path, std::optional<char> delimiter,
                                          core::Desktop &desktop)
{
    return Utf8CsvReader(file, path, delimiter, desktop).read();
}

} // namespace orvella::tables

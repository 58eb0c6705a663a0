#include "tables/csv/CsvSplitter.h"

#include "tables/TextFileDecoder.h"

#include <QtEndian>

#include <algorithm>
#include <bit>
#include <cstring>
#include <map>
#include <tuple>

namespace orvella::tables {
namespace {

constexpr char kQuote = '"';

} // namespace

CsvSplitter::CsvSplitter(char delimiter, CsvRecordSink &sink, bool noticeStrayQuotes)
    : m_delimiter(delimiter), m_sink(sink), m_noticeStrayQuotes(noticeStrayQuotes)
{
    m_stops.fill(false);
    m_stops[uchar(delimiter)] = m_stops[uchar('\r')] = m_stops[uchar('\n')] = true;
}

void CsvSplitter::take(QByteArrayView piece)
{
    const char *const bytes = piece.data();
    const qsizetype size = piece.size();
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
            if (m_noticeStrayQuotes && std::memchr(bytes + i, kQuote, size_t(end - i)) != nullptr)
                m_wellFormed = false; // a quote inside a field that does not start with one
            append(field, bytes + i, end - i);
            i = end;
            if (i == size)
                break;
            endField(field);
            if (bytes[i] == m_delimiter) {
                state = State::FieldStart;
            } else {
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
                if (m_noticeStrayQuotes)
                    m_wellFormed = false;
                append(field, bytes + i, 1);
                state = State::Unquoted;
            }
            break;
        }
    }
    m_state = state;
    m_field = field;
}

void CsvSplitter::pieceEnds()
{
    if (m_state != State::RecordStart && !m_copied)
        copyRecord(m_field);
}

void CsvSplitter::finish()
{
    if (m_state == State::RecordStart)
        return;
    endField(m_field);
    endRecord();
    m_state = State::RecordStart;
}

// The helpers of take() are inline: they run for every field of a table of a million
// rows.

// The first delimiter, CR or LF at or after `from`; `size` when there is none. Eight
// bytes at a time: a byte equal to one of them is a zero byte of the word XOR that byte
// repeated, and the lowest zero byte found is the first one.
inline qsizetype CsvSplitter::fieldEnd(const char *bytes, qsizetype from, qsizetype size) const
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

// Adds bytes to the field: a longer slice when they follow the field's bytes so far, else
// into the record's copy.
inline void CsvSplitter::append(Slice &field, const char *bytes, qsizetype size)
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

inline void CsvSplitter::endField(Slice &field)
{
    if (m_copied)
        m_ends.push_back(m_record.size());
    else
        m_cells.emplace_back(field.begin, field.end - field.begin);
    field = {};
}

// The fields of the record so far, and the field being read, into m_record.
void CsvSplitter::copyRecord(Slice &field)
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

// The record's fields, all ended, to the sink.
void CsvSplitter::endRecord()
{
    if (m_copied) {
        qsizetype start = 0;
        for (const qsizetype end : m_ends) {
            m_cells.emplace_back(m_record.constData() + start, end - start);
            start = end;
        }
    }
    m_sink.takeRecord(std::span<const QByteArrayView>(m_cells), m_wellFormed);
    m_cells.clear();
    m_wellFormed = true;
    if (m_copied) {
        m_record.resize(0);
        m_ends.clear();
        m_copied = false;
    }
}

namespace {

constexpr int kSampleRecords = 20;

// Whether every record sampled has the same number of fields (more than one) and no
// stray quote: a candidate that reads the sample as one clean table wins, since a
// delimiter that stands inside quoted fields can split more lines than the real one
// does. Then how many of the first records agree on one number of fields: those read
// without leniency first (a stray quote is mostly a sign of the wrong delimiter, that
// split a quoted field), then all of them.
using Agreement = std::tuple<bool, int, int>;

// The first records a candidate delimiter splits the head into.
class DelimiterSample : public CsvRecordSink {
public:
    void takeRecord(std::span<const QByteArrayView> fields, bool wellFormed) override
    {
        if (++sampled > kSampleRecords)
            return;
        m_clean = m_clean && fields.size() > 1 && wellFormed && (m_cleanFields == 0 || m_cleanFields == fields.size());
        m_cleanFields = m_clean ? fields.size() : 0;
        if (fields.size() < 2)
            return;
        Agreement &agreement = m_records[fields.size()];
        std::get<1>(agreement) += wellFormed ? 1 : 0;
        std::get<2>(agreement) += 1;
    }

    // The best agreement of the records on a number of fields.
    Agreement best() const
    {
        Agreement best{false, 0, 0};
        for (auto [fields, agreement] : m_records) {
            std::get<0>(agreement) = m_clean && fields == m_cleanFields;
            best = std::max(best, agreement);
        }
        return best;
    }

    int sampled = 0;

private:
    std::map<std::size_t, Agreement> m_records; // by number of fields
    std::size_t m_cleanFields = 0; // the one number of fields while the sample is clean, else 0
    bool m_clean = true;
};

} // namespace

char detectCsvDelimiter(QByteArrayView head, bool complete)
{
    char best = ',';
    Agreement bestAgreement{false, 0, 0};
    for (const char candidate : {',', ';', '\t'}) {
        DelimiterSample sample;
        CsvSplitter splitter(candidate, sample, true);
        // In slices, so that the rest of a long head is not split once the records
        // sampled are all in: the records after them count for nothing.
        constexpr qsizetype kSlice = 4096;
        for (qsizetype at = 0; at < head.size() && sample.sampled <= kSampleRecords; at += kSlice)
            splitter.take(head.sliced(at, std::min(kSlice, head.size() - at)));
        if (complete && sample.sampled <= kSampleRecords)
            splitter.finish();
        // The first candidate wins a tie, so a comma before a semicolon before a TAB.
        const Agreement agreement = sample.best();
        if (agreement > bestAgreement) {
            best = candidate;
            bestAgreement = agreement;
        }
    }
    return best;
}

} // namespace orvella::tables

#include "tables/csv/CsvParser.h"

#include <algorithm>
#include <map>
#include <tuple>
#include <utility>

namespace orvella::tables {
namespace {

constexpr QChar kQuote = u'"';

bool isLineEnd(QChar c) { return c == u'\r' || c == u'\n'; }

} // namespace

CsvParser::CsvParser(QChar delimiter, RecordSink sink) : m_delimiter(delimiter), m_sink(std::move(sink)) {}

bool CsvParser::take(QStringView text)
{
    const QChar *const chars = text.data();
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = chars[i];
        if (c.unicode() == 0)
            return false;
        switch (m_state) {
        case State::RecordStart:
            // A line end here ends an empty line (or is the LF of a CR LF): no record.
            if (isLineEnd(c))
                break;
            m_state = State::FieldStart;
            [[fallthrough]];
        case State::FieldStart:
            if (c == kQuote) {
                m_state = State::Quoted;
                break;
            }
            m_state = State::Unquoted;
            [[fallthrough]];
        case State::Unquoted: {
            // The ordinary characters up to the next delimiter or line end go in at once.
            qsizetype end = i;
            while (end < size && chars[end] != m_delimiter && !isLineEnd(chars[end]) && chars[end].unicode() != 0)
                ++end;
            if (std::find(chars + i, chars + end, kQuote) != chars + end)
                m_wellFormed = false; // a quote inside a field that does not start with one
            m_record.append(chars + i, end - i);
            i = end;
            if (i == size)
                break;
            if (chars[i].unicode() == 0)
                return false;
            if (chars[i] == m_delimiter) {
                endField();
                m_state = State::FieldStart;
            } else {
                endRecord();
            }
            break;
        }
        case State::Quoted: {
            qsizetype end = i;
            while (end < size && chars[end] != kQuote && chars[end].unicode() != 0)
                ++end;
            m_record.append(chars + i, end - i);
            i = end;
            if (i == size)
                break;
            if (chars[i].unicode() == 0)
                return false;
            m_state = State::QuoteInQuoted;
            break;
        }
        case State::QuoteInQuoted:
            if (c == kQuote) {
                m_record.append(kQuote);
                m_state = State::Quoted;
            } else if (c == m_delimiter) {
                endField();
                m_state = State::FieldStart;
            } else if (isLineEnd(c)) {
                endRecord();
            } else {
                // Text after the closing quote belongs to the field.
                m_wellFormed = false;
                m_record.append(c);
                m_state = State::Unquoted;
            }
            break;
        }
    }
    return true;
}

void CsvParser::finish()
{
    // A quoted field still open at the end keeps what it has.
    if (m_state != State::RecordStart)
        endRecord();
}

void CsvParser::endField()
{
    m_ends.push_back(m_record.size());
}

void CsvParser::endRecord()
{
    endField();
    m_views.clear();
    qsizetype start = 0;
    for (const qsizetype end : m_ends) {
        m_views.push_back(QStringView(m_record).sliced(start, end - start));
        start = end;
    }
    m_sink(std::span<const QStringView>(m_views));
    m_record.resize(0); // keeps its room for the next record
    m_ends.clear();
    m_wellFormed = true;
    m_state = State::RecordStart;
}

QChar CsvParser::detectDelimiter(QStringView head, bool complete)
{
    constexpr int kSampleRecords = 20;
    // Whether every record sampled has the same number of fields (more than one) and no
    // stray quote: a candidate that reads the sample as one clean table wins, since a
    // delimiter that stands inside quoted fields can split more lines than the real one
    // does. Then how many of the first records agree on one number of fields: those read
    // without leniency first (a stray quote is mostly a sign of the wrong delimiter, that
    // split a quoted field), then all of them.
    using Agreement = std::tuple<bool, int, int>;
    QChar best = u',';
    Agreement bestAgreement{false, 0, 0};
    for (const QChar candidate : {QChar(u','), QChar(u';'), QChar(u'\t')}) {
        std::map<std::size_t, Agreement> records;
        int sampled = 0;
        std::size_t cleanFields = 0; // the one number of fields while the sample is clean, else 0
        bool clean = true;
        const CsvParser *reading = nullptr;
        CsvParser parser(candidate, [&](std::span<const QStringView> fields) {
            if (++sampled > kSampleRecords)
                return;
            clean = clean && fields.size() > 1 && reading->m_wellFormed &&
                    (cleanFields == 0 || cleanFields == fields.size());
            cleanFields = clean ? fields.size() : 0;
            if (fields.size() < 2)
                return;
            Agreement &agreement = records[fields.size()];
            std::get<1>(agreement) += reading->m_wellFormed ? 1 : 0;
            std::get<2>(agreement) += 1;
        });
        reading = &parser;
        // In slices, so that the rest of a long head is not split once the records
        // sampled are all in: the records after them count for nothing.
        constexpr qsizetype kSlice = 4096;
        for (qsizetype at = 0; at < head.size() && sampled <= kSampleRecords; at += kSlice)
            parser.take(head.sliced(at, std::min(kSlice, head.size() - at)));
        if (complete && sampled <= kSampleRecords)
            parser.finish();
        // The first candidate wins a tie, so a comma before a semicolon before a TAB.
        for (auto &[fields, agreement] : records) {
            std::get<0>(agreement) = clean && fields == cleanFields;
            if (agreement > bestAgreement) {
                best = candidate;
                bestAgreement = agreement;
            }
        }
    }
    return best;
}

} // namespace orvella::tables

#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <span>
#include <vector>

namespace orvella::tables {

// A .csv file's delimiter is found from the records of its first this many UTF-16 units
// of text (or of the first piece the file is read in, if longer).
inline constexpr qsizetype kDelimiterHeadUnits = qsizetype(1) << 16;

// Takes the records a CsvSplitter finds, one at a time.
class CsvRecordSink {
public:
    virtual ~CsvRecordSink() = default;
    // The record's fields, valid during the call. `wellFormed` says the record needed no
    // leniency (no quote inside a field that does not start with one, no text after a
    // closing quote); a splitter that does not notice stray quotes always says true.
    virtual void takeRecord(std::span<const QByteArrayView> fields, bool wellFormed) = 0;
};

// Splits a CSV text, as UTF-8 handed over in pieces, into records, as RFC 4180 describes
// them and as Python's csv module reads them with its default dialect:
// - a field that starts with a quote runs to the next lone quote; inside it a doubled
//   quote is one quote, and the delimiter, CR and LF are characters of the field;
// - a quote inside a field that does not start with one is a character of the field,
//   and text after a field's closing quote is added to the field;
// - a record ends at CR LF, LF or a lone CR outside quotes, and at the end of the text;
// - a line that is completely empty is no record (a line of delimiters alone is a
//   record of empty fields).
// The delimiter, the quote, CR and LF are ASCII, and no byte of a longer UTF-8 character
// is ASCII, so the bytes split where the characters do: a text of any encoding is split
// the same way once it is UTF-8.
//
// The splitter keeps its place between pieces: a field, a quoted one included, may run
// over any number of pieces and lines. A field is a slice of the bytes taken wherever
// its bytes are all in a row there; the record is copied only when a field's bytes are
// not (a doubled quote, text after a closing quote) or when a piece ends inside it.
class CsvSplitter {
public:
    // With `noticeStrayQuotes`, the sink is told which records needed leniency (finding
    // the delimiter needs it; reading a table does not, and is spared the search).
    CsvSplitter(char delimiter, CsvRecordSink &sink, bool noticeStrayQuotes = false);
    char delimiter() const { return m_delimiter; }

    // Splits the next piece, which holds no NUL byte. The bytes must stay where they are
    // until pieceEnds(); a piece that follows the last one in memory (a long text taken
    // in slices) continues the fields in place.
    void take(QByteArrayView bytes);
    // The bytes taken so far are about to be overwritten: the record they hold a part of
    // moves to a copy of its own.
    void pieceEnds();
    // Ends the last record, which need not end with a line end.
    void finish();

private:
    enum class State { RecordStart, FieldStart, Unquoted, Quoted, QuoteInQuoted };

    // The bytes of a field while they are a slice of the piece; no bytes yet while begin
    // is null.
    struct Slice {
        const char *begin = nullptr;
        const char *end = nullptr;
    };

    qsizetype fieldEnd(const char *bytes, qsizetype from, qsizetype size) const;
    void append(Slice &field, const char *bytes, qsizetype size);
    void endField(Slice &field);
    void copyRecord(Slice &field);
    void endRecord();

    const char m_delimiter;
    CsvRecordSink &m_sink;
    const bool m_noticeStrayQuotes;
    std::array<bool, 256> m_stops; // the bytes that end an unquoted field: delimiter, CR, LF
    State m_state = State::RecordStart;
    bool m_wellFormed = true; // the record so far needed no leniency
    // The record's fields while they are slices of the piece: those ended, and the one
    // being read.
    std::vector<QByteArrayView> m_cells;
    Slice m_field;
    // A record copied: its fields one after the other, and the end of each one ended.
    bool m_copied = false;
    QByteArray m_record;
    std::vector<qsizetype> m_ends;
};

// The delimiter of a CSV file whose text (as UTF-8) starts with `head`: comma, semicolon
// or TAB; one that splits all of the first records (up to 20) into the same number of
// fields (more than one) without a stray quote first; then whichever splits most of them
// so; among equals, whichever does so for most records, stray quotes or not. `complete`
// says the head is the whole text, so that its last record counts even without a line
// end. A comma when none of them splits a record.
char detectCsvDelimiter(QByteArrayView head, bool complete);

} // namespace orvella::tables

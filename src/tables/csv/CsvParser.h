#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

#include <functional>
#include <span>
#include <vector>

namespace orvella::tables {

// A .csv file's delimiter is found from the records of its first this many UTF-16 units
// of text (or of the first piece the decoder hands over, if longer).
inline constexpr qsizetype kDelimiterHeadUnits = qsizetype(1) << 16;

// Splits a CSV text handed over in pieces into records, as RFC 4180 describes them and
// as Python's csv module reads them with its default dialect:
// - a field that starts with a quote runs to the next lone quote; inside it a doubled
//   quote is one quote, and the delimiter, CR and LF are characters of the field;
// - a quote inside a field that does not start with one is a character of the field,
//   and text after a field's closing quote is added to the field;
// - a record ends at CR LF, LF or a lone CR outside quotes, and at the end of the text;
// - a line that is completely empty is no record (a line of delimiters alone is a
//   record of empty fields).
// The parser keeps its place between pieces: a field, a quoted one included, may run
// over any number of pieces and lines.
class CsvParser {
public:
    using RecordSink = std::function<void(std::span<const QStringView> fields)>;

    CsvParser(QChar delimiter, RecordSink sink);

    // False when the text holds a NUL character (no CSV file does).
    bool take(QStringView text);
    // Ends the last record, which need not end with a line end.
    void finish();

    // The delimiter of a CSV file whose text starts with `head`: comma, semicolon or
    // TAB; one that splits all of the first records (up to 20) into the same number of
    // fields (more than one) without a stray quote first; then whichever splits most of
    // them so; among equals, whichever does so for most records, stray quotes or not. `complete` says the head is the
    // whole text, so that its last record counts even without a line end. A comma when
    // none of them splits a record.
    static QChar detectDelimiter(QStringView head, bool complete);

private:
    enum class State { RecordStart, FieldStart, Unquoted, Quoted, QuoteInQuoted };

    void endField();
    void endRecord();

    QChar m_delimiter;
    RecordSink m_sink;
    State m_state = State::RecordStart;
    QString m_record;                // the fields of the record so far, one after the other
    std::vector<qsizetype> m_ends;   // the end of each field in m_record
    std::vector<QStringView> m_views; // handed to the sink, kept for their room
    bool m_wellFormed = true;        // the record so far needed no leniency
};


} // namespace orvella::tables

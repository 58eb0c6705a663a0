#include "core/IniText.h"

#include "core/Utf8.h"

#include <vector>

namespace orvella::core {
namespace {

// One line of the text, as views into it.
struct Line {
    enum Kind { Blank, Comment, Section, CutSection, Entry, Damaged };
    Kind kind = Blank;
    QByteArrayView text;  // without its line end; a continued line with the lines it goes on in
    QByteArrayView end;   // "\n", "\r\n", "\r", or nothing on a last line without one
    QString section;      // the section the line stands in (a header: its own)
    QString key;          // Entry
    QByteArrayView value; // Entry: everything after the first "="
};

bool isBlank(char c) { return c == ' ' || c == '\t'; }

QByteArrayView withoutLeadingBlanks(QByteArrayView text)
{
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    return text.sliced(i);
}

QByteArrayView withoutTrailingBlanks(QByteArrayView text)
{
    qsizetype n = text.size();
    while (n > 0 && isBlank(text[n - 1]))
        --n;
    return text.first(n);
}

void classify(Line &line, QString &section)
{
    const QByteArrayView text = withoutLeadingBlanks(line.text);
    if (text.isEmpty()) {
        line.kind = Line::Blank;
    } else if (text.front() == ';') {
        line.kind = Line::Comment;
    } else if (text.front() == '[') {
        const qsizetype close = text.indexOf(']');
        line.kind = close < 0 ? Line::CutSection : Line::Section;
        const QByteArrayView name = close < 0 ? text.sliced(1) : text.sliced(1, close - 1);
        section = IniText::unescapedKey(name.trimmed());
    } else if (const qsizetype equals = text.indexOf('='); equals >= 0) {
        line.kind = Line::Entry;
        line.key = IniText::unescapedKey(withoutTrailingBlanks(text.first(equals)));
        line.value = text.sliced(equals + 1);
    } else {
        line.kind = Line::Damaged;
    }
    line.section = section;
}

bool isLineBreak(char c) { return c == '\n' || c == '\r'; }

// Where the line break at or after from is (the text's size when there is none).
qsizetype lineBreakFrom(QByteArrayView text, qsizetype from)
{
    while (from < text.size() && !isLineBreak(text[from]))
        ++from;
    return from;
}

// The length of the line break at i: CR LF counts as one, a lone CR as one too.
qsizetype lineBreakSize(QByteArrayView text, qsizetype i)
{
    if (i >= text.size())
        return 0;
    return text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
}

// Whether a backslash escapes the line break at end, so that the line goes on in the
// next one, as QSettings reads it: a backslash escapes the character after it, and a
// ";" outside double quotes starts a comment, in which it escapes nothing.
bool continuesAfter(QByteArrayView text, qsizetype from, qsizetype end, bool &inQuotes)
{
    for (qsizetype i = from; i < end; ++i) {
        if (text[i] == '\\') {
            if (++i == end)
                return true;
        } else if (text[i] == '"') {
            inQuotes = !inQuotes;
        } else if (text[i] == ';' && !inQuotes) {
            return false;
        }
    }
    return false;
}

// The end of the line starting at start, continued lines included: after a backslash
// that continues a line, LF CR and CR LF are a single line break, as for QSettings.
qsizetype endOfLine(QByteArrayView text, qsizetype start)
{
    bool inQuotes = false;
    qsizetype end = lineBreakFrom(text, start);
    while (end < text.size() && continuesAfter(text, start, end, inQuotes)) {
        start = end + 1;
        if (start < text.size() && isLineBreak(text[start]) && text[start] != text[end])
            ++start;
        end = lineBreakFrom(text, start);
    }
    return end;
}

std::vector<Line> linesOf(QByteArrayView text)
{
    if (text.startsWith("\xEF\xBB\xBF"))
        text = text.sliced(3);
    std::vector<Line> lines;
    QString section; // keys before the first header stand in no section
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype textEnd = endOfLine(text, start);
        Line line;
        line.text = text.sliced(start, textEnd - start);
        line.end = text.sliced(textEnd, lineBreakSize(text, textEnd));
        classify(line, section);
        start = textEnd + line.end.size();
        lines.push_back(std::move(line));
    }
    return lines;
}

bool isEntry(const Line &line, QStringView section, QStringView key)
{
    return line.kind == Line::Entry && line.section == section && line.key == key;
}

bool isHexDigit(char16_t c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

void appendUtf8(QByteArray &out, char32_t c)
{
    char bytes[4];
    out.append(bytes, putUtf8(bytes, c) - bytes);
}

// QSettings' escaping of a value, character by character, with the lone surrogates
// and U+FEFF that its UTF-8 conversion loses written as hex escapes too. A hex escape
// has no fixed length, so a hex digit right after one is escaped as well.
class ValueWriter {
public:
    void add(QStringView text)
    {
        qsizetype i = 0;
        while (i < text.size()) {
            const qsizetype plainEnd = m_escapeNextIfDigit ? i : endOfPlainRun(text, i);
            if (plainEnd > i) {
                addPlain(text.sliced(i, plainEnd - i));
                i = plainEnd;
            } else {
                i = addOther(text, i);
            }
        }
    }

    QByteArray take()
    {
        if (m_needsQuotes || m_out.startsWith(' ') || m_out.endsWith(' ')) {
            m_out.prepend('"');
            m_out.append('"');
        }
        return std::move(m_out);
    }

    void reserve(qsizetype size) { m_out.reserve(size); }

private:
    // Printable ASCII other than a quote or a backslash stands for itself.
    static bool isPlain(char16_t c) { return c >= 0x20 && c < 0x7F && c != '"' && c != '\\'; }

    static qsizetype endOfPlainRun(QStringView text, qsizetype from)
    {
        while (from < text.size() && isPlain(text[from].unicode()))
            ++from;
        return from;
    }

    void addPlain(QStringView run)
    {
        const qsizetype start = m_out.size();
        m_out.resize(start + run.size());
        char *out = m_out.data() + start;
        for (const QChar c : run) {
            const char ascii = char(c.unicode());
            if (ascii == ';' || ascii == ',' || ascii == '=')
                m_needsQuotes = true;
            *out++ = ascii;
        }
    }

    // Writes the character at i (or the surrogate pair starting there); returns the
    // position after it.
    qsizetype addOther(QStringView text, qsizetype i)
    {
        const char16_t c = text[i].unicode();
        if (c == ';' || c == ',' || c == '=')
            m_needsQuotes = true;
        if (m_escapeNextIfDigit && isHexDigit(c)) {
            addHex(c);
            return i + 1;
        }
        m_escapeNextIfDigit = false;
        switch (c) {
        case 0: m_out += "\\0"; m_escapeNextIfDigit = true; break;
        case '\a': m_out += "\\a"; break;
        case '\b': m_out += "\\b"; break;
        case '\f': m_out += "\\f"; break;
        case '\n': m_out += "\\n"; break;
        case '\r': m_out += "\\r"; break;
        case '\t': m_out += "\\t"; break;
        case '\v': m_out += "\\v"; break;
        case '"':
        case '\\':
            m_out += '\\';
            m_out += char(c);
            break;
        default:
            if (c <= 0x1F || c == 0xFEFF) {
                addHex(c);
                m_escapeNextIfDigit = true;
            } else if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
                appendUtf8(m_out, QChar::surrogateToUcs4(c, text[i + 1].unicode()));
                return i + 2;
            } else if (QChar::isSurrogate(c)) {
                addHex(c);
                m_escapeNextIfDigit = true;
            } else {
                appendUtf8(m_out, c);
            }
        }
        return i + 1;
    }

    void addHex(char16_t c)
    {
        m_out += "\\x";
        m_out += QByteArray::number(c, 16);
    }

    QByteArray m_out;
    bool m_needsQuotes = false;
    bool m_escapeNextIfDigit = false;
};

// The text of a written value with QSettings' quotes and backslash escapes undone.
QString unescaped(QByteArrayView written)
{
    QString out;
    out.reserve(written.size());
    qsizetype i = 0;
    const qsizetype n = written.size();
    while (i < n) {
        const char c = written[i];
        if (c == '"') {
            ++i;
            continue;
        }
        if (c != '\\') {
            qsizetype runEnd = i + 1;
            while (runEnd < n && written[runEnd] != '\\' && written[runEnd] != '"')
                ++runEnd;
            out += QString::fromUtf8(written.sliced(i, runEnd - i));
            i = runEnd;
            continue;
        }
        if (++i >= n)
            break;
        const char code = written[i++];
        switch (code) {
        case 'a': out += u'\a'; break;
        case 'b': out += u'\b'; break;
        case 'f': out += u'\f'; break;
        case 'n': out += u'\n'; break;
        case 'r': out += u'\r'; break;
        case 't': out += u'\t'; break;
        case 'v': out += u'\v'; break;
        case '"':
        case '?':
        case '\'':
        case '\\': out += QLatin1Char(code); break;
        case '\n':
        case '\r':
            // A continued line: the line break goes, LF CR and CR LF as a whole.
            if (i < n && isLineBreak(written[i]) && written[i] != code)
                ++i;
            break;
        case 'x':
            if (i < n && hexValue(written[i]) >= 0) {
                uint value = 0;
                while (i < n && hexValue(written[i]) >= 0)
                    value = (value << 4) + uint(hexValue(written[i++]));
                out += QChar(char16_t(value));
            }
            break;
        default:
            if (code >= '0' && code <= '7') {
                uint value = uint(code - '0');
                while (i < n && written[i] >= '0' && written[i] <= '7')
                    value = (value << 3) + uint(written[i++] - '0');
                out += QChar(char16_t(value));
            }
            // Any other escaped character is dropped with its backslash, as QSettings does.
        }
    }
    return out;
}

} // namespace

IniText::IniText(QByteArray text) : m_text(std::move(text)) {}

std::optional<QString> IniText::value(QStringView section, QStringView key) const
{
    const std::vector<Line> lines = linesOf(m_text);
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        if (!isEntry(*line, section, key))
            continue;
        const QString text = unescaped(line->value);
        // QSettings' mark for a value that is not there.
        if (text == QLatin1String("@Invalid()"))
            return std::nullopt;
        return withoutMarks(text);
    }
    return std::nullopt;
}

void IniText::setValue(QStringView section, QStringView key, QStringView value)
{
    rewrite(section, key, escapedKey(key) + '=' + escapedValue(value));
}

void IniText::rewrite(QStringView section, QStringView key, const std::optional<QByteArray> &entry)
{
    const std::vector<Line> lines = linesOf(m_text);
    const qsizetype none = -1;
    qsizetype replaced = none;
    qsizetype sectionEnd = none; // the section's last line that is not blank
    for (qsizetype i = 0; i < qsizetype(lines.size()); ++i) {
        if (isEntry(lines[i], section, key))
            replaced = i;
        if (lines[i].section == section && lines[i].kind != Line::Blank && lines[i].kind != Line::Damaged)
            sectionEnd = i;
    }
    const qsizetype insertAfter = entry && replaced == none ? sectionEnd : none;

    QByteArray out;
    out.reserve(m_text.size() + (entry ? entry->size() + section.size() + 4 : 0));
    auto addLine = [&](QByteArrayView text, QByteArrayView end) {
        out += text;
        out += end.isEmpty() ? QByteArrayView("\n") : end;
    };
    for (qsizetype i = 0; i < qsizetype(lines.size()); ++i) {
        const Line &line = lines[i];
        if (line.kind == Line::Damaged)
            continue;
        if (isEntry(line, section, key)) {
            if (i == replaced && entry)
                addLine(*entry, line.end);
            continue;
        }
        if (line.kind == Line::CutSection) {
            addLine(withoutTrailingBlanks(line.text).toByteArray() + ']', line.end);
        } else {
            out += line.text;
            out += line.end;
        }
        if (i == insertAfter) {
            if (line.end.isEmpty())
                out += '\n';
            addLine(*entry, {});
        }
    }
    if (entry && replaced == none && insertAfter == none) {
        if (!out.isEmpty() && !out.endsWith('\n'))
            out += '\n';
        if (!out.isEmpty())
            out += '\n';
        addLine('[' + escapedKey(section) + ']', {});
        addLine(*entry, {});
    }
    m_text = std::move(out);
}

QByteArray IniText::escapedValue(QStringView value)
{
    // QSettings marks its own notations with a leading "@": it writes a text that holds
    // NUL as @String(...), and doubles the "@" of a text that starts with one.
    ValueWriter writer;
    writer.reserve(value.size() + 16);
    const bool holdsNul = value.contains(QChar(0));
    if (holdsNul)
        writer.add(u"@String(");
    else if (value.startsWith(u'@'))
        writer.add(u"@");
    writer.add(value);
    if (holdsNul)
        writer.add(u")");
    return writer.take();
}

QString IniText::unescapedValue(QByteArrayView written)
{
    return withoutMarks(unescaped(written));
}

QString IniText::withoutMarks(const QString &text)
{
    if (text.startsWith(QLatin1String("@String(")) && text.endsWith(u')'))
        return text.sliced(8, text.size() - 9);
    if (text.startsWith(QLatin1String("@@")))
        return text.sliced(1);
    return text;
}

QByteArray IniText::escapedKey(QStringView key)
{
    static const char hexDigits[] = "0123456789ABCDEF";
    QByteArray out;
    for (const QChar qc : key) {
        const char16_t c = qc.unicode();
        if (c == '/') {
            out += '\\';
        } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
                   c == '-' || c == '.') {
            out += char(c);
        } else if (c <= 0xFF) {
            out += '%';
            out += hexDigits[c / 16];
            out += hexDigits[c % 16];
        } else {
            out += "%U";
            for (int shift = 12; shift >= 0; shift -= 4)
                out += hexDigits[(c >> shift) & 0xF];
        }
    }
    return out;
}

QString IniText::unescapedKey(QByteArrayView written)
{
    QString out;
    qsizetype i = 0;
    const qsizetype n = written.size();
    while (i < n) {
        const char c = written[i];
        if (c == '\\') {
            out += u'/';
            ++i;
            continue;
        }
        if (c == '%' && i + 1 < n) {
            const bool wide = written[i + 1] == 'U';
            const qsizetype digits = wide ? 4 : 2;
            const qsizetype first = i + 1 + (wide ? 1 : 0);
            if (first + digits <= n) {
                uint value = 0;
                bool ok = true;
                for (qsizetype d = first; d < first + digits; ++d) {
                    const int v = hexValue(written[d]);
                    ok = ok && v >= 0;
                    value = (value << 4) + uint(v < 0 ? 0 : v);
                }
                if (ok) {
                    out += QChar(char16_t(value));
                    i = first + digits;
                    continue;
                }
            }
        }
        out += QLatin1Char(c);
        ++i;
    }
    return out;
}

} // namespace orvella::core

// The list-file reader over arbitrary file contents.
//
// Rules checked for every input:
// - the reader either appends or throws a Failure with a description; it never says
//   "File not found" for a file that is there, and a failed read adds nothing;
// - the items already in the list stay first and unchanged;
// - no item is empty and no item holds a CR or an LF;
// - the items are exactly the non-empty lines of the text, decoded as documented:
//   a UTF-16 byte-order mark (either order) gives UTF-16, a stray last byte dropped;
//   a UTF-8 byte-order mark gives UTF-8 throughout (what is not UTF-8 there reads as
//   Qt's UTF-8 decoder reads it, a second mark kept); without a mark each line (the bytes between CR and
//   LF bytes) is read as UTF-8 when it is valid UTF-8 and as Windows-1252 when it is
//   not; a text holding NUL is refused;
// - except that a text whose lines make a list table as the program saves it (the first
//   a list's caption, every line padded with spaces to one length and ended with a TAB)
//   gives those lines' names: without the first, the TAB and the spaces at the end.
// The expected items are worked out here from those rules, with a decoder of our own.

#include "FuzzTargets.h"
#include "TableSupport.h"

#include "core/Desktop.h"
#include "core/Failure.h"
#include "core/Spreadsheet.h"
#include "lists/ListFileReader.h"
#include "lists/NameListModel.h"

#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <optional>
#include <string>

namespace orvella::fuzz {
namespace {

// A desktop that never blocks: boxes answer at once and are counted, and a table is
// read as a names file.
class QuietDesktop : public QuietTableDesktop {
public:
    int messages = 0;

    int messageBox(const QString &text, int style, const QString &title) override
    {
        ++messages;
        return QuietTableDesktop::messageBox(text, style, title);
    }
    core::ColumnChoice chooseNameColumns(const core::ColumnRequest &) override
    {
        core::ColumnChoice lines;
        lines.kind = core::ColumnChoice::Kind::Lines;
        return lines;
    }
};

// Windows-1252, bytes 0x80..0x9F, as the code page's published table gives them; the
// five bytes it leaves unassigned (81, 8D, 8F, 90, 9D) stand for themselves.
constexpr char16_t kWindows1252[32] = {
    u'\u20AC', 0x0081,    u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', 0x008D,    u'\u017D', 0x008F,
    0x0090,    u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', 0x009D,    u'\u017E', u'\u0178'};

QString fromWindows1252(const std::uint8_t *bytes, std::size_t size)
{
    QString text;
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint8_t b = bytes[i];
        text.append(QChar(b >= 0x80 && b < 0xA0 ? kWindows1252[b - 0x80] : char16_t(b)));
    }
    return text;
}

// Well-formed UTF-8 as RFC 3629 defines it: no overlong forms, no surrogates, nothing
// above U+10FFFF, no sequence cut short. Empty when the bytes are not UTF-8.
std::optional<QString> fromUtf8(const std::uint8_t *bytes, std::size_t size)
{
    QString text;
    std::size_t i = 0;
    while (i < size) {
        const std::uint8_t lead = bytes[i];
        char32_t code = 0;
        std::size_t length = 0;
        std::uint8_t low = 0x80, high = 0xBF; // the allowed range of the second byte
        if (lead < 0x80) {
            code = lead;
            length = 1;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            code = lead & 0x1F;
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            code = lead & 0x0F;
            length = 3;
            if (lead == 0xE0)
                low = 0xA0;
            if (lead == 0xED)
                high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            code = lead & 0x07;
            length = 4;
            if (lead == 0xF0)
                low = 0x90;
            if (lead == 0xF4)
                high = 0x8F;
        } else {
            return std::nullopt;
        }
        if (i + length > size)
            return std::nullopt;
        for (std::size_t k = 1; k < length; ++k) {
            const std::uint8_t b = bytes[i + k];
            const std::uint8_t from = k == 1 ? low : 0x80, to = k == 1 ? high : 0xBF;
            if (b < from || b > to)
                return std::nullopt;
            code = (code << 6) | (b & 0x3F);
        }
        if (code >= 0x10000) {
            text.append(QChar(char16_t(0xD800 + ((code - 0x10000) >> 10))));
            text.append(QChar(char16_t(0xDC00 + ((code - 0x10000) & 0x3FF))));
        } else {
            text.append(QChar(char16_t(code)));
        }
        i += length;
    }
    return text;
}

QString fromUtf16(const std::uint8_t *bytes, std::size_t size, bool bigEndian)
{
    QString text;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        const char16_t unit = bigEndian ? char16_t(bytes[i] << 8 | bytes[i + 1]) : char16_t(bytes[i + 1] << 8 | bytes[i]);
        text.append(QChar(unit));
    }
    return text;
}

QString decoded(const std::uint8_t *data, std::size_t size)
{
    const auto startsWith = [&](std::initializer_list<std::uint8_t> mark) {
        if (size < mark.size())
            return false;
        std::size_t i = 0;
        for (const std::uint8_t b : mark) {
            if (data[i++] != b)
                return false;
        }
        return true;
    };
    if (startsWith({0xFF, 0xFE}))
        return fromUtf16(data + 2, size - 2, false);
    if (startsWith({0xFE, 0xFF}))
        return fromUtf16(data + 2, size - 2, true);
    if (startsWith({0xEF, 0xBB, 0xBF})) {
        if (const std::optional<QString> text = fromUtf8(data + 3, size - 3))
            return *text;
        // A second mark right after the first one is a character like any other.
        QStringDecoder decoder(QStringConverter::Utf8,
                               QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
        return decoder(QByteArrayView(data + 3, qsizetype(size - 3)));
    }
    QString text;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= size; ++i) {
        if (i < size && data[i] != '\r' && data[i] != '\n')
            continue;
        const std::optional<QString> line = fromUtf8(data + start, i - start);
        text += line ? *line : fromWindows1252(data + start, i - start);
        if (i < size)
            text += QChar(char16_t(data[i]));
        start = i + 1;
    }
    return text;
}

QStringList nonEmptyLines(const QString &text)
{
    QStringList lines;
    QString line;
    for (const QChar c : text) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (!line.isEmpty())
                lines << line;
            line.clear();
        } else {
            line.append(c);
        }
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
}

// The names a list table's lines hold, when the lines make one; else the lines.
QStringList tableNames(const QStringList &lines)
{
    if (lines.isEmpty() || !lines.first().endsWith(QLatin1Char('\t')))
        return lines;
    const qsizetype length = lines.first().size();
    const QString caption = lines.first().chopped(1);
    bool table = false;
    for (const char *known : {" Name(s)", "Result(s)", "Suffix List"}) {
        const QString name = QString::fromLatin1(known);
        table = table || (caption.startsWith(name) && caption.mid(name.size()).count(QLatin1Char(' ')) ==
                                                           caption.size() - name.size());
    }
    for (const QString &line : lines)
        table = table && line.size() == length && line.endsWith(QLatin1Char('\t'));
    if (!table)
        return lines;
    QStringList names;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        QString name = lines[i].chopped(1);
        while (name.endsWith(QLatin1Char(' ')))
            name.chop(1);
        if (!name.isEmpty())
            names << name;
    }
    return names;
}

} // namespace

void fuzzListFile(const std::uint8_t *data, std::size_t size)
{
    ensureApplication();
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("names.txt"));
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "cannot write the input file");
        FUZZ_CHECK(file.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size),
                   "cannot write the input file");
    }

    const QString before = QStringLiteral("Already here");
    lists::NameListModel list(QStringLiteral(" Name(s)"));
    list.append(before);
    QuietDesktop desktop;
    std::optional<QString> failure;
    try {
        lists::ReadListFile(list, path, desktop, QStringLiteral("Orvella"));
    } catch (const core::Failure &f) {
        failure = f.description();
    }

    FUZZ_CHECK(desktop.messages == 0, "a file that is there was answered with a message");
    FUZZ_CHECK(list.count() >= 1 && list.item(1) == before, "the item already in the list changed");
    if (failure) {
        FUZZ_CHECK(!failure->isEmpty(), "a failure without a description");
        FUZZ_CHECK(list.count() == 1, "a failed read added " + std::to_string(list.count() - 1) + " items");
    }
    for (int i = 2; i <= list.count(); ++i) {
        const QString &item = list.item(i);
        FUZZ_CHECK(!item.isEmpty(), "item " + std::to_string(i) + " is empty");
        FUZZ_CHECK(!item.contains(QLatin1Char('\r')) && !item.contains(QLatin1Char('\n')),
                   "item " + std::to_string(i) + " holds a line end: " + shown(item));
    }

    const QString text = decoded(data, size);
    if (text.contains(QChar(u'\0'))) {
        FUZZ_CHECK(failure.has_value(), "a text holding NUL was read");
        return;
    }
    FUZZ_CHECK(!failure.has_value(), "a readable text failed: " + (failure ? shown(*failure) : std::string()));
    const QStringList expected = tableNames(nonEmptyLines(text));
    FUZZ_CHECK(list.count() - 1 == expected.size(), "expected " + std::to_string(expected.size()) + " items, got " +
                                                        std::to_string(list.count() - 1));
    for (qsizetype i = 0; i < expected.size() && i + 2 <= list.count(); ++i) {
        FUZZ_CHECK(list.item(int(i) + 2) == expected[i], "item " + std::to_string(i + 2) + " is " +
                                                           shown(list.item(int(i) + 2)) + ", expected " +
                                                           shown(expected[i]));
    }
}

} // namespace orvella::fuzz

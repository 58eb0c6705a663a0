#include "core/ExportOptions.h"

#include "core/WordTable.h"

#include <QStringList>
#include <algorithm>
#include <iterator>
#include <utility>

namespace orvella::core {
namespace {

struct ColumnName {
    const char16_t *caption;
    const char16_t *word;
};

// By NameColumn.
constexpr ColumnName kColumnNames[kNameColumnCount] = {
    {u"Title", u"title"},         {u"First name", u"first"}, {u"Middle name", u"middle"},
    {u"Last name", u"last"},      {u"Suffix", u"suffix"},    {u"Nickname", u"nickname"},
    {u"Last, First", u"last-first"}, {u"Filed under", u"filed-under"},
};

constexpr std::pair<const char16_t *, char16_t> kDelimiters[] = {
    {u"comma", u','}, {u"semicolon", u';'}, {u"tab", u'\t'}, {u",", u','}, {u";", u';'}};
constexpr std::pair<const char16_t *, TextEncoding> kEncodings[] = {
    {u"utf-8-bom", TextEncoding::Utf8WithMark}, {u"utf-8", TextEncoding::Utf8},
    {u"windows-1252", TextEncoding::Windows1252}};
constexpr std::pair<const char16_t *, LineEnds> kLineEnds[] = {{u"crlf", LineEnds::CrLf}, {u"lf", LineEnds::Lf}};

} // namespace

std::vector<NameColumn> ExportOptions::chosenColumns() const
{
    std::vector<NameColumn> chosen;
    for (int column = 0; column < kNameColumnCount; ++column) {
        if (nameColumns[size_t(column)])
            chosen.push_back(NameColumn(column));
    }
    return chosen;
}

QString nameColumnCaption(NameColumn column)
{
    return QString::fromUtf16(kColumnNames[size_t(column)].caption);
}

QString nameColumnsWords(const ExportOptions &options)
{
    QStringList words;
    for (const NameColumn column : options.chosenColumns())
        words << QString::fromUtf16(kColumnNames[size_t(column)].word);
    return words.join(u',');
}

std::optional<std::array<bool, kNameColumnCount>> parseNameColumns(QStringView words)
{
    std::array<bool, kNameColumnCount> columns{};
    if (words.trimmed().isEmpty())
        return columns;
    for (const QStringView word : words.split(u',')) {
        const auto known = std::find_if(std::begin(kColumnNames), std::end(kColumnNames),
                                        [&](const ColumnName &name) { return word.trimmed() == QStringView(name.word); });
        if (known == std::end(kColumnNames))
            return std::nullopt;
        columns[size_t(known - std::begin(kColumnNames))] = true;
    }
    return columns;
}

QString delimiterWord(char16_t delimiter)
{
    return wordOf(delimiter, kDelimiters);
}

std::optional<char16_t> parseDelimiter(QStringView word)
{
    return lookUpWord(word, kDelimiters);
}

QString encodingWord(TextEncoding encoding)
{
    return wordOf(encoding, kEncodings);
}

std::optional<TextEncoding> parseEncoding(QStringView word)
{
    return lookUpWord(word, kEncodings);
}

QString lineEndsWord(LineEnds ends)
{
    return wordOf(ends, kLineEnds);
}

std::optional<LineEnds> parseLineEnds(QStringView word)
{
    return lookUpWord(word, kLineEnds);
}

} // namespace orvella::core

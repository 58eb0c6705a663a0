#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <optional>
#include <vector>

namespace orvella::core {

// The columns of name parts an export can put before a result's own cells, in the
// order they are written.
enum class NameColumn { Title, FirstName, MiddleName, LastName, Suffix, Nickname, LastFirst, FiledUnder };
inline constexpr int kNameColumnCount = 8;

enum class TextEncoding {
    Utf8WithMark, // UTF-8 with a byte-order mark, which spreadsheet applications look for
    Utf8,
    Windows1252,  // only when every character has a byte in it
};

enum class LineEnds { CrLf, Lf };

// What an export writes beside the rows themselves: the name-part columns (any format)
// and how a CSV or TSV file is written. The defaults are what a spreadsheet reads best.
struct ExportOptions {
    std::array<bool, kNameColumnCount> nameColumns{}; // by NameColumn; none by default
    char16_t delimiter = u',';                        // CSV: ',', ';' or TAB; a TSV file has TAB
    TextEncoding encoding = TextEncoding::Utf8WithMark;
    LineEnds lineEnds = LineEnds::CrLf;
    // A cell a spreadsheet would run as a formula gets a leading apostrophe.
    bool protectFormulas = true;

    bool has(NameColumn column) const { return nameColumns[size_t(column)]; }
    void set(NameColumn column, bool on) { nameColumns[size_t(column)] = on; }
    // The columns ticked, in the order they are written.
    std::vector<NameColumn> chosenColumns() const;
    bool operator==(const ExportOptions &) const = default;
};

// "Title", "First name", … "Filed under": the column's caption in the file and its
// check box in the dialog.
QString nameColumnCaption(NameColumn column);

// The options as words, as they are stored and as a command line gives them; each
// parse answers nothing for a text it does not know.
//   name columns: "title,first,middle,last,suffix,nickname,last-first,filed-under" (any
//                 of them, "" for none)
//   delimiter:    "comma", "semicolon", "tab" (also "," and ";")
//   encoding:     "utf-8-bom", "utf-8", "windows-1252"
//   line ends:    "crlf", "lf"
QString nameColumnsWords(const ExportOptions &options);
std::optional<std::array<bool, kNameColumnCount>> parseNameColumns(QStringView words);
QString delimiterWord(char16_t delimiter);
std::optional<char16_t> parseDelimiter(QStringView word);
QString encodingWord(TextEncoding encoding);
std::optional<TextEncoding> parseEncoding(QStringView word);
QString lineEndsWord(LineEnds ends);
std::optional<LineEnds> parseLineEnds(QStringView word);

} // namespace orvella::core

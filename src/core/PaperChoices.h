#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace orvella::core {

// How the results go on paper (Print Results… and the PDF export): a list in columns
// or a sheet of name badges, with the page they go on.
enum class PaperLayout { List, Badges };
enum class PaperSize { A4, Letter };
// The common badge sheets, and one of the user's own rows × columns and margin.
enum class BadgeSheet { TwoByFour, TwoByFive, Custom };

struct PaperChoices {
    PaperLayout layout = PaperLayout::List;
    QString title; // "": the file's name
    // List: the columns printed, by their captions: the name parts ("Last, First",
    // "First name", …) and the rows' own columns.
    QStringList columns{QStringLiteral("Last, First")};
    bool letterHeadings = true; // a heading per first letter of what each row was filed under
    bool groupPages = true;     // grouped results: each group on a new page
    int namesColumns = 1;       // a plain list's columns of names on a page, 1 to 3
    bool checkBoxes = false;    // a box to tick before each row (sign-in sheets)
    // Badges: the first name large, the last name below it, and this column smaller ("" none).
    BadgeSheet sheet = BadgeSheet::TwoByFour;
    int badgeRows = 4;     // custom sheet
    int badgeColumns = 2;  // custom sheet
    int badgeMarginMm = 10; // custom sheet
    QString badgeExtra;
    PaperSize pageSize = PaperSize::A4;
    bool landscape = false;

    // The rows and columns of cards on a sheet, as the sheet choice makes them.
    int sheetRows() const;
    int sheetColumns() const;
    bool operator==(const PaperChoices &) const = default;
};

// The paper size of the user's locale: Letter where the US measures are used, else A4.
PaperSize localePaperSize();

// The choices as words, as they are stored and as a command line gives them; each parse
// answers nothing for a text it does not know.
//   layout: "list", "badges"      size: "a4", "letter"      sheet: "2x4", "2x5", "custom"
//   columns: the captions separated by "|"
QString layoutWord(PaperLayout layout);
std::optional<PaperLayout> parseLayout(QStringView word);
QString paperSizeWord(PaperSize size);
std::optional<PaperSize> parsePaperSize(QStringView word);
QString badgeSheetWord(BadgeSheet sheet);
std::optional<BadgeSheet> parseBadgeSheet(QStringView word);
QString columnsWords(const QStringList &columns);
QStringList parseColumnsWords(QStringView words);

} // namespace orvella::core

// A list's pages as poppler reads them back: the headings, the rows in order, a page
// per group, the captions and "Page N of M".
#include "PdfText.h"
#include "paper/PaperWriter.h"

#include <gtest/gtest.h>

namespace orvella::testing {
namespace {

const std::vector<RowText> kPlain = {
    {QStringLiteral("Anna"), QStringLiteral("Baker"), {}, QStringLiteral("7B")},
    {QStringLiteral("Bob"), QStringLiteral("Brown"), {}, QStringLiteral("7A")},
    {QStringLiteral("John"), QStringLiteral("Smith"), {}, QStringLiteral("7A")},
};
const std::vector<RowText> kGrouped = {
    {QStringLiteral("Bob"), QStringLiteral("Brown"), QStringLiteral("Homeroom 7A"), {}},
    {QStringLiteral("John"), QStringLiteral("Smith"), QStringLiteral("Homeroom 7A"), {}},
    {QStringLiteral("Anna"), QStringLiteral("Baker"), QStringLiteral("Homeroom 7B"), {}},
};

struct ListCase {
    const char *name;
    std::vector<RowText> rows;
    QStringList captions;
    std::function<void(core::PaperChoices &)> choose;
    std::vector<QStringList> pages; // each page's lines between its header and its footer
};

class ListPdf : public ::testing::TestWithParam<ListCase> {};

TEST_P(ListPdf, ReadsBackInOrder)
{
    const ListCase &c = GetParam();
    core::PaperChoices choices;
    if (c.choose)
        c.choose(choices);
    paper::PaperWriter writer;
    const QStringList pages = pdfPages(writer.pdf(paperRowsOf(c.rows, c.captions), choices, {}));
    ASSERT_EQ(pages.size(), qsizetype(c.pages.size()));
    for (qsizetype page = 0; page < pages.size(); ++page) {
        QStringList lines = textLines(pages[page]);
        ASSERT_GE(lines.size(), 2);
        EXPECT_TRUE(lines.front().startsWith(QStringLiteral("Roster "))) << lines.front().toStdString();
        EXPECT_EQ(lines.back(), QStringLiteral("Page %1 of %2").arg(page + 1).arg(pages.size()));
        EXPECT_EQ(lines.mid(1, lines.size() - 2), c.pages[size_t(page)]) << "page " << page + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, ListPdf,
    ::testing::Values(
        ListCase{"LetterHeadings", kPlain, {}, {},
                 {{"B", "Baker, Anna", "Brown, Bob", "S", "Smith, John"}}},
        ListCase{"NoHeadings", kPlain, {}, [](core::PaperChoices &c) { c.letterHeadings = false; },
                 {{"Baker, Anna", "Brown, Bob", "Smith, John"}}},
        ListCase{"CaptionsAndCells", kPlain, {"Last, First", "Homeroom"}, {},
                 {{"Last, First Homeroom", "B", "Baker, Anna 7B", "Brown, Bob 7A", "S", "Smith, John 7A"}}},
        ListCase{"GroupPerPage", kGrouped, {}, {},
                 {{"Homeroom 7A", "Brown, Bob", "Smith, John"}, {"Homeroom 7B", "Baker, Anna"}}},
        ListCase{"GroupsRunOn", kGrouped, {}, [](core::PaperChoices &c) { c.groupPages = false; },
                 {{"Homeroom 7A", "Brown, Bob", "Smith, John", "Homeroom 7B", "Baker, Anna"}}},
        ListCase{"Letter", kPlain, {}, [](core::PaperChoices &c) { c.pageSize = core::PaperSize::Letter; },
                 {{"B", "Baker, Anna", "Brown, Bob", "S", "Smith, John"}}}),
    [](const auto &info) { return std::string(info.param.name); });

// A list longer than a page runs on over as many pages as it needs, each numbered
// "of" the whole count, with every row once and in order.
TEST(ListPdfPages, LongListRunsOnInOrder)
{
    std::vector<RowText> rows;
    for (int row = 0; row < 150; ++row)
        rows.push_back({QStringLiteral("Ann%1").arg(row, 3, 10, QLatin1Char('0')), QStringLiteral("Nash"), {}, {}});
    for (const bool landscape : {false, true}) {
        core::PaperChoices choices;
        choices.landscape = landscape;
        paper::PaperWriter writer;
        const QStringList pages = pdfPages(writer.pdf(paperRowsOf(rows), choices, {}));
        ASSERT_GE(pages.size(), landscape ? 5 : 3);
        QStringList names;
        for (qsizetype page = 0; page < pages.size(); ++page) {
            const QStringList lines = textLines(pages[page]);
            EXPECT_EQ(lines.back(), QStringLiteral("Page %1 of %2").arg(page + 1).arg(pages.size()));
            names += lines.mid(1, lines.size() - 2);
        }
        ASSERT_EQ(names.size(), 151); // the one heading and every row
        EXPECT_EQ(names.front(), QStringLiteral("N"));
        for (int row = 0; row < 150; ++row)
            EXPECT_EQ(names[row + 1], QStringLiteral("Nash, Ann%1").arg(row, 3, 10, QLatin1Char('0')));
    }
}

// A sign-in sheet has a box before each row: something is drawn left of each row's first
// word, where a list without boxes draws nothing.
TEST(ListPdfPages, CheckBoxesStandBeforeTheRows)
{
    for (const bool boxes : {false, true}) {
        SCOPED_TRACE(boxes ? "boxes" : "no boxes");
        core::PaperChoices choices;
        choices.letterHeadings = false;
        choices.checkBoxes = boxes;
        paper::PaperWriter writer;
        const QByteArray pdf = writer.pdf(paperRowsOf(kPlain), choices, {});
        constexpr int dpi = 144;
        const QImage page = pdfPicture(pdf, 1, dpi);
        int rows = 0;
        for (const auto &[text, box] : pdfWordBoxes(pdf)) {
            if (text != QStringLiteral("Baker,") && text != QStringLiteral("Brown,") && text != QStringLiteral("Smith,"))
                continue;
            ++rows;
            const QRect seen(QPoint(1, int(box.top() * dpi / 72)), QPoint(int(box.left() * dpi / 72) - 2,
                                                                          int(box.bottom() * dpi / 72)));
            int dark = 0;
            for (int y = seen.top(); y <= seen.bottom(); ++y) {
                for (int x = seen.left(); x <= seen.right(); ++x)
                    dark += page.pixelColor(x, y).lightness() < 128 ? 1 : 0;
            }
            EXPECT_EQ(dark > 0, boxes) << text.toStdString() << ": " << dark << " dark pixels before it";
        }
        EXPECT_EQ(rows, 3);
    }
}

} // namespace
} // namespace orvella::testing

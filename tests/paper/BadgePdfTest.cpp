// Badge sheets as poppler reads them back: how many cards a sheet holds, the sorted
// order along the rows of cards, and a long name shrunk to fit inside its card.
#include "PdfText.h"
#include "paper/PaperWriter.h"

#include <gtest/gtest.h>

namespace orvella::testing {
namespace {

std::vector<RowText> guests(int count)
{
    std::vector<RowText> rows;
    for (int row = 0; row < count; ++row)
        rows.push_back({QStringLiteral("First%1").arg(row, 2, 10, QLatin1Char('0')),
                        QStringLiteral("Last%1").arg(row, 2, 10, QLatin1Char('0')), {},
                        QStringLiteral("Acme%1").arg(row, 2, 10, QLatin1Char('0'))});
    return rows;
}

struct SheetCase {
    const char *name;
    core::BadgeSheet sheet;
    int rows = 0;    // custom
    int columns = 0; // custom
    int perSheet;
    int across;
};

class BadgeSheets : public ::testing::TestWithParam<SheetCase> {};

// Each sheet holds its cards and no more; along each row of cards come the first names,
// then the last names below them, then the small line, in the sorted order.
TEST_P(BadgeSheets, HoldTheirCardsInOrder)
{
    const SheetCase &c = GetParam();
    core::PaperChoices choices;
    choices.layout = core::PaperLayout::Badges;
    choices.sheet = c.sheet;
    choices.badgeRows = c.rows;
    choices.badgeColumns = c.columns;
    const int count = c.perSheet + 3;
    const std::vector<RowText> rows = guests(count);
    paper::PaperWriter writer;
    const QStringList pages = pdfPages(writer.pdf(paperRowsOf(rows), choices, {}));
    ASSERT_EQ(pages.size(), 2);
    QStringList expected;
    for (int first = 0; first < count; first += c.across) {
        const int last = std::min(count, first + c.across);
        for (const auto part : {&RowText::first, &RowText::last, &RowText::extra}) {
            for (int row = first; row < last; ++row)
                expected << rows[size_t(row)].*part;
        }
    }
    const QStringList words = (pages[0] + u' ' + pages[1]).simplified().split(u' ');
    EXPECT_EQ(words, expected);
    EXPECT_EQ(pages[1].simplified().split(u' ').size(), 3 * 3);
}

INSTANTIATE_TEST_SUITE_P(Sheets, BadgeSheets,
                         ::testing::Values(SheetCase{"TwoByFour", core::BadgeSheet::TwoByFour, 0, 0, 8, 2},
                                           SheetCase{"TwoByFive", core::BadgeSheet::TwoByFive, 0, 0, 10, 2},
                                           SheetCase{"ThreeByThree", core::BadgeSheet::Custom, 3, 3, 9, 3}),
                         [](const auto &info) { return std::string(info.param.name); });

// A first name far wider than its card is printed whole and smaller: every dark pixel
// of the first row of cards lies inside the first card (the second is empty).
TEST(BadgeShrink, LongNameStaysInsideItsCard)
{
    const QString longName = QStringLiteral("Maximiliana-Wilhelmina-Konstantinopolitanische");
    core::PaperChoices choices;
    choices.layout = core::PaperLayout::Badges;
    paper::PaperWriter writer;
    const QByteArray pdf = writer.pdf(paperRowsOf({{longName, QStringLiteral("Ost"), {}, {}}}), choices, {});
    EXPECT_EQ(pdfPages(pdf).front().simplified(), longName + QStringLiteral(" Ost"));

    constexpr int dpi = 50;
    const QImage page = pdfPicture(pdf, 1, dpi);
    ASSERT_FALSE(page.isNull());
    const auto pixels = [dpi](double mm) { return int(mm / 25.4 * dpi); };
    // A4 with 10 mm margins: two cards 95 mm wide, four rows of 69.25 mm.
    const int cardTop = pixels(10), cardBottom = pixels(10 + 69.25);
    const int firstCardLeft = pixels(10), firstCardRight = pixels(10 + 95);
    int inside = 0, outside = 0;
    for (int y = cardTop + 2; y < cardBottom - 2; ++y) {
        const uchar *line = page.constScanLine(y);
        for (int x = 0; x < page.width(); ++x) {
            if (line[x] >= 100)
                continue;
            (x > firstCardLeft + 1 && x < firstCardRight - 1 ? inside : outside) += 1;
        }
    }
    EXPECT_GT(inside, 20);
    EXPECT_EQ(outside, 0);
}

} // namespace
} // namespace orvella::testing

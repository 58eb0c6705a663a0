// The decisions beneath the painting: which lines go in which column of which page,
// where the cards of a sheet lie and how far a text shrinks.
#include "PdfText.h"
#include "paper/BadgeGrid.h"
#include "paper/ListPages.h"

#include <gtest/gtest.h>

namespace orvella::testing {
namespace {

using paper::ListLine;

// A page as text: its columns joined by "|", each line a heading or a row number.
QStringList shapeOf(const std::vector<paper::ListPage> &pages)
{
    QStringList shapes;
    for (const paper::ListPage &page : pages) {
        QStringList columns;
        for (const auto &column : page.columns) {
            QStringList lines;
            for (const ListLine &line : column)
                lines << (line.kind == ListLine::Kind::Heading ? line.heading : QString::number(line.row));
            columns << lines.join(u' ');
        }
        shapes << columns.join(QStringLiteral(" | "));
    }
    return shapes;
}

struct FlowCase {
    const char *name;
    std::vector<RowText> rows;
    paper::ListFlow flow;
    QStringList pages;
};

RowText person(const char *last, const char *group = "")
{
    return {QStringLiteral("A"), QString::fromUtf8(last), QString::fromUtf8(group), {}};
}

class ListFlows : public ::testing::TestWithParam<FlowCase> {};

TEST_P(ListFlows, CutIntoPages)
{
    EXPECT_EQ(shapeOf(paper::layOutList(paperRowsOf(GetParam().rows), GetParam().flow)), GetParam().pages);
}

INSTANTIATE_TEST_SUITE_P(
    Flows, ListFlows,
    ::testing::Values(
        // A heading that would end a column moves on with its row.
        FlowCase{"HeadingMovesOn", {person("Avery"), person("Baker"), person("Brown")}, {3, 1, true, true},
                 {"A 0", "B 1 2"}},
        FlowCase{"ColumnsSideBySide", {person("Avery"), person("Adams"), person("Baker")}, {2, 3, false, true},
                 {"0 1 | 2"}},
        FlowCase{"ThreeColumnsThenAPage",
                 {person("A1"), person("A2"), person("A3"), person("A4"), person("A5"), person("A6"), person("A7")},
                 {2, 3, false, true},
                 {"0 1 | 2 3 | 4 5", "6"}},
        FlowCase{"LettersIgnoreCase", {person("adams"), person("Avery"), person("ørsted")}, {10, 1, true, true},
                 {"A 0 1 Ø 2"}},
        FlowCase{"GroupPages", {person("Z", "7A"), person("Y", "7B"), person("X", "7B")}, {10, 2, true, true},
                 {"7A 0", "7B 1 2"}},
        FlowCase{"GroupsRunOn", {person("Z", "7A"), person("Y", "7B")}, {10, 1, true, false}, {"7A 0 7B 1"}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(CardRects, ShareTheAreaInReadingOrder)
{
    const std::vector<QRectF> cards = paper::cardRects(QSizeF(200, 400), 4, 2);
    ASSERT_EQ(cards.size(), 8u);
    EXPECT_EQ(cards[0], QRectF(0, 0, 100, 100));
    EXPECT_EQ(cards[1], QRectF(100, 0, 100, 100));
    EXPECT_EQ(cards[2], QRectF(0, 100, 100, 100));
    EXPECT_EQ(cards[7], QRectF(100, 300, 100, 100));
    const std::vector<QRectF> gapped = paper::cardRects(QSizeF(210, 100), 1, 3, 15);
    EXPECT_EQ(gapped[2], QRectF(150, 0, 60, 100));
}

struct FitCase {
    const char *name;
    qreal wanted;
    qreal room;
    qreal widthPerPoint; // a text's width grows with its size
    qreal size;          // expected, within a point
};

class FittedSize : public ::testing::TestWithParam<FitCase> {};

TEST_P(FittedSize, FitsTheRoom)
{
    const FitCase &c = GetParam();
    const qreal size = paper::fittedPointSize(c.wanted, c.room, [&](qreal points) {
        // Hinting rounds widths up a little at some sizes.
        return points * c.widthPerPoint + (int(points) % 2 ? 3 : 0);
    });
    EXPECT_NEAR(size, c.size, 1.0);
    EXPECT_LE(size * c.widthPerPoint + (int(size) % 2 ? 3 : 0), std::max(c.room, c.wanted * c.widthPerPoint));
}

INSTANTIATE_TEST_SUITE_P(Texts, FittedSize,
                         ::testing::Values(FitCase{"Fits", 32, 500, 10, 32}, FitCase{"Exactly", 20, 200, 10, 20},
                                           FitCase{"Half", 32, 160, 10, 15.5}, FitCase{"Tiny", 30, 30, 100, 0.3}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
} // namespace orvella::testing

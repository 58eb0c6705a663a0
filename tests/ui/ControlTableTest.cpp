// A window built from a layout table: Tab takes its controls in reading order, and the
// stretch rule keeps them apart and inside the window at every size.

#include "ui/ControlTable.h"
#include "ui/ReadingOrder.h"
#include "ui/WindowStretch.h"
#include "ui/support/Controls.h"
#include "ui/support/LayoutChecks.h"

#include <QListWidget>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

using namespace orvella::ui;
using namespace orvella::testing;

namespace {

using enum ControlKind;
using enum ControlFont;

TEST(ReadingOrder, ColumnsOneAfterTheOtherRowsTopToBottomThenLeftToRight)
{
    struct Case {
        const char *what;
        QList<QRect> places;
        QList<qsizetype> order;
    };
    const Case cases[] = {
        {"one control", {{5, 5, 10, 10}}, {0}},
        {"a column given bottom up", {{0, 40, 50, 10}, {0, 20, 50, 10}, {0, 0, 50, 10}}, {2, 1, 0}},
        {"a row given right to left", {{60, 0, 20, 10}, {30, 0, 20, 10}, {0, 0, 20, 10}}, {2, 1, 0}},
        // The right column's first control lies higher than most of the left column:
        // still the whole left column comes first.
        {"two columns", {{110, 0, 90, 10}, {0, 20, 90, 10}, {0, 0, 90, 10}, {110, 20, 90, 80}, {0, 90, 90, 10}},
         {2, 1, 4, 0, 3}},
        // A list across the top makes the buttons below it rows of their own.
        {"buttons in rows under a list",
         {{0, 0, 200, 50}, {110, 80, 90, 10}, {0, 60, 90, 10}, {0, 80, 90, 10}, {110, 60, 90, 10}},
         {0, 2, 4, 3, 1}},
        // Nothing separates controls that overlap: top to bottom, then left to right.
        {"overlapping", {{20, 5, 50, 20}, {0, 5, 50, 20}, {10, 0, 50, 20}}, {2, 1, 0}},
        {"a field beside a taller box, each a column",
         {{0, 0, 100, 10}, {110, 0, 40, 14}, {0, 20, 100, 10}}, {0, 2, 1}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(readingOrder(c.places), c.order) << c.what;
}

// Two columns in the table's order of creation, which is not the order a reader takes
// them in: a list on the left with two buttons below it, a frame with two check boxes
// on the right, and a button at the top right.
const ControlLayout kScrambled[] = {
    {"Top", PushButton, "Top", nullptr, 2100, 0, 2250, 300, Large},
    {"List", List, nullptr, nullptr, 150, 150, 1800, 1500, Small},
    {"Frame", Frame, "Choices", nullptr, 2100, 450, 2250, 1500, Small},
    {"Second", CheckBox, "Second", "Frame", 150, 900, 1500, 300, Small},
    {"First", CheckBox, "First", "Frame", 150, 300, 1500, 300, Small},
    {"Right", PushButton, "Go", nullptr, 1050, 1800, 900, 300, Large},
    {"Left", PushButton, "Stop", nullptr, 150, 1800, 900, 300, Large},
};
const QSize kScrambledSize(300, 150);

struct TableWindow {
    QWidget window;
    TableWindow()
    {
        buildControls(&window, kScrambled, [](const ControlLayout &, QWidget *container) {
            return new QListWidget(container);
        });
        window.resize(kScrambledSize);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    QStringList names(const QList<QWidget *> &controls) const
    {
        QStringList names;
        for (const QWidget *control : controls)
            names << control->objectName();
        return names;
    }
};

TEST(ControlTable, TabTakesEveryControlOnceInReadingOrder)
{
    TableWindow w;
    const QList<QWidget *> walk = tabWalk(&w.window);
    EXPECT_EQ(w.names(walk), (QStringList{"List", "Left", "Right", "Top", "First", "Second"}));
    EXPECT_EQ(againstReadingOrder(walk), QStringList{});

    // A control that cannot take input is passed over.
    control<QWidget>(w.window, "Right")->setEnabled(false);
    const QList<QWidget *> shorter = tabWalk(&w.window);
    EXPECT_EQ(w.names(shorter), (QStringList{"List", "Left", "Top", "First", "Second"}));
    EXPECT_EQ(shorter.size(), tabStops(&w.window).size());
}

TEST(ControlTable, StretchedControlsStayApartAndInsideAtEverySize)
{
    TableWindow w;
    new StretchedControls(&w.window, kScrambled, kScrambledSize);
    for (const QSize size : {QSize(300, 150), QSize(600, 150), QSize(300, 400), QSize(150, 75), QSize(900, 100)}) {
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
        w.window.resize(size);
        QApplication::processEvents();
        ASSERT_EQ(w.window.size(), size);
        EXPECT_EQ(overlappingControls(&w.window), QStringList{});
        EXPECT_EQ(controlsOutside(&w.window), QStringList{});
        EXPECT_EQ(laidOutControls(&w.window).size(), 7);
    }
}

} // namespace

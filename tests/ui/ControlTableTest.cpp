// A window built from a layout table: Tab takes its controls in the table's order, and
// the stretch rule keeps them apart and inside the window at every size.

#include "ui/ControlTable.h"
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

// Two columns in a table whose order is not the order of the places: a list on the
// left with two buttons below it, a frame with two check boxes on the right, and a
// button at the top right.
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

// The table's order is the designed tab order, whatever the places: frames take no focus.
TEST(ControlTable, TabTakesEveryControlOnceInTheTablesOrder)
{
    TableWindow w;
    const QList<QWidget *> walk = tabWalk(&w.window);
    EXPECT_EQ(w.names(walk), (QStringList{"Top", "List", "Second", "First", "Right", "Left"}));

    // A control that cannot take input is passed over.
    control<QWidget>(w.window, "Right")->setEnabled(false);
    const QList<QWidget *> shorter = tabWalk(&w.window);
    EXPECT_EQ(w.names(shorter), (QStringList{"Top", "List", "Second", "First", "Left"}));
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

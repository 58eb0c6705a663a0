// The list commands through the real list views of the main window.

#include "app/MainWindow.h"
#include "ui/support/Controls.h"
#include "app/support/WindowFixtures.h"
#include "commands/ListCommands.h"
#include "lists/NameListModel.h"
#include "ui/NameListView.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace orvella;
using namespace orvella::testing;

namespace {

const QStringList kSamples = {"Peter Tavrin", "John Smith Jr.", "Joe Tavrin", "Mr. Joe Tavrin"};

// The window, for what goes through its list views.
struct ListViewsFixture : MainWindowFixture {
    lists::NameListModel &input() { return session->inputList(); }
    lists::NameListModel &results() { return session->resultList(); }
};

// Double-click and Delete (with any modifier) on either list, through the real views.
TEST(RemoveItem, SelectedItemGoesOnDoubleClickOrDelete)
{
    enum class Gesture { DoubleClick, Delete, ShiftDelete, CtrlDelete, AltDelete };
    for (const bool resultList : {false, true}) {
        for (const Gesture gesture :
             {Gesture::DoubleClick, Gesture::Delete, Gesture::ShiftDelete, Gesture::CtrlDelete, Gesture::AltDelete}) {
            SCOPED_TRACE(::testing::Message() << "result list " << resultList << " gesture " << int(gesture));
            ListViewsFixture f;
            f.window->show();
            lists::NameListModel &list = resultList ? f.results() : f.input();
            ui::NameListView *view = resultList ? control<ui::NameListView>(*f.window, "ListView2")
                                                   : control<ui::NameListView>(*f.window, "ListView1");
            for (const char *name : {"a", "b", "c"})
                list.append(name);
            list.flushPendingRows();
            list.select(2);

            const auto act = [&] {
                switch (gesture) {
                case Gesture::DoubleClick: {
                    const QRect row = view->visualRect(list.index(1));
                    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, row.center());
                    break;
                }
                case Gesture::Delete:
                    QTest::keyClick(view, Qt::Key_Delete);
                    break;
                case Gesture::ShiftDelete:
                    QTest::keyClick(view, Qt::Key_Delete, Qt::ShiftModifier);
                    break;
                case Gesture::CtrlDelete:
                    QTest::keyClick(view, Qt::Key_Delete, Qt::ControlModifier);
                    break;
                case Gesture::AltDelete:
                    QTest::keyClick(view, Qt::Key_Delete, Qt::AltModifier);
                    break;
                }
            };
            act();
            EXPECT_EQ(itemsOf(list), (QStringList{"a", "c"}));
            // The other list is not touched.
            EXPECT_TRUE((resultList ? f.input() : f.results()).isEmpty());
            if (gesture == Gesture::DoubleClick)
                continue;
            // Nothing selected now: another Delete removes nothing.
            act();
            EXPECT_EQ(itemsOf(list), (QStringList{"a", "c"}));
        }
    }
}

TEST(ListColumns, CaptionsNeverShowCounts)
{
    ListViewsFixture f;
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(
            control<ui::NameListView>(*f.window, "ListView1")->model()->headerData(0, Qt::Horizontal).toString(),
            " Name(s)");
        EXPECT_EQ(
            control<ui::NameListView>(*f.window, "ListView2")->model()->headerData(0, Qt::Horizontal).toString(),
            "Result(s)");
        control<QPushButton>(*f.window, "PushButton7")->click();
        f.results().append("r");
        MainWindowFixture::processEvents();
    }
}

} // namespace

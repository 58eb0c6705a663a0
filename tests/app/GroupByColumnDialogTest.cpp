// "Group By Column": the dialog shows the choice it is given, answers what it shows on
// OK, and nothing on Cancel.

#include "app/GroupByColumnDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace orvella;
using Grouping = core::RowGrouping;

namespace {

QComboBox *box(app::GroupByColumnDialog &dialog, const char *name)
{
    return dialog.findChild<QComboBox *>(QLatin1String(name));
}

Grouping grouping(int column, Grouping::Order order, Grouping::SameRows same, int sameColumn = -1)
{
    Grouping g;
    g.column = column;
    g.order = order;
    g.sameRows = same;
    g.sameColumn = sameColumn;
    return g;
}

} // namespace

TEST(GroupByColumnDialog, ShowsTheChoiceAndAnswersWhatItShows)
{
    const QStringList columns{"Last", "First", "Homeroom", "Email"};
    const Grouping cases[] = {
        {},
        grouping(2, Grouping::Order::Natural, Grouping::SameRows::Name),
        grouping(0, Grouping::Order::FirstMet, Grouping::SameRows::Row),
        grouping(-1, Grouping::Order::Natural, Grouping::SameRows::Column, 3),
        grouping(3, Grouping::Order::FirstMet, Grouping::SameRows::Column, 0),
    };
    for (const Grouping &current : cases) {
        app::GroupByColumnDialog dialog({columns, current});
        EXPECT_EQ(dialog.shownChoice(), current) << current.column << " " << current.sameColumn;
        EXPECT_EQ(box(dialog, "cboGroupColumn")->count(), columns.size() + 1); // "(none)" first
    }
}

TEST(GroupByColumnDialog, OkAnswersTheBoxesAndCancelNothing)
{
    const QStringList columns{"Name", "Room", "Order no."};
    app::GroupByColumnDialog dialog({columns, {}});
    box(dialog, "cboGroupColumn")->setCurrentIndex(2);   // Room
    box(dialog, "cboGroupOrder")->setCurrentIndex(1);    // as first met
    box(dialog, "cboSameRows")->setCurrentIndex(4);      // Order no.
    dialog.findChild<QPushButton *>(QStringLiteral("cmdGroupOk"))->click();
    EXPECT_EQ(dialog.choice(), grouping(1, Grouping::Order::FirstMet, Grouping::SameRows::Column, 2));

    app::GroupByColumnDialog cancelled({columns, {}});
    box(cancelled, "cboGroupColumn")->setCurrentIndex(1);
    cancelled.findChild<QPushButton *>(QStringLiteral("cmdGroupCancel"))->click();
    EXPECT_EQ(cancelled.choice(), std::nullopt);
}

#include "app/GroupByColumnDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

namespace orvella::app {

namespace {

// The "same rows" box: the name, the whole row, then each column (its data is the
// column's number; -1 and -2 stand for the name and the row).
constexpr int kSameName = -1;
constexpr int kSameRow = -2;

QComboBox *comboBox(const char *name, QWidget *parent)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

} // namespace

GroupByColumnDialog::GroupByColumnDialog(const core::GroupingRequest &request, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("GroupByColumnDialog"));
    setWindowTitle(QStringLiteral("Group By Column"));
    auto *form = new QFormLayout(this);

    m_column = comboBox("cboGroupColumn", this);
    m_column->addItem(QStringLiteral("(none)"), -1);
    for (qsizetype c = 0; c < request.columns.size(); ++c)
        m_column->addItem(request.columns[c], int(c));
    m_column->setCurrentIndex(std::max(0, m_column->findData(request.current.column)));
    form->addRow(QStringLiteral("&Group by:"), m_column);

    m_order = comboBox("cboGroupOrder", this);
    m_order->addItem(QStringLiteral("Natural order (7B before 10A)"), int(core::RowGrouping::Order::Natural));
    m_order->addItem(QStringLiteral("As first met"), int(core::RowGrouping::Order::FirstMet));
    m_order->setCurrentIndex(request.current.order == core::RowGrouping::Order::FirstMet ? 1 : 0);
    form->addRow(QStringLiteral("Groups &in:"), m_order);

    m_same = comboBox("cboSameRows", this);
    m_same->addItem(QStringLiteral("The name"), kSameName);
    m_same->addItem(QStringLiteral("The whole row"), kSameRow);
    for (qsizetype c = 0; c < request.columns.size(); ++c)
        m_same->addItem(request.columns[c], int(c));
    const core::RowGrouping::SameRows same = request.current.sameRows;
    const int sameData = same == core::RowGrouping::SameRows::Row      ? kSameRow
                         : same == core::RowGrouping::SameRows::Column ? request.current.sameColumn
                                                                       : kSameName;
    m_same->setCurrentIndex(std::max(0, m_same->findData(sameData)));
    form->addRow(QStringLiteral("&Duplicates are rows with the same:"), m_same);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("cmdGroupOk"));
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cmdGroupCancel"));
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        m_answer = shownChoice();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

core::RowGrouping GroupByColumnDialog::shownChoice() const
{
    core::RowGrouping choice;
    choice.column = m_column->currentData().toInt();
    choice.order = core::RowGrouping::Order(m_order->currentData().toInt());
    const int same = m_same->currentData().toInt();
    choice.sameRows = same == kSameName  ? core::RowGrouping::SameRows::Name
                      : same == kSameRow ? core::RowGrouping::SameRows::Row
                                         : core::RowGrouping::SameRows::Column;
    choice.sameColumn = same >= 0 ? same : -1;
    return choice;
}

} // namespace orvella::app

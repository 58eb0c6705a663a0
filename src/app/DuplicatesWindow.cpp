#include "app/DuplicatesWindow.h"

#include "app/ListHistory.h"
#include "core/Desktop.h"
#include "core/ErrorReport.h"
#include "core/Procedure.h"
#include "lists/NameListModel.h"
#include "session/DuplicateSearch.h"
#include "session/Session.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace orvella::app {

namespace {
constexpr int kPlaceRole = Qt::UserRole + 1; // a name's place in the list, counted from 1
}

DuplicatesWindow::DuplicatesWindow(session::Session &session, ListHistory &history, core::Desktop &desktop,
                                   QWidget *parent)
    : QWidget(parent, Qt::Window), m_session(session), m_history(history), m_desktop(desktop)
{
    setObjectName(QStringLiteral("DuplicatesWindow"));
    setWindowTitle(QStringLiteral("Likely Duplicates"));
    auto *layout = new QVBoxLayout(this);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("DuplicatesSummary"));
    m_summary->setWordWrap(true);
    m_groups = new QTreeWidget(this);
    m_groups->setObjectName(QStringLiteral("DuplicateGroups"));
    m_groups->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Row")});
    m_groups->header()->setStretchLastSection(false);
    m_groups->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_groups->setAccessibleName(QStringLiteral("Likely duplicates"));
    m_summary->setBuddy(m_groups);
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *remove = buttons->addButton(QStringLiteral("&Remove Ticked Names"), QDialogButtonBox::ActionRole);
    remove->setObjectName(QStringLiteral("RemoveTickedButton"));
    QPushButton *again = buttons->addButton(QStringLiteral("&Look Again"), QDialogButtonBox::ActionRole);
    again->setObjectName(QStringLiteral("LookAgainButton"));
    QPushButton *close = buttons->addButton(QDialogButtonBox::Close);
    connect(remove, &QPushButton::clicked, this, &DuplicatesWindow::removeTicked);
    connect(again, &QPushButton::clicked, this, &DuplicatesWindow::search);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    for (QAbstractButton *button : buttons->buttons())
        button->setAccessibleName(button->text().remove(QLatin1Char('&')));
    layout->addWidget(m_summary);
    layout->addWidget(m_groups, 1);
    layout->addWidget(buttons);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    resize(560, 460);
}

void DuplicatesWindow::search()
{
    core::Procedure p(m_desktop, core::kMainWindowModule, "mnuFindDuplicates_Click");
    p.step(100, [&] {
        m_summary->setText(QStringLiteral("Looking for likely duplicates\u2026"));
        const auto groups = session::findInputDuplicates(m_session, [this] { m_desktop.yield(); });
        const lists::NameListModel &input = m_session.inputList();
        m_groups->clear();
        QList<QTreeWidgetItem *> items;
        for (size_t g = 0; g < groups.size(); ++g) {
            auto *group = new QTreeWidgetItem(
                {QStringLiteral("Group %1: %2").arg(g + 1).arg(names::reasonText(groups[g].reason))});
            for (const qsizetype member : groups[g].members) {
                const int place = int(member) + 1;
                auto *row = new QTreeWidgetItem(group, {input.item(place), QString::number(place)});
                row->setCheckState(0, Qt::Unchecked);
                row->setData(0, kPlaceRole, place);
            }
            items.append(group);
        }
        m_groups->addTopLevelItems(items);
        m_groups->expandAll();
        m_summary->setText(groups.empty() ? QStringLiteral("No likely duplicates.")
                                          : QStringLiteral("%1 groups of names that are probably one person. Tick "
                                                           "the names to remove; nothing is removed on a guess.")
                                                .arg(groups.size()));
    });
}

QList<int> DuplicatesWindow::tickedPlaces() const
{
    QList<int> places;
    for (int g = 0; g < m_groups->topLevelItemCount(); ++g) {
        const QTreeWidgetItem *group = m_groups->topLevelItem(g);
        for (int r = 0; r < group->childCount(); ++r) {
            if (group->child(r)->checkState(0) == Qt::Checked)
                places.append(group->child(r)->data(0, kPlaceRole).toInt());
        }
    }
    std::sort(places.begin(), places.end());
    return places;
}

void DuplicatesWindow::removeTicked()
{
    const QList<int> places = tickedPlaces();
    if (places.isEmpty())
        return;
    core::Procedure p(m_desktop, core::kMainWindowModule, "mnuRemoveDuplicates_Click");
    p.step(100, [&] {
        lists::NameListModel &input = m_session.inputList();
        // From the last place back, so that the places before stay where they are.
        m_history.run(QStringLiteral("Remove Likely Duplicates"), [&] {
            for (auto place = places.crbegin(); place != places.crend(); ++place)
                input.removeAt(*place);
        });
    });
    search();
}

} // namespace orvella::app

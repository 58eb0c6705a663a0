#include "app/PaperChoicesPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QVBoxLayout>

namespace orvella::app {
namespace {

using core::PaperChoices;

QComboBox *choiceBox(const QStringList &texts, int current, const char *name, QWidget *parent)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->addItems(texts);
    box->setCurrentIndex(current);
    return box;
}

QSpinBox *numberBox(int low, int high, int value, const char *name, QWidget *parent)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(low, high);
    box->setValue(value);
    return box;
}

QCheckBox *checkBox(const QString &text, bool on, const char *name, QWidget *parent)
{
    auto *box = new QCheckBox(text, parent);
    box->setObjectName(QLatin1String(name));
    box->setChecked(on);
    return box;
}

} // namespace

PaperChoicesPanel::PaperChoicesPanel(const PaperChoices &choices, const QStringList &columns, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("PaperChoices"));
    auto *layout = new QVBoxLayout(this);
    auto *top = new QFormLayout;
    m_layout = choiceBox({QStringLiteral("List"), QStringLiteral("Name badges")},
                         choices.layout == core::PaperLayout::Badges ? 1 : 0, "PaperLayout", this);
    top->addRow(QStringLiteral("&Layout:"), m_layout);
    m_title = new QLineEdit(choices.title, this);
    m_title->setObjectName(QStringLiteral("PaperTitle"));
    top->addRow(QStringLiteral("&Title:"), m_title);
    layout->addLayout(top);
    layout->addWidget(m_list = listChoices(choices, columns));
    layout->addWidget(m_badges = badgeChoices(choices, columns));
    layout->addWidget(pageChoices(choices));
    layout->addStretch();
    showLayout();
    connect(m_layout, &QComboBox::currentIndexChanged, this, &PaperChoicesPanel::showLayout);
    // Every control tells its changes as one signal.
    for (QComboBox *box : findChildren<QComboBox *>())
        connect(box, &QComboBox::currentIndexChanged, this, &PaperChoicesPanel::changed);
    for (QSpinBox *box : findChildren<QSpinBox *>())
        connect(box, &QSpinBox::valueChanged, this, &PaperChoicesPanel::changed);
    for (QCheckBox *box : findChildren<QCheckBox *>())
        connect(box, &QCheckBox::toggled, this, &PaperChoicesPanel::changed);
    connect(m_title, &QLineEdit::editingFinished, this, &PaperChoicesPanel::changed);
    connect(m_columns, &QListWidget::itemChanged, this, &PaperChoicesPanel::changed);
}

QWidget *PaperChoicesPanel::listChoices(const PaperChoices &choices, const QStringList &columns)
{
    auto *group = new QGroupBox(QStringLiteral("List"), this);
    auto *form = new QFormLayout(group);
    m_columns = new QListWidget(group);
    m_columns->setObjectName(QStringLiteral("PaperColumns"));
    for (const QString &caption : columns) {
        auto *item = new QListWidgetItem(caption, m_columns);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(choices.columns.contains(caption) ? Qt::Checked : Qt::Unchecked);
    }
    m_columns->setMaximumHeight(m_columns->sizeHintForRow(0) * 6 + 4);
    form->addRow(QStringLiteral("C&olumns:"), m_columns);
    m_letters = checkBox(QStringLiteral("A heading per &first letter"), choices.letterHeadings, "PaperLetters", group);
    form->addRow(m_letters);
    m_groupPages = checkBox(QStringLiteral("Each &group on a new page"), choices.groupPages, "PaperGroupPages", group);
    form->addRow(m_groupPages);
    m_namesColumns = numberBox(1, 3, choices.namesColumns, "PaperNamesColumns", group);
    form->addRow(QStringLiteral("Columns of &names a page:"), m_namesColumns);
    m_checkBoxes = checkBox(QStringLiteral("A box to tic&k on each row"), choices.checkBoxes, "PaperCheckBoxes", group);
    form->addRow(m_checkBoxes);
    return group;
}

QWidget *PaperChoicesPanel::badgeChoices(const PaperChoices &choices, const QStringList &columns)
{
    auto *group = new QGroupBox(QStringLiteral("Name badges"), this);
    auto *form = new QFormLayout(group);
    m_sheet = choiceBox({QStringLiteral("2 \u00d7 4 cards"), QStringLiteral("2 \u00d7 5 cards"), QStringLiteral("Custom")},
                        int(choices.sheet), "PaperSheet", group);
    form->addRow(QStringLiteral("&Sheet:"), m_sheet);
    m_rows = numberBox(1, 20, choices.badgeRows, "PaperBadgeRows", group);
    form->addRow(QStringLiteral("&Rows:"), m_rows);
    m_sheetColumns = numberBox(1, 10, choices.badgeColumns, "PaperBadgeColumns", group);
    form->addRow(QStringLiteral("Colu&mns:"), m_sheetColumns);
    m_margin = numberBox(0, 50, choices.badgeMarginMm, "PaperBadgeMargin", group);
    m_margin->setSuffix(QStringLiteral(" mm"));
    form->addRow(QStringLiteral("M&argin:"), m_margin);
    m_extra = choiceBox(QStringList{QStringLiteral("(none)")} + columns, 0, "PaperBadgeExtra", group);
    if (const int at = int(columns.indexOf(choices.badgeExtra)); at >= 0)
        m_extra->setCurrentIndex(at + 1);
    form->addRow(QStringLiteral("Small &line:"), m_extra);
    connect(m_sheet, &QComboBox::currentIndexChanged, this, &PaperChoicesPanel::showLayout);
    return group;
}

QWidget *PaperChoicesPanel::pageChoices(const PaperChoices &choices)
{
    auto *group = new QGroupBox(QStringLiteral("Page"), this);
    auto *form = new QFormLayout(group);
    m_size = choiceBox({QStringLiteral("A4"), QStringLiteral("US Letter")},
                       choices.pageSize == core::PaperSize::Letter ? 1 : 0, "PaperSize", group);
    form->addRow(QStringLiteral("Pa&per size:"), m_size);
    m_orientation = choiceBox({QStringLiteral("Portrait"), QStringLiteral("Landscape")}, choices.landscape ? 1 : 0,
                              "PaperOrientation", group);
    form->addRow(QStringLiteral("Or&ientation:"), m_orientation);
    return group;
}

void PaperChoicesPanel::showLayout()
{
    const bool badges = m_layout->currentIndex() == 1;
    m_list->setEnabled(!badges);
    m_badges->setEnabled(badges);
    const bool custom = m_sheet->currentIndex() == int(core::BadgeSheet::Custom);
    for (QSpinBox *box : {m_rows, m_sheetColumns, m_margin})
        box->setEnabled(custom);
}

PaperChoices PaperChoicesPanel::choices() const
{
    PaperChoices choices;
    choices.layout = m_layout->currentIndex() == 1 ? core::PaperLayout::Badges : core::PaperLayout::List;
    choices.title = m_title->text();
    choices.columns.clear();
    for (int row = 0; row < m_columns->count(); ++row) {
        if (m_columns->item(row)->checkState() == Qt::Checked)
            choices.columns << m_columns->item(row)->text();
    }
    choices.letterHeadings = m_letters->isChecked();
    choices.groupPages = m_groupPages->isChecked();
    choices.namesColumns = m_namesColumns->value();
    choices.checkBoxes = m_checkBoxes->isChecked();
    choices.sheet = core::BadgeSheet(m_sheet->currentIndex());
    choices.badgeRows = m_rows->value();
    choices.badgeColumns = m_sheetColumns->value();
    choices.badgeMarginMm = m_margin->value();
    choices.badgeExtra = m_extra->currentIndex() > 0 ? m_extra->currentText() : QString();
    choices.pageSize = m_size->currentIndex() == 1 ? core::PaperSize::Letter : core::PaperSize::A4;
    choices.landscape = m_orientation->currentIndex() == 1;
    return choices;
}

} // namespace orvella::app

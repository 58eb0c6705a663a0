#include "app/NameColumnsDialog.h"

#include "app/AccessibleTexts.h"
#include "app/NamePreviewModel.h"
#include "lists/NameColumns.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStringListModel>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace orvella::app {

using core::ColumnChoice;

namespace {

const QString kNone = QStringLiteral("(none)");
// How far the controls under an option button are indented.
constexpr int kIndent = 24;
// The preview's first columns (the name as read and those it is taken from) are fitted
// to their text; measuring every column of a very wide table would take seconds.
constexpr int kFittedColumns = 16;
// Up to this many columns a column box is as wide as its longest caption; beyond, as
// wide as this many characters.
constexpr int kMeasuredColumns = 500;
constexpr int kWideCaptionLength = 30;

QComboBox *columnBox(const char *name, QWidget *parent)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return box;
}

// The combo box's index for a column (counted from 0, -1 none): optional boxes hold
// "(none)" first. A column the box lacks shows as its first item.
int indexFor(const QComboBox *box, int column, bool optional)
{
    const int index = optional ? column + 1 : column;
    return index >= 0 && index < box->count() ? index : 0;
}

} // namespace

NameColumnsDialog::NameColumnsDialog(const core::ColumnRequest &request, QWidget *parent)
    : QDialog(parent), m_rows(request.firstRows)
{
    setObjectName(QStringLiteral("NameColumnsDialog"));
    setWindowTitle(QStringLiteral("Choose Name Columns"));
    setSizeGripEnabled(true);
    buildControls(request.fileName);
    describeControls(this, nameColumnsAccessibleTexts());
    showChoice(request.proposed);
    resize(720, 520);
}

void NameColumnsDialog::buildControls(const QString &fileName)
{
    auto *layout = new QVBoxLayout(this);
    auto *question = new QLabel(
        QStringLiteral("Which columns of \u201c%1\u201d make a person\u2019s name?").arg(QFileInfo(fileName).fileName()),
        this);
    question->setTextFormat(Qt::PlainText);
    question->setWordWrap(true);
    layout->addWidget(question);
    buildColumnChoice(layout);
    buildPreview(layout);
    m_dontAsk = new QCheckBox(QStringLiteral("Do &not ask again for files with these columns"), this);
    m_dontAsk->setObjectName(QStringLiteral("DontAskCheck"));
    layout->addWidget(m_dontAsk);
    buildButtons(layout);
    fillColumnBoxes();

    connect(m_headerRow, &QSpinBox::valueChanged, this, &NameColumnsDialog::refresh);
    connect(m_wholeOption, &QRadioButton::toggled, this, &NameColumnsDialog::refresh);
    for (QComboBox *box : {m_wholeColumn, m_lastColumn, m_firstColumn, m_middleColumn, m_suffixColumn, m_filedAsColumn})
        connect(box, &QComboBox::currentIndexChanged, this, &NameColumnsDialog::refresh);
}

void NameColumnsDialog::buildColumnChoice(QVBoxLayout *layout)
{
    // Rows above the header (a title, blank rows) are no names.
    m_headerRow = new QSpinBox(this);
    m_headerRow->setObjectName(QStringLiteral("HeaderRow"));
    m_headerRow->setRange(0, int(std::max<qsizetype>(1, m_rows.size())));
    m_headerRow->setSpecialValueText(kNone);
    auto *headerLabel = new QLabel(QStringLiteral("&Header row:"), this);
    headerLabel->setBuddy(m_headerRow);
    auto *headerRow = new QHBoxLayout;
    headerRow->addWidget(headerLabel);
    headerRow->addWidget(m_headerRow);
    headerRow->addStretch(1);
    layout->addLayout(headerRow);

    m_wholeOption = new QRadioButton(QStringLiteral("&One column holds the whole name"), this);
    m_wholeOption->setObjectName(QStringLiteral("WholeNameOption"));
    m_wholeColumn = columnBox("WholeNameColumn", this);
    auto *wholeRow = new QHBoxLayout;
    wholeRow->setContentsMargins(kIndent, 0, 0, 0);
    wholeRow->addWidget(m_wholeColumn);
    wholeRow->addStretch(1);
    layout->addWidget(m_wholeOption);
    layout->addLayout(wholeRow);

    m_partsOption = new QRadioButton(QStringLiteral("First and last name are in &separate columns"), this);
    m_partsOption->setObjectName(QStringLiteral("PartsOption"));
    m_lastColumn = columnBox("LastNameColumn", this);
    m_firstColumn = columnBox("FirstNameColumn", this);
    m_middleColumn = columnBox("MiddleNameColumn", this);
    m_suffixColumn = columnBox("SuffixColumn", this);
    auto *parts = new QFormLayout;
    parts->setContentsMargins(kIndent, 0, 0, 0);
    parts->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    parts->addRow(QStringLiteral("Las&t name:"), m_lastColumn);
    parts->addRow(QStringLiteral("&First name:"), m_firstColumn);
    parts->addRow(QStringLiteral("&Middle name:"), m_middleColumn);
    parts->addRow(QStringLiteral("S&uffix:"), m_suffixColumn);
    layout->addWidget(m_partsOption);
    layout->addLayout(parts);

    // A column of the words each row files under, whichever way the name is made.
    m_filedAsColumn = columnBox("FiledAsColumn", this);
    auto *filedAsLabel = new QLabel(QStringLiteral("File &each row under (optional):"), this);
    filedAsLabel->setBuddy(m_filedAsColumn);
    auto *filedAsRow = new QHBoxLayout;
    filedAsRow->addWidget(filedAsLabel);
    filedAsRow->addWidget(m_filedAsColumn);
    filedAsRow->addStretch(1);
    layout->addLayout(filedAsRow);
}

void NameColumnsDialog::buildPreview(QVBoxLayout *layout)
{
    auto *previewLabel = new QLabel(QStringLiteral("Pre&view:"), this);
    m_preview = new QTableView(this);
    m_preview->setObjectName(QStringLiteral("PreviewTable"));
    m_previewModel = new NamePreviewModel(m_rows, m_preview);
    m_preview->setModel(m_previewModel);
    m_preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_preview->setSelectionMode(QAbstractItemView::NoSelection);
    m_preview->horizontalHeader()->setStretchLastSection(true);
    previewLabel->setBuddy(m_preview);
    layout->addWidget(previewLabel);
    layout->addWidget(m_preview, 1);
}

void NameColumnsDialog::buildButtons(QVBoxLayout *layout)
{
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *load = buttons->addButton(QStringLiteral("&Load"), QDialogButtonBox::AcceptRole);
    load->setObjectName(QStringLiteral("LoadButton"));
    load->setDefault(true);
    QPushButton *lines = buttons->addButton(QStringLiteral("&Read Each Line As A Name"), QDialogButtonBox::ActionRole);
    lines->setObjectName(QStringLiteral("LinesButton"));
    QPushButton *cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    layout->addWidget(buttons);
    connect(load, &QPushButton::clicked, this, [this] { answer(shownChoice().kind); });
    connect(lines, &QPushButton::clicked, this, [this] { answer(ColumnChoice::Kind::Lines); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void NameColumnsDialog::fillColumnBoxes()
{
    // One item a column; refresh() gives them the captions of the header or none. The
    // boxes share two lists of them (the optional ones' with "(none)" first), filled at
    // once. A box fits its width to its longest item only while measuring them all is
    // quick; for a wider table it is as wide as a long caption.
    const QStringList captions = lists::columnCaptions(m_rows, ColumnChoice());
    m_captions = new QStringListModel(captions, this);
    m_optionalCaptions = new QStringListModel(QStringList{kNone} + captions, this);
    for (QComboBox *box : {m_wholeColumn, m_lastColumn, m_firstColumn, m_middleColumn, m_suffixColumn, m_filedAsColumn}) {
        const bool optional = box == m_middleColumn || box == m_suffixColumn || box == m_filedAsColumn;
        box->setModel(optional ? m_optionalCaptions : m_captions);
        if (captions.size() > kMeasuredColumns) {
            box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
            box->setMinimumContentsLength(kWideCaptionLength);
        }
    }
}

void NameColumnsDialog::showChoice(const ColumnChoice &choice)
{
    const QSignalBlocker blockHeader(m_headerRow);
    m_headerRow->setValue(choice.firstRowIsHeader ? choice.headerRow + 1 : 0);
    const bool parts = choice.kind == ColumnChoice::Kind::NameParts;
    m_partsOption->setChecked(parts);
    m_wholeOption->setChecked(!parts);
    m_wholeColumn->setCurrentIndex(indexFor(m_wholeColumn, choice.wholeName, false));
    // A proposal of one column still offers sensible parts: the first two columns.
    m_lastColumn->setCurrentIndex(indexFor(m_lastColumn, parts ? choice.lastName : 0, false));
    m_firstColumn->setCurrentIndex(indexFor(m_firstColumn, parts ? choice.firstName : 1, false));
    m_middleColumn->setCurrentIndex(indexFor(m_middleColumn, choice.middleName, true));
    m_suffixColumn->setCurrentIndex(indexFor(m_suffixColumn, choice.suffix, true));
    m_filedAsColumn->setCurrentIndex(indexFor(m_filedAsColumn, choice.filedAs, true));
    m_dontAsk->setChecked(choice.dontAskAgain);
    refresh();
}

ColumnChoice NameColumnsDialog::shownChoice() const
{
    ColumnChoice choice;
    choice.firstRowIsHeader = m_headerRow->value() > 0;
    choice.headerRow = std::max(m_headerRow->value() - 1, 0);
    choice.dontAskAgain = m_dontAsk->isEnabled() && m_dontAsk->isChecked();
    choice.filedAs = m_filedAsColumn->currentIndex() - 1;
    if (m_partsOption->isChecked()) {
        choice.kind = ColumnChoice::Kind::NameParts;
        choice.lastName = m_lastColumn->currentIndex();
        choice.firstName = m_firstColumn->currentIndex();
        choice.middleName = m_middleColumn->currentIndex() - 1;
        choice.suffix = m_suffixColumn->currentIndex() - 1;
    } else {
        choice.kind = ColumnChoice::Kind::WholeName;
        choice.wholeName = m_wholeColumn->currentIndex();
    }
    return choice;
}

void NameColumnsDialog::refresh()
{
    const ColumnChoice choice = shownChoice();
    const QStringList captions = lists::columnCaptions(m_rows, choice);
    for (int c = 0; c < captions.size(); ++c) {
        const QModelIndex item = m_captions->index(c);
        if (item.data() == captions[c])
            continue;
        m_captions->setData(item, captions[c]);
        m_optionalCaptions->setData(m_optionalCaptions->index(c + 1), captions[c]);
    }
    m_wholeColumn->setEnabled(!m_partsOption->isChecked());
    for (QComboBox *box : {m_lastColumn, m_firstColumn, m_middleColumn, m_suffixColumn})
        box->setEnabled(m_partsOption->isChecked());
    // Only a header can be remembered.
    m_dontAsk->setEnabled(choice.firstRowIsHeader);
    refreshPreview(choice);
}

void NameColumnsDialog::refreshPreview(const ColumnChoice &choice)
{
    m_previewModel->show(choice, lists::columnCaptions(m_rows, choice));
    const int fitted = std::min(m_previewModel->columnCount(), kFittedColumns);
    for (int column = 0; column < fitted; ++column)
        m_preview->resizeColumnToContents(column);
}

void NameColumnsDialog::answer(ColumnChoice::Kind kind)
{
    m_answer = shownChoice();
    m_answer.kind = kind;
    accept();
}

} // namespace orvella::app

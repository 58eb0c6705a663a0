#include "app/ExportOptionsPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace orvella::app {
namespace {

using core::LineEnds;
using core::TextEncoding;

constexpr int kColumnsARow = 4;

// A combo box of the items, each with its value, showing `current`.
template<typename Value>
QComboBox *choiceBox(std::initializer_list<std::pair<QString, Value>> items, Value current, QWidget *parent)
{
    auto *box = new QComboBox(parent);
    for (const auto &[text, value] : items) {
        box->addItem(text, int(value));
        if (value == current)
            box->setCurrentIndex(box->count() - 1);
    }
    return box;
}

// A label with its mnemonic, for a box that follows it.
QLabel *labelFor(const QString &text, QWidget *box, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(box);
    return label;
}

} // namespace

ExportOptionsPanel::ExportOptionsPanel(const core::ExportOptions &options, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ExportOptions"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(nameColumnBoxes(options));
    layout->addWidget(textChoices(options));
}

QWidget *ExportOptionsPanel::nameColumnBoxes(const core::ExportOptions &options)
{
    auto *boxes = new QWidget(this);
    auto *grid = new QGridLayout(boxes);
    grid->setContentsMargins(0, 0, 0, 0);
    auto *caption = new QLabel(QStringLiteral("Add name columns:"), boxes);
    grid->addWidget(caption, 0, 0, 1, kColumnsARow);
    for (int column = 0; column < core::kNameColumnCount; ++column) {
        const auto which = core::NameColumn(column);
        auto *box = new QCheckBox(core::nameColumnCaption(which), boxes);
        box->setObjectName(QStringLiteral("NameColumn%1").arg(column));
        box->setChecked(options.has(which));
        box->setAccessibleDescription(caption->text());
        grid->addWidget(box, 1 + column / kColumnsARow, column % kColumnsARow);
        m_columns[size_t(column)] = box;
    }
    return boxes;
}

QWidget *ExportOptionsPanel::textChoices(const core::ExportOptions &options)
{
    auto *choices = new QWidget(this);
    auto *row = new QHBoxLayout(choices);
    row->setContentsMargins(0, 0, 0, 0);
    const char16_t delimiter = options.delimiter == u';' || options.delimiter == u'\t' ? options.delimiter : u',';
    m_delimiter = choiceBox<char16_t>({{QStringLiteral("Comma"), u','},
                                       {QStringLiteral("Semicolon"), u';'},
                                       {QStringLiteral("TAB"), u'\t'}},
                                      delimiter, choices);
    m_delimiter->setObjectName(QStringLiteral("Delimiter"));
    m_encoding = choiceBox<TextEncoding>({{QStringLiteral("UTF-8 with byte-order mark"), TextEncoding::Utf8WithMark},
                                          {QStringLiteral("UTF-8"), TextEncoding::Utf8},
                                          {QStringLiteral("Windows-1252"), TextEncoding::Windows1252}},
                                         options.encoding, choices);
    m_encoding->setObjectName(QStringLiteral("Encoding"));
    m_lineEnds = choiceBox<LineEnds>({{QStringLiteral("CR LF"), LineEnds::CrLf}, {QStringLiteral("LF"), LineEnds::Lf}},
                                     options.lineEnds, choices);
    m_lineEnds->setObjectName(QStringLiteral("LineEnds"));
    m_protect = new QCheckBox(QStringLiteral("&Protect cells from spreadsheet formulas"), choices);
    m_protect->setObjectName(QStringLiteral("ProtectFormulas"));
    m_protect->setChecked(options.protectFormulas);
    row->addWidget(labelFor(QStringLiteral("Deli&miter:"), m_delimiter, choices));
    row->addWidget(m_delimiter);
    row->addWidget(labelFor(QStringLiteral("Enco&ding:"), m_encoding, choices));
    row->addWidget(m_encoding);
    row->addWidget(labelFor(QStringLiteral("L&ine ends:"), m_lineEnds, choices));
    row->addWidget(m_lineEnds);
    row->addWidget(m_protect);
    row->addStretch();
    return choices;
}

core::ExportOptions ExportOptionsPanel::options() const
{
    core::ExportOptions options;
    for (int column = 0; column < core::kNameColumnCount; ++column)
        options.set(core::NameColumn(column), m_columns[size_t(column)]->isChecked());
    options.delimiter = char16_t(m_delimiter->currentData().toInt());
    options.encoding = TextEncoding(m_encoding->currentData().toInt());
    options.lineEnds = LineEnds(m_lineEnds->currentData().toInt());
    options.protectFormulas = m_protect->isChecked();
    return options;
}

void ExportOptionsPanel::showFormat(const QString &filter)
{
    const bool csv = filter.startsWith(QLatin1String("CSV"));
    const bool text = csv || filter.startsWith(QLatin1String("TSV"));
    m_delimiter->setEnabled(csv);
    m_encoding->setEnabled(text);
    m_lineEnds->setEnabled(text);
    m_protect->setEnabled(text);
}

} // namespace orvella::app

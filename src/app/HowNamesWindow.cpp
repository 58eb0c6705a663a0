#include "app/HowNamesWindow.h"

#include "session/OptionSettings.h"
#include "session/ReadingTable.h"
#include "ui/WindowPlacement.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>

namespace orvella::app {

using namespace orvella::session;

HowNamesWindow::HowNamesWindow(const OptionSettings &options, names::SuffixTest isSuffix, QWidget *parent)
    : QWidget(parent, Qt::Window), m_options(options), m_isSuffix(std::move(isSuffix))
{
    setObjectName(QStringLiteral("HowNamesWindow"));
    setWindowTitle(QStringLiteral("How Names Are Read"));
    auto *layout = new QVBoxLayout(this);
    auto *prompt = new QLabel(QStringLiteral("Type or paste a name:"), this);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("NameField"));
    m_name->setPlaceholderText(QStringLiteral("Oscar de la Hoya Jr."));
    prompt->setBuddy(m_name);
    m_table = new QTableWidget(0, 6, this);
    m_table->setObjectName(QStringLiteral("ReadingTable"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("Reading"), QStringLiteral("Options"),
                                        QStringLiteral("Sorted under"), QStringLiteral("Then"),
                                        QStringLiteral("Stepped over"), QStringLiteral("Particles taken along")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_also = new QLabel(this);
    m_also->setObjectName(QStringLiteral("AlsoChosen"));
    m_also->setWordWrap(true);
    auto *note = new QLabel(QStringLiteral("The marked row is how the main window reads names now."), this);
    layout->addWidget(prompt);
    layout->addWidget(m_name);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_also);
    layout->addWidget(note);
    connect(m_name, &QLineEdit::textChanged, this, &HowNamesWindow::refresh);
    m_name->setAccessibleName(QStringLiteral("Name to read"));
    m_name->setAccessibleDescription(
        QStringLiteral("The table below shows what this name is filed under in each reading"));
    m_table->setAccessibleName(QStringLiteral("Readings"));
    m_table->setAccessibleDescription(
        QStringLiteral("One row per reading: what the name is sorted under, then by, the suffix stepped over and the "
                       "particles taken along. The marked row is how the main window reads names now."));
    ui::closeOnEscape(this);
    resize(980, 430);
    refresh();
}

void HowNamesWindow::refresh()
{
    const names::ReadingChoices choices = m_options.readingChoices();
    const auto filedAs = m_options.filedAs();
    const auto designations = m_options.designations();
    const names::WordTests words{m_isSuffix, [this](QStringView word) { return m_options.isParticle(word); },
                                 [this](QStringView word) { return m_options.isTitle(word); }, filedAs.get(),
                                 designations.get()};
    const std::vector<ReadingRow> rows = readingRows(m_name->text(), m_options.options(), choices, words);
    const QString also = alsoChosenText(choices);
    m_also->setText(also);
    m_also->setVisible(!also.isEmpty());
    // Everything the reading stepped over (titles, nicknames, suffixes), or else the
    // one suffix the option buttons' reading steps over.
    const auto steppedOver = [](const names::NameReading &result) {
        if (result.filedAsSet)
            return QStringLiteral("filed as you set");
        return result.stepped.isEmpty() ? result.suffix : result.stepped;
    };
    m_table->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const ReadingRow &row = rows[static_cast<size_t>(r)];
        const QString cells[] = {(row.current ? QStringLiteral("\u25b6 ") : QString()) + row.reading,
                                 row.options,
                                 row.result.sortedUnder,
                                 row.result.then,
                                 steppedOver(row.result),
                                 row.result.particles};
        for (int c = 0; c < 6; ++c) {
            auto *item = new QTableWidgetItem(cells[c]);
            QFont font = item->font();
            font.setBold(row.current);
            item->setFont(font);
            m_table->setItem(r, c, item);
        }
    }
    m_table->resizeColumnsToContents();
}

} // namespace orvella::app

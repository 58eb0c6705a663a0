#include "app/FiledAsWindow.h"

#include "core/Desktop.h"
#include "core/ErrorReport.h"
#include "core/Failure.h"
#include "core/Procedure.h"
#include "session/ReadingSettings.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

namespace orvella::app {

namespace {
const QString kFilter = QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*|");

QPushButton *addButton(QHBoxLayout *row, QWidget *parent, const char *name, const QString &text)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setAccessibleName(QString(text).remove(QLatin1Char('&')));
    row->addWidget(button);
    return button;
}

QString cellText(const QTableWidget *table, int row, int column)
{
    const QTableWidgetItem *item = table->item(row, column);
    return item ? item->text() : QString();
}
} // namespace

FiledAsWindow::FiledAsWindow(session::ReadingSettings &reading, core::Desktop &desktop, QWidget *parent)
    : QWidget(parent, Qt::Window), m_reading(reading), m_desktop(desktop)
{
    setObjectName(QStringLiteral("FiledAsListWindow"));
    setWindowTitle(QStringLiteral("Filed-As List"));
    auto *layout = new QVBoxLayout(this);
    auto *label = new QLabel(QStringLiteral("Each name here files under the words you set, in every reading and "
                                            "order, before every other rule. The name is matched as written, "
                                            "with its spaces tidied."),
                             this);
    label->setWordWrap(true);
    m_table = new QTableWidget(0, 3, this);
    m_table->setObjectName(QStringLiteral("FiledAsTable"));
    m_table->setHorizontalHeaderLabels(
        {QStringLiteral("Name"), QStringLiteral("File under"), QStringLiteral("Then (optional)")});
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setAccessibleName(QStringLiteral("Filed-As List"));
    label->setBuddy(m_table);

    auto *edits = new QHBoxLayout;
    connect(addButton(edits, this, "FiledAsAdd", QStringLiteral("&Add")), &QPushButton::clicked, this,
            &FiledAsWindow::addRow);
    connect(addButton(edits, this, "FiledAsRemove", QStringLiteral("&Remove")), &QPushButton::clicked, this,
            &FiledAsWindow::removeSelectedRows);
    connect(addButton(edits, this, "FiledAsLoad", QStringLiteral("&Load\u2026")), &QPushButton::clicked, this,
            &FiledAsWindow::load);
    connect(addButton(edits, this, "FiledAsSaveAs", QStringLiteral("Save &As\u2026")), &QPushButton::clicked, this,
            &FiledAsWindow::saveAs);
    edits->addStretch(1);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("FiledAsButtons"));
    connect(buttons->button(QDialogButtonBox::Save), &QPushButton::clicked, this, [this] {
        save();
        close();
    });
    connect(buttons->button(QDialogButtonBox::Cancel), &QPushButton::clicked, this, &QWidget::close);
    for (QAbstractButton *button : buttons->buttons())
        button->setAccessibleName(button->text().remove(QLatin1Char('&')));
    layout->addWidget(label);
    layout->addWidget(m_table, 1);
    layout->addLayout(edits);
    layout->addWidget(buttons);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    resize(620, 420);
    showEntries(m_reading.filedAs()->entries());
}

QList<names::FiledAsEntry> FiledAsWindow::entries() const
{
    QList<names::FiledAsEntry> entries;
    for (int row = 0; row < m_table->rowCount(); ++row)
        entries.append({cellText(m_table, row, 0), cellText(m_table, row, 1), cellText(m_table, row, 2)});
    return entries;
}

void FiledAsWindow::showEntries(const QList<names::FiledAsEntry> &entries)
{
    m_table->setRowCount(int(entries.size()));
    for (int row = 0; row < int(entries.size()); ++row) {
        const names::FiledAsEntry &entry = entries[row];
        m_table->setItem(row, 0, new QTableWidgetItem(entry.name));
        m_table->setItem(row, 1, new QTableWidgetItem(entry.fileUnder));
        m_table->setItem(row, 2, new QTableWidgetItem(entry.rest));
    }
}

void FiledAsWindow::addRow()
{
    const int row = m_table->rowCount();
    m_table->insertRow(row);
    m_table->setCurrentCell(row, 0);
}

void FiledAsWindow::removeSelectedRows()
{
    QList<int> rows;
    for (const QModelIndex &index : m_table->selectionModel()->selectedIndexes())
        if (!rows.contains(index.row()))
            rows.append(index.row());
    std::sort(rows.rbegin(), rows.rend());
    for (const int row : rows)
        m_table->removeRow(row);
}

void FiledAsWindow::load()
{
    core::Procedure p(m_desktop, core::kMainWindowModule, "mnuEditFiledAs_Load");
    p.step(100, [&] {
        core::FileDialogRequest request{QStringLiteral("Load Filed-As List"), kFilter, QString()};
        const QString path = m_desktop.openFileDialog(request);
        if (path.isEmpty())
            return;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw core::Failure(file.errorString());
        showEntries(names::FiledAsList::readLines(QString::fromUtf8(file.readAll())));
    });
}

void FiledAsWindow::saveAs()
{
    core::Procedure p(m_desktop, core::kMainWindowModule, "mnuEditFiledAs_SaveAs");
    p.step(100, [&] {
        core::FileDialogRequest request{QStringLiteral("Save Filed-As List"), kFilter, QString()};
        request.confirmOverwrite = true;
        request.addFilterSuffix = true;
        const QString path = m_desktop.saveFileDialog(request);
        if (path.isEmpty())
            return;
        QFile file(path);
        const QByteArray text = (names::FiledAsList::lines(entries()) + QLatin1Char('\n')).toUtf8();
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size())
            throw core::Failure(file.errorString());
    });
}

void FiledAsWindow::save()
{
    core::Procedure p(m_desktop, core::kMainWindowModule, "mnuEditFiledAs_Save");
    p.step(100, [&] { m_reading.setFiledAs(entries()); });
}

} // namespace orvella::app

#include "support/Fixtures.h"

#include "core/Failure.h"
#include "lists/NameListModel.h"

namespace orvella::testing {

QString MemorySettings::read(const QString &key, const QString &defaultValue) const
{
    return values.value(key, defaultValue);
}

void MemorySettings::write(const QString &key, const QString &value)
{
    if (failWrites)
        throw core::Failure(QStringLiteral("The settings could not be written"));
    values.insert(key, value);
    writes << key + QLatin1Char('=') + value;
}

MainWindowFixture::MainWindowFixture()
{
    window = std::make_unique<app::MainWindow>(desktop, settings);
}

void MainWindowFixture::fillInput(const QStringList &names)
{
    for (const QString &name : names)
        window->inputList().append(name);
}

QStringList MainWindowFixture::results() const
{
    return itemsOf(window->resultList());
}

void MainWindowFixture::processEvents()
{
    QCoreApplication::processEvents();
}

QStringList itemsOf(const lists::NameListModel &list)
{
    return QStringList(list.items().begin(), list.items().end());
}

} // namespace orvella::testing

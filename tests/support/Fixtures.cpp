#include "support/Fixtures.h"

#include "lists/NameListModel.h"

namespace orvella::testing {

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

} // namespace orvella::testing

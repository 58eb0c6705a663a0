#include "app/support/WindowFixtures.h"

#include "lists/NameListModel.h"

namespace orvella::testing {

MainWindowFixture::MainWindowFixture()
{
    session = std::make_unique<session::Session>(desktop, settings);
    window = std::make_unique<app::MainWindow>(*session);
    // What the pointers showed, as the engine's fixtures record it.
    for (core::PointerState *pointer : {&session->pointer(), &session->suffixEditorPointer()})
        QObject::connect(pointer, &core::PointerState::changed,
                         [this](core::Pointer shown) { desktop.pointers.push_back(shown); });
}

void MainWindowFixture::fillInput(const QStringList &names)
{
    for (const QString &name : names)
        session->inputList().append(name);
}

QStringList MainWindowFixture::results() const
{
    return itemsOf(session->resultList());
}

void MainWindowFixture::processEvents()
{
    QCoreApplication::processEvents();
}

} // namespace orvella::testing

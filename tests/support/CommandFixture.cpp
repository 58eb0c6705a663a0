#include "support/CommandFixture.h"

#include "core/AppInfo.h"

namespace orvella::testing {

CommandFixture::CommandFixture(ScriptedDesktop *desktopDouble)
    : desktop(desktopDouble ? *desktopDouble : m_ownDesktop),
      context{desktop, settings, inputList, resultList, progress, pointer, core::applicationTitle(), {}, nullptr}
{
    QObject::connect(&pointer, &core::PointerState::changed,
                     [this](core::Pointer shown) { desktop.pointers.push_back(shown); });
}

void CommandFixture::fillInput(const QStringList &names)
{
    for (const QString &name : names)
        inputList.append(name);
}

QStringList CommandFixture::results() const
{
    return itemsOf(resultList);
}

QStringList itemsOf(const lists::NameListModel &list)
{
    return list.items();
}

} // namespace orvella::testing

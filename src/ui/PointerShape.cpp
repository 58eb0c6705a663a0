#include "ui/PointerShape.h"

#include <QCursor>
#include <QWidget>

namespace orvella::ui {

void showPointer(QWidget *window, core::Pointer pointer, const QCursor &custom)
{
    if (!window)
        return;
    switch (pointer) {
    case core::Pointer::Default:
        window->unsetCursor();
        break;
    case core::Pointer::Busy:
        window->setCursor(Qt::WaitCursor);
        break;
    case core::Pointer::Custom:
        window->setCursor(custom);
        break;
    }
}

} // namespace orvella::ui

#include "ui/HoverPointer.h"

#include "core/PointerState.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

namespace orvella::ui {

HoverPointer::HoverPointer(QWidget *window, core::PointerState &pointer)
    : QObject(window), m_window(window), m_pointer(pointer)
{
    m_areas.insert(window, core::Pointer::Default);
    QCoreApplication::instance()->installEventFilter(this);
}

std::optional<core::Pointer> HoverPointer::pointerOver(const QWidget *widget) const
{
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        const auto found = m_areas.constFind(w);
        if (found != m_areas.constEnd())
            return found.value();
        if (w == m_window || w->isWindow())
            break;
    }
    return std::nullopt;
}

void HoverPointer::mouseMovedOver(const QWidget *widget)
{
    if (m_pointer.isBusy())
        return;
    if (const std::optional<core::Pointer> pointer = pointerOver(widget))
        m_pointer.set(*pointer);
}

bool HoverPointer::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::MouseMove || !watched->isWidgetType())
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    if (widget->window() != m_window)
        return false;
    // A move that a control did not take is offered to its parents as well; only the
    // widget directly under the mouse counts.
    const auto *move = static_cast<QMouseEvent *>(event);
    if (widget->childAt(move->position().toPoint()))
        return false;
    mouseMovedOver(widget);
    return false;
}

} // namespace orvella::ui

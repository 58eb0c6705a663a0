#pragma once

#include "core/Desktop.h"

#include <QHash>
#include <QObject>
#include <optional>

class QWidget;

namespace orvella::core {
class PointerState;
} // namespace orvella::core

namespace orvella::ui {

// The window's hover rule: the hand over push buttons, the arrow over the window's
// background, its frames and its lists, no change over the other controls. While the
// pointer is busy (a long command runs) the rule leaves it alone.
//
// It watches the mouse moves of the whole application and acts on those that happen
// over its window, so that a move over a control that takes no mouse tracking of its
// own still counts.
class HoverPointer : public QObject {
    Q_OBJECT
public:
    HoverPointer(QWidget *window, core::PointerState &pointer);

    // Areas: a watched widget and everything inside it that is not watched itself.
    void setHand(QWidget *widget) { m_areas.insert(widget, core::Pointer::Custom); }
    void setArrow(QWidget *widget) { m_areas.insert(widget, core::Pointer::Default); }
    void setUnchanged(QWidget *widget) { m_areas.insert(widget, std::nullopt); }

    // The pointer for a move over this widget (the deepest one under the mouse), or
    // nothing when the widget leaves the pointer as it is.
    std::optional<core::Pointer> pointerOver(const QWidget *widget) const;

    // The rule itself: a mouse move over the widget.
    void mouseMovedOver(const QWidget *widget);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
    core::PointerState &m_pointer;
    QHash<const QWidget *, std::optional<core::Pointer>> m_areas;
};

} // namespace orvella::ui

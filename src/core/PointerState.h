#pragma once

#include "core/Desktop.h"

#include <QObject>

namespace orvella::core {

// A window's mouse pointer: default, busy (the sign that a long command runs) or
// the custom hand. Long commands set busy; removal commands and hover handlers test it.
class PointerState : public QObject {
    Q_OBJECT
public:
    explicit PointerState(QObject *parent = nullptr) : QObject(parent) {}

    Pointer pointer() const { return m_pointer; }
    bool isBusy() const { return m_pointer == Pointer::Busy; }
    // For a long command: shows the busy pointer and answers the pointer to put back
    // when the command ends. A command that starts while another one runs (from a
    // yield of the other) finds the busy pointer and keeps it, so that it never lifts
    // the other command's guard; otherwise the arrow comes back, as the hover rule
    // expects.
    Pointer setBusy()
    {
        const Pointer restore = isBusy() ? Pointer::Busy : Pointer::Default;
        set(Pointer::Busy);
        return restore;
    }

    void set(Pointer pointer)
    {
        if (pointer == m_pointer)
            return;
        m_pointer = pointer;
        emit changed(pointer);
    }

signals:
    void changed(orvella::core::Pointer pointer);

private:
    Pointer m_pointer = Pointer::Default;
};

} // namespace orvella::core

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

#pragma once

#include <QKeyEvent>
#include <QPushButton>

namespace orvella::ui {

// A push button that Return and Enter press when it has the keyboard focus, as Space
// does. A key held down presses it once.
class CommandButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            if (!event->isAutoRepeat())
                click();
            event->accept();
            return;
        }
        QPushButton::keyPressEvent(event);
    }
};

} // namespace orvella::ui

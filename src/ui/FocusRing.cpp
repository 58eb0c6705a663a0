#include "ui/FocusRing.h"

#include <QEvent>
#include <QPainter>
#include <QRegion>

namespace orvella::ui {

FocusRing::FocusRing(QWidget *window) : QWidget(window)
{
    setObjectName(QStringLiteral("FocusRing"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
    // Every control that takes the focus in any way: an option button that is not
    // selected is left out of the tab order, yet a click or an arrow key focuses it.
    const QList<QWidget *> controls = window->findChildren<QWidget *>();
    for (QWidget *control : controls) {
        if (control != this && !control->isWindow() && control->focusPolicy() != Qt::NoFocus)
            control->installEventFilter(this);
    }
}

void FocusRing::follow(QWidget *control)
{
    m_target = control;
    QWidget *container = control->parentWidget();
    if (parentWidget() != container)
        setParent(container);
    const int out = kGap + kWidth;
    setGeometry(control->geometry().adjusted(-out, -out, out, out));
    raise();
    show();
}

void FocusRing::leave()
{
    m_target = nullptr;
    hide();
}

bool FocusRing::eventFilter(QObject *watched, QEvent *event)
{
    auto *control = static_cast<QWidget *>(watched);
    switch (event->type()) {
    case QEvent::FocusIn:
        follow(control);
        break;
    case QEvent::FocusOut:
    case QEvent::Hide:
        if (control == m_target)
            leave();
        break;
    case QEvent::Move:
    case QEvent::Resize:
        if (control == m_target)
            follow(control);
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void FocusRing::resizeEvent(QResizeEvent *event)
{
    // Only the ring itself belongs to the widget; inside it the control shows through.
    setMask(QRegion(rect()).subtracted(QRegion(rect().adjusted(kWidth, kWidth, -kWidth, -kWidth))));
    QWidget::resizeEvent(event);
}

void FocusRing::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QColor colour = palette().color(QPalette::Active, QPalette::Highlight);
    const QRect r = rect();
    painter.fillRect(QRect(r.left(), r.top(), r.width(), kWidth), colour);
    painter.fillRect(QRect(r.left(), r.bottom() - kWidth + 1, r.width(), kWidth), colour);
    painter.fillRect(QRect(r.left(), r.top(), kWidth, r.height()), colour);
    painter.fillRect(QRect(r.right() - kWidth + 1, r.top(), kWidth, r.height()), colour);
}

} // namespace orvella::ui

#include "ui/WindowPlacement.h"

#include "ui/RememberedSize.h"

#include <QEvent>
#include <QKeySequence>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QWidget>
#include <algorithm>

namespace orvella::ui {
namespace {

// Places its window on the Show event, which comes before the desktop maps it.
class ScreenKeeper : public QObject {
public:
    ScreenKeeper(QWidget *window, QWidget *anchor) : QObject(window), m_window(window), m_anchor(anchor)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::Show)
            place();
        return QObject::eventFilter(watched, event);
    }

private:
    void place()
    {
        QScreen *screen = m_anchor ? m_anchor->screen() : m_window->screen();
        if (!screen)
            return;
        QSize frameExtra = m_window->frameGeometry().size() - m_window->size();
        if (frameExtra.isNull())
            frameExtra = RememberedSize::kFrameAllowance;
        QRect frame(m_window->pos(), m_window->size() + frameExtra);
        if (m_anchor && !m_placedOnce)
            frame.moveCenter(m_anchor->frameGeometry().center());
        // A window without anchor that nobody has placed yet is left for the desktop to
        // place (it places a window that fits on the screen); only its size is kept
        // within the screen.
        const bool desktopPlaces = !m_anchor && !m_placedOnce && !m_window->testAttribute(Qt::WA_Moved);
        m_placedOnce = true;
        const QRect placed = placedWithin(frame, screen->availableGeometry());
        if (placed.size() != frame.size())
            m_window->resize(placed.size() - frameExtra);
        if (!desktopPlaces && placed.topLeft() != m_window->pos())
            m_window->move(placed.topLeft());
    }

    QWidget *m_window;
    QPointer<QWidget> m_anchor;
    bool m_placedOnce = false;
};

} // namespace

QRect placedWithin(QRect frame, QRect available)
{
    if (available.isEmpty())
        return frame;
    frame.setSize(frame.size().boundedTo(available.size()));
    const int left = std::clamp(frame.left(), available.left(), available.right() + 1 - frame.width());
    const int top = std::clamp(frame.top(), available.top(), available.bottom() + 1 - frame.height());
    frame.moveTopLeft(QPoint(left, top));
    return frame;
}

void keepOnScreen(QWidget *window, QWidget *anchor)
{
    new ScreenKeeper(window, anchor);
}

void closeOnEscape(QWidget *window)
{
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    QObject::connect(escape, &QShortcut::activated, window, &QWidget::close);
}

} // namespace orvella::ui

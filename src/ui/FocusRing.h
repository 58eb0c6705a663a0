#pragma once

#include <QPointer>
#include <QWidget>

namespace orvella::ui {

// A ring around whichever control of a window has the keyboard focus, kWidth pixels
// wide and kGap pixels outside the control's edge, in the palette's highlight colour.
// The window draws it itself, over the control's container, so it looks the same in
// the plain and the skinned look and whatever the control's own style draws. The
// mouse goes through it to what lies below.
class FocusRing : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 2;
    static constexpr int kGap = 1;

    // Watches every control of the window that can take the focus (built before this).
    explicit FocusRing(QWidget *window);

    // The control the ring is around, or nullptr while it is hidden.
    QWidget *target() const { return m_target; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void follow(QWidget *control);
    void leave();

    QPointer<QWidget> m_target;
};

} // namespace orvella::ui

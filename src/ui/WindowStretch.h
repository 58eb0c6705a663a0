#pragma once

#include "ui/ControlTable.h"

#include <QList>
#include <QObject>
#include <QRect>
#include <QSize>
#include <optional>
#include <span>

class QWidget;

namespace orvella::ui {

// How a window built from a control table follows the size of its client area.
//
// At the designed size every control stands exactly where its table puts it. In a
// wider client area every control scales with the width, so the columns keep their
// proportions. In a taller one the lists of the window itself take the extra height,
// and whatever lies below a list in its column moves down with it; buttons, frames
// and everything else keep their heights. A client area smaller than designed (a
// screen too small for the design) shows the whole design zoomed down, fonts
// included, by the factor that makes it fit; what is left over in the other
// direction goes to the lists and the width as above.

// The zoom for a client area: 1, or less when the area is smaller than designed in
// either direction.
double zoomFor(QSize designed, QSize client);

// The controls' places in pixels, each within its container, in table order.
// designed is the client area's designed size in pixels.
QList<QRect> stretchedRects(std::span<const ControlLayout> table, QSize designed, QSize client);

// The client size a window opens at when room is what the screen leaves for its
// client area: the designed size when it fits, else the design zoomed down until it
// fits, but never below half its size (text would be unreadable; a smaller screen
// gets a window that runs off it).
QSize fittingClientSize(QSize designed, QSize room);

// The client size a window opens at: the stored one when there is one, kept within
// the room and no smaller than the fitting size; else the fitting size.
QSize openingClientSize(QSize designed, QSize room, std::optional<QSize> stored);

// The width a control needs to show its whole caption in its present font: a push
// button's text with the style's margins, a check box's or option button's box, spacing
// and text, a frame's title with its indent; 0 for a control without a caption to fit.
int captionWidthNeeded(const QWidget *control);

// Sets the control's font smaller, a quarter point at a time, until its caption fits
// the width (but not below 60 % of the size it had): the text's real width in the
// font the system found for it, which can run wider than the design's, or wider
// than a plain scaling would say once the zoomed size is rounded to whole pixels.
void fitCaption(QWidget *control, int width);

// Keeps the controls of a table where the rule above puts them whenever their client
// area changes size, with their fonts zoomed likewise and each caption fitted to its
// control (see fitCaption).
class StretchedControls : public QObject {
    Q_OBJECT
public:
    // designed: the client area's designed size in pixels.
    StretchedControls(QWidget *client, std::span<const ControlLayout> table, QSize designed);

    // Places every control for the client area's present size.
    void apply();
    double zoom() const { return m_zoom; }

signals:
    // The controls have been placed again.
    void placed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_client;
    std::span<const ControlLayout> m_table;
    QSize m_designed;
    QList<QWidget *> m_controls; // in table order
    double m_zoom = 0; // none applied yet
};

} // namespace orvella::ui

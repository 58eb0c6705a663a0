#pragma once

#include <QList>
#include <QStringList>

class QWidget;

namespace orvella::testing {

// What a user notices of a window's layout, checked on the widgets as they are: no
// copy of the layout table that built them.

// The controls laid out on an area of a window: its visible children and, within the
// frames among them, theirs (not the parts a control is made of, nor the focus ring).
QList<QWidget *> laidOutControls(QWidget *area);

// Pairs of controls ("A/B") of which one covers a part of what the other shows (a
// label's text, a check box's box and caption, any other control whole); a frame and
// what it holds do not count.
QStringList overlappingControls(QWidget *area);
// Controls that reach outside the area or the frame that holds them.
QStringList controlsOutside(QWidget *area);
// Controls whose caption does not show whole in their own font: a button's or a
// frame's text, a check box or option button with its box, a label.
QStringList captionsCutOff(QWidget *area);

// The tip shown while the mouse rests on the middle of a control (for a list, on its
// own area, which may hold no row), or nothing when none shows.
QString hoverTip(QWidget *control);

// Gives the focus to the first control Tab reaches in the window (shown and active),
// then presses Tab until the focus comes back to a control it has been on: the
// controls in the order they took the focus.
QList<QWidget *> tabWalk(QWidget *window);
// The controls of the area that Tab should reach: visible, enabled, taking the focus
// by Tab.
QList<QWidget *> tabStops(QWidget *area);

} // namespace orvella::testing

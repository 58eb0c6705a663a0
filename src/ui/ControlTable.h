#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <span>

namespace orvella::ui {

// What a control is; the builder makes the matching Qt widget.
enum class ControlKind { PushButton, CheckBox, OptionButton, TextBox, Label, Frame, ProgressBar, List };

// The windows' two fonts: Arial bold at 9 pt, and at 11.25 pt for push buttons.
enum class ControlFont { Small, Large };

// One control of a window as designed: its name (the widget's objectName), kind, caption
// (nullptr: none), container (nullptr: the window itself), place in twips within that
// container, and font.
struct ControlLayout {
    const char *name;
    ControlKind kind;
    const char *caption;
    const char *parent;
    int left, top, width, height;
    ControlFont font;
};

// Makes a window's list control: the list views and their models live above this layer.
using ListMaker = std::function<QWidget *(const ControlLayout &control, QWidget *container)>;

// Builds a table's controls on the window in table order (a container comes before what
// it holds): each named, captioned, placed and given its font; a caption is also the
// control's accessible name (but for a text box's). The tab order follows the
// table; frames and labels take no focus and stay out of it.
void buildControls(QWidget *window, std::span<const ControlLayout> table, const ListMaker &makeList);

// A control built from a table, found by its name. A missing one is a fault in the table.
template<typename Control>
Control *controlNamed(const QWidget *window, const char *name)
{
    auto *control = window->findChild<Control *>(QString::fromLatin1(name));
    if (!control)
        qFatal("The window has no control named %s", name);
    return control;
}

} // namespace orvella::ui

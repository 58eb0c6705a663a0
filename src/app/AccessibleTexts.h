#pragma once

#include <span>

class QLabel;
class QWidget;

namespace orvella::app {

// What a screen reader says about a control built from a layout table: its accessible
// name (nullptr: the caption, which the table builder already made its name) and a
// description of what it does.
struct AccessibleText {
    const char *control;
    const char *name;
    const char *description;
};

std::span<const AccessibleText> mainWindowAccessibleTexts();
std::span<const AccessibleText> suffixEditorAccessibleTexts();
std::span<const AccessibleText> nameColumnsAccessibleTexts();

// Gives the window's named controls their accessible names and descriptions.
void describeControls(QWidget *window, std::span<const AccessibleText> texts);

// Makes the label read as a status bar whose name is its text (a screen reader hears
// the counts and each change of them). Call before the label is first shown.
void readAsStatusLine(QLabel *label);

} // namespace orvella::app

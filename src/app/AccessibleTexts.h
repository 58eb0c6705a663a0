#pragma once

#include <span>

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

} // namespace orvella::app

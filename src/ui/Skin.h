#pragma once

#include <QString>

class QWidget;

namespace orvella::ui {

// The optional skin in the program folder: a Qt style sheet at "x/o.cjs".
QString skinFilePath(const QString &programFolder);

// True when the skin file is an existing regular file (a folder of that name does not
// count, nor does a hidden file).
bool skinFileExists(const QString &path);

// The style sheet text of a skin file. Throws a Failure when the file cannot be read
// or is not text.
QString readSkinFile(const QString &path);

// Gives the window and every option button, check box, frame and label on it the
// desktop's colour for the face of buttons and dialogs.
void WindowColourSetUp(QWidget *window);

// The main window's look at start-up: nothing when there is no skin file (the design
// look stays); otherwise the button-face colours, then the skin's style sheet applied
// to the window. Throws a Failure when the skin cannot be loaded; the colours set
// before that stay.
void SkinSetUp(QWidget *window, const QString &programFolder);

} // namespace orvella::ui

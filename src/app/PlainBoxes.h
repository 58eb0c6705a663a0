#pragma once

#include <QInputDialog>
#include <QMessageBox>

class QLabel;

namespace orvella::app {

// The message box as the program shows it: a style number's buttons and icon, and a
// text shown exactly as written. The text is plain text, never markup, so a file
// named "a<b>bold.txt" reads as such; and each of its lines stays whole, the box
// growing as wide as its longest line (up to the width of the screen) instead of
// breaking a line in the middle of an address or a path.
class PlainMessageBox : public QMessageBox {
    Q_OBJECT
public:
    PlainMessageBox(const QString &text, int style, const QString &title, QWidget *parent = nullptr);

    // The answer (MessageAnswer) for what exec() returned.
    int answer(int pressed) const;
    QLabel *textLabel() const;

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // Qt's box wraps a line that is wider than half the screen; undo that.
    void keepLinesWhole();

    int m_style;
};

// The input box: a prompt shown as plain text, a title and a default answer of any
// length.
class PlainInputBox : public QInputDialog {
    Q_OBJECT
public:
    PlainInputBox(const QString &prompt, const QString &title, const QString &defaultText, QWidget *parent = nullptr);

    QLabel *promptLabel() const;
};

} // namespace orvella::app

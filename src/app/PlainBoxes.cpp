#include "app/PlainBoxes.h"

#include "core/Desktop.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QScreen>

#include <algorithm>
#include <limits>

namespace orvella::app {

using namespace orvella::core;

PlainMessageBox::PlainMessageBox(const QString &text, int style, const QString &title, QWidget *parent)
    : QMessageBox(parent), m_style(style)
{
    setWindowTitle(title);
    setTextFormat(Qt::PlainText);
    setText(text);
    if (style == MessageStyle::YesNo) {
        setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        setDefaultButton(QMessageBox::Yes);
    } else {
        setStandardButtons(QMessageBox::Ok);
    }
    if (style == MessageStyle::Exclamation)
        setIcon(QMessageBox::Warning);
}

int PlainMessageBox::answer(int pressed) const
{
    if (m_style == MessageStyle::YesNo)
        return pressed == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    return MessageAnswer::Ok;
}

QLabel *PlainMessageBox::textLabel() const
{
    return findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
}

bool PlainMessageBox::event(QEvent *event)
{
    // QMessageBox sizes itself again on every layout request.
    const bool handled = QMessageBox::event(event);
    if (event->type() == QEvent::LayoutRequest)
        keepLinesWhole();
    return handled;
}

void PlainMessageBox::showEvent(QShowEvent *event)
{
    QMessageBox::showEvent(event);
    keepLinesWhole();
}

void PlainMessageBox::keepLinesWhole()
{
    QLabel *label = textLabel();
    if (!label || !label->wordWrap() || !layout())
        return;
    label->setWordWrap(false);
    layout()->activate();
    const QSize whole = layout()->totalMinimumSize();
    const int screenWidth = screen() ? screen()->availableGeometry().width() : whole.width();
    if (whole.width() > screenWidth) {
        // A line wider than the screen cannot be shown whole; Qt's own sizing wraps it
        // so that all of it can be read.
        label->setWordWrap(true);
        QEvent relayout(QEvent::LayoutRequest);
        QMessageBox::event(&relayout);
        return;
    }
    setFixedSize(std::max(width(), whole.width()), whole.height());
    // The resize asks for one more layout pass, which would wrap the text again.
    QCoreApplication::removePostedEvents(this, QEvent::LayoutRequest);
}

PlainInputBox::PlainInputBox(const QString &prompt, const QString &title, const QString &defaultText,
                             QWidget *parent)
    : QInputDialog(parent)
{
    setWindowTitle(title);
    setLabelText(prompt);
    if (QLabel *label = promptLabel())
        label->setTextFormat(Qt::PlainText);
    setTextEchoMode(QLineEdit::Normal);
    // A line edit keeps 32,767 characters unless told otherwise: editing a longer entry
    // would cut it when the box is accepted.
    if (auto *field = findChild<QLineEdit *>())
        field->setMaxLength(std::numeric_limits<int>::max());
    setTextValue(defaultText);
}

QLabel *PlainInputBox::promptLabel() const
{
    return findChild<QLabel *>();
}

} // namespace orvella::app

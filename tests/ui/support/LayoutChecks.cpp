#include "ui/support/LayoutChecks.h"

#include "ui/Mnemonics.h"

#include <algorithm>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTest>
#include <QToolTip>
#include <QWidget>

namespace orvella::testing {
namespace {

QString nameOf(const QWidget *widget)
{
    return widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                          : widget->objectName();
}

// A control's place in its window's coordinates.
QRect placeOf(const QWidget *widget)
{
    return QRect(widget->mapTo(widget->window(), QPoint(0, 0)), widget->size());
}

// What a control shows, in its window's coordinates: a label's text, a check box's or
// option button's box with its caption, anything else all of it.
QRect shownPlaceOf(const QWidget *widget)
{
    QRect shown = widget->rect();
    if (auto *label = qobject_cast<const QLabel *>(widget))
        shown = label->style()->itemTextRect(label->fontMetrics(), label->contentsRect(), int(label->alignment()),
                                             true, label->text());
    else if (qobject_cast<const QCheckBox *>(widget) || qobject_cast<const QRadioButton *>(widget))
        shown.setWidth(std::min(widget->width(), widget->sizeHint().width()));
    return shown.translated(widget->mapTo(widget->window(), QPoint(0, 0)));
}

void gather(QWidget *container, QList<QWidget *> &controls)
{
    for (QWidget *child : container->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child->isHidden() || child->isWindow() || child->testAttribute(Qt::WA_TransparentForMouseEvents))
            continue;
        controls.append(child);
        if (qobject_cast<QGroupBox *>(child))
            gather(child, controls);
    }
}

// The width a control's caption needs to show whole, or 0 for a control without one.
int captionWidth(QWidget *control)
{
    const QFontMetrics metrics(control->font());
    if (auto *button = qobject_cast<QPushButton *>(control))
        return metrics.horizontalAdvance(ui::shownCaption(button->text()));
    if (qobject_cast<QCheckBox *>(control) || qobject_cast<QRadioButton *>(control))
        return control->sizeHint().width(); // the box or circle and the text beside it
    if (auto *frame = qobject_cast<QGroupBox *>(control))
        return metrics.horizontalAdvance(frame->title());
    if (auto *label = qobject_cast<QLabel *>(control))
        return metrics.horizontalAdvance(label->text());
    return 0;
}

} // namespace

QList<QWidget *> laidOutControls(QWidget *area)
{
    QList<QWidget *> controls;
    gather(area, controls);
    return controls;
}

QStringList overlappingControls(QWidget *area)
{
    const QList<QWidget *> controls = laidOutControls(area);
    QStringList pairs;
    for (qsizetype i = 0; i < controls.size(); ++i) {
        for (qsizetype j = i + 1; j < controls.size(); ++j) {
            QWidget *a = controls[i], *b = controls[j];
            if (a->isAncestorOf(b) || b->isAncestorOf(a))
                continue;
            if (shownPlaceOf(a).intersects(shownPlaceOf(b)))
                pairs << nameOf(a) + QLatin1Char('/') + nameOf(b);
        }
    }
    return pairs;
}

QStringList controlsOutside(QWidget *area)
{
    QStringList outside;
    for (QWidget *control : laidOutControls(area)) {
        if (!control->parentWidget()->rect().contains(control->geometry()))
            outside << nameOf(control);
    }
    return outside;
}

QStringList captionsCutOff(QWidget *area)
{
    QStringList cut;
    for (QWidget *control : laidOutControls(area)) {
        if (captionWidth(control) > control->width())
            cut << QStringLiteral("%1 at %2 pt").arg(nameOf(control)).arg(control->font().pointSizeF());
    }
    return cut;
}

QString hoverTip(QWidget *control)
{
    auto *view = qobject_cast<QAbstractScrollArea *>(control);
    QWidget *under = view ? view->viewport() : control;
    const QPoint at = under->rect().center();
    QHelpEvent hover(QEvent::ToolTip, at, under->mapToGlobal(at));
    QApplication::sendEvent(under, &hover);
    const QString tip = QToolTip::isVisible() ? QToolTip::text() : QString();
    QToolTip::hideText();
    return tip;
}

QList<QWidget *> tabWalk(QWidget *window)
{
    QList<QWidget *> walk;
    window->setFocus(Qt::TabFocusReason);
    QWidget *first = window->nextInFocusChain();
    while (first != window && !(first->isVisible() && first->isEnabled() && (first->focusPolicy() & Qt::TabFocus)))
        first = first->nextInFocusChain();
    first->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    while (QWidget *focused = QApplication::focusWidget()) {
        if (walk.contains(focused))
            break;
        walk.append(focused);
        QTest::keyClick(focused, Qt::Key_Tab);
    }
    return walk;
}

QList<QWidget *> tabStops(QWidget *area)
{
    QList<QWidget *> stops;
    for (QWidget *control : laidOutControls(area)) {
        if (control->isEnabled() && control->isVisible() && (control->focusPolicy() & Qt::TabFocus))
            stops.append(control);
    }
    return stops;
}

} // namespace orvella::testing

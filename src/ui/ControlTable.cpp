#include "ui/ControlTable.h"

#include "ui/CommandButton.h"
#include "ui/PlainProgressBar.h"
#include "ui/WindowLayout.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace orvella::ui {
namespace {

QWidget *makeControl(const ControlLayout &control, QWidget *container, const ListMaker &makeList)
{
    const QString caption = QString::fromUtf8(control.caption ? control.caption : "");
    switch (control.kind) {
    case ControlKind::PushButton:
        return new CommandButton(caption, container);
    case ControlKind::CheckBox:
        return new QCheckBox(caption, container);
    case ControlKind::OptionButton:
        return new QRadioButton(caption, container);
    case ControlKind::TextBox:
        return new QLineEdit(caption, container);
    case ControlKind::Label:
        return new QLabel(caption, container);
    case ControlKind::Frame:
        return new QGroupBox(caption, container);
    case ControlKind::ProgressBar:
        return new PlainProgressBar(container);
    case ControlKind::List:
        return makeList(control, container);
    }
    return nullptr;
}

bool takesFocus(ControlKind kind)
{
    return kind != ControlKind::Frame && kind != ControlKind::Label;
}

} // namespace

void buildControls(QWidget *window, std::span<const ControlLayout> table, const ListMaker &makeList)
{
    QHash<QString, QWidget *> built;
    QList<QWidget *> tabOrder;
    for (const ControlLayout &control : table) {
        QWidget *container = control.parent ? built.value(QString::fromLatin1(control.parent)) : window;
        if (!container)
            qFatal("The container of %s must come before it in its table", control.name);
        QWidget *widget = makeControl(control, container, makeList);
        widget->setObjectName(QString::fromLatin1(control.name));
        place(widget, control.left, control.top, control.width, control.height);
        widget->setFont(arialBold(control.font == ControlFont::Large ? 11.25 : 9));
        // A caption names its control for screen readers too (a text box's caption is
        // only its first text).
        if (control.caption && control.kind != ControlKind::TextBox)
            widget->setAccessibleName(QString::fromUtf8(control.caption).trimmed());
        built.insert(widget->objectName(), widget);
        if (takesFocus(control.kind))
            tabOrder.append(widget);
    }
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

} // namespace orvella::ui

#pragma once

#include "ui/Twips.h"

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>
#include <QWidget>

namespace orvella::ui {

// Arial bold at a point size: 9 pt for lists, frames and option controls, 11.25 pt
// for push buttons. fontconfig offers Liberation Sans, Arial's metric twin, for it.
inline QFont arialBold(double points)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

// Puts a control at its designed place, given in twips within its container.
template<typename Widget>
Widget *place(Widget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(twipsRect(left, top, width, height));
    return widget;
}

// Fills a widget's background with a colour of its own.
inline void setBackgroundColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace orvella::ui

#pragma once

#include "ui/ControlTable.h"

#include <QString>
#include <QStringList>
#include <span>

class QWidget;

namespace orvella::ui {

// Captions given an Alt+letter access key each, marked with "&" before its letter:
// first every caption, in order, takes the first letter of one of its words that no
// caption before it took and that is not reserved; then each caption left without one
// takes the first free letter anywhere in it; a caption with no free letter stays
// without a key. Letters count regardless of case; a "&" already in a caption is
// doubled so that it shows as itself.
QStringList withMnemonics(const QStringList &captions, const QString &reserved);

// The text a caption with access keys shows: without the marks.
QString shownCaption(const QString &caption);

// Gives the push buttons of a window built from the table their access keys, in table
// order, leaving the reserved letters (those of the window's menu bar) alone.
void giveMnemonics(QWidget *window, std::span<const ControlLayout> table, const QString &reserved);

} // namespace orvella::ui

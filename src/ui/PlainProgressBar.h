#pragma once

#include <QProgressBar>

namespace orvella::ui {

// A progress bar that shows its text as it is. QProgressBar reads its format as a
// pattern, putting numbers in place of "%p", "%v" and "%m" (with no way to write a
// plain "%p"), so a name or a file name holding them would show numbers instead.
class PlainProgressBar : public QProgressBar {
    Q_OBJECT
public:
    using QProgressBar::QProgressBar;

    QString text() const override { return format(); }
};

} // namespace orvella::ui

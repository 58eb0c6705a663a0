#pragma once

#include "names/NameReading.h"

#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;
class QTableWidget;

namespace orvella::session {
class OptionSettings;
} // namespace orvella::session

namespace orvella::app {

using session::OptionSettings;

// "How Names Are Read": type or paste a name and see, as you type, what it is filed
// under in each reading, with what it stepped over and the particles it took along. The
// row of the main window's current choices is marked; a line below the table names the
// choices that apply to every row.
class HowNamesWindow : public QWidget {
    Q_OBJECT
public:
    HowNamesWindow(const OptionSettings &options, names::SuffixTest isSuffix, QWidget *parent = nullptr);

    // Reads the field again (the choices or the lists may have changed).
    void refresh();

private:
    const OptionSettings &m_options;
    names::SuffixTest m_isSuffix;
    QLineEdit *m_name = nullptr;
    QTableWidget *m_table = nullptr;
    QLabel *m_also = nullptr;
};

} // namespace orvella::app

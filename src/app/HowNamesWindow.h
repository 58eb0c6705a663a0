#pragma once

#include "sorting/NameReading.h"

#include <QWidget>
#include <functional>

class QLineEdit;
class QTableWidget;

namespace orvella::session {
class OptionSettings;
}

namespace orvella::app {

using session::OptionSettings;

// "How Names Are Read": type or paste a name and see, as you type, what it is filed
// under in each reading, with the suffix and the particles it stepped over. The row of
// the main window's current choices is marked.
class HowNamesWindow : public QWidget {
    Q_OBJECT
public:
    HowNamesWindow(const OptionSettings &options, sorting::SuffixTest isSuffix, QWidget *parent = nullptr);

    // Reads the field again (the choices or the lists may have changed).
    void refresh();

private:
    const OptionSettings &m_options;
    sorting::SuffixTest m_isSuffix;
    QLineEdit *m_name = nullptr;
    QTableWidget *m_table = nullptr;
};

} // namespace orvella::app

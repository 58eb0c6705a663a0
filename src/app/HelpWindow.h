#pragma once

#include <QWidget>

class QTextBrowser;

namespace orvella::core {
class Desktop;
} // namespace orvella::core

namespace orvella::app {

// "Orvella Help": the user guide, an HTML page bundled in the program's resources and
// readable offline. Links within the guide move through it; a web address opens with
// the desktop's browser. Escape closes the window.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    HelpWindow(core::Desktop &desktop, QWidget *parent = nullptr);

    // The guide as bundled (also installed as the package's documentation).
    static const char *const kGuideUrl;

private:
    core::Desktop &m_desktop;
    QTextBrowser *m_text = nullptr;
};

} // namespace orvella::app

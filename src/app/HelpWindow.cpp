#include "app/HelpWindow.h"

#include "core/Desktop.h"
#include "ui/WindowPlacement.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace orvella::app {

const char *const HelpWindow::kGuideUrl = "qrc:/orvella/help.html";

HelpWindow::HelpWindow(core::Desktop &desktop, QWidget *parent) : QWidget(parent, Qt::Window), m_desktop(desktop)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Orvella Help"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_text = new QTextBrowser(this);
    m_text->setObjectName(QStringLiteral("HelpText"));
    m_text->setAccessibleName(QStringLiteral("Orvella Help"));
    m_text->setAccessibleDescription(QStringLiteral("The user guide: the buttons and choices, how names are read, "
                                                    "files, the keyboard and where settings live"));
    // The browser would try to load a web address as a page of its own: those go to
    // the desktop, the guide's own links stay here.
    m_text->setOpenLinks(false);
    connect(m_text, &QTextBrowser::anchorClicked, this, [this](const QUrl &url) {
        if (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https")
            || url.scheme() == QLatin1String("mailto"))
            m_desktop.openUrl(url.toString());
        else
            m_text->setSource(m_text->source().resolved(url));
    });
    m_text->setSource(QUrl(QLatin1String(kGuideUrl)));
    layout->addWidget(m_text);
    ui::closeOnEscape(this);
    resize(680, 620);
}

} // namespace orvella::app

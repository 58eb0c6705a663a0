#include "app/ParticleListWindow.h"

#include "session/ReadingSettings.h"
#include "core/ErrorReport.h"
#include "core/Procedure.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace orvella::app {

using namespace orvella::session;

ParticleListWindow::ParticleListWindow(ReadingSettings &reading, core::Desktop &desktop, QWidget *parent)
    : QWidget(parent, Qt::Window), m_reading(reading), m_desktop(desktop)
{
    setObjectName(QStringLiteral("ParticleListWindow"));
    setWindowTitle(QStringLiteral("Particle List"));
    auto *layout = new QVBoxLayout(this);
    auto *label = new QLabel(QStringLiteral("One particle per line. With \u201cKeep particles with the last name\u201d, "
                                            "a last name takes along the particles directly before it "
                                            "(\u201cvan Beethoven\u201d). Letter case does not matter."),
                             this);
    label->setWordWrap(true);
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("ParticleText"));
    m_text->setTabChangesFocus(true);
    label->setBuddy(m_text);
    auto *buttons = new QDialogButtonBox(
        QDialogButtonBox::Save | QDialogButtonBox::Cancel | QDialogButtonBox::RestoreDefaults, this);
    buttons->setObjectName(QStringLiteral("ParticleButtons"));
    connect(buttons->button(QDialogButtonBox::Save), &QPushButton::clicked, this, [this] {
        save();
        close();
    });
    connect(buttons->button(QDialogButtonBox::Cancel), &QPushButton::clicked, this, &QWidget::close);
    connect(buttons->button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this,
            [this] { m_text->setPlainText(sorting::defaultParticles().join(QLatin1Char('\n'))); });
    layout->addWidget(label);
    layout->addWidget(m_text, 1);
    layout->addWidget(buttons);
    m_text->setAccessibleName(QStringLiteral("Particle list"));
    m_text->setAccessibleDescription(QStringLiteral("One particle per line"));
    for (QAbstractButton *button : buttons->buttons())
        button->setAccessibleName(button->text().remove(QLatin1Char('&')));
    // Escape does what Cancel does.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    resize(360, 420);
    reload();
}

void ParticleListWindow::reload()
{
    m_text->setPlainText(m_reading.particles().words().join(QLatin1Char('\n')));
}

void ParticleListWindow::save()
{
    core::Procedure p(m_desktop, core::kMainWindowModule, "mnuEditParticles_Save");
    // One particle a line; the settings split at any white space and drop repeats.
    p.step(100, [&] { m_reading.setParticles(m_text->toPlainText().split(QLatin1Char('\n'))); });
}

} // namespace orvella::app

#include "app/WordListWindow.h"

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

WordList particleList(ReadingSettings &reading)
{
    return {QStringLiteral("ParticleListWindow"),
            QStringLiteral("Particle List"),
            QStringLiteral("One particle per line. With \u201cKeep particles with the last name\u201d, "
                           "a last name takes along the particles directly before it "
                           "(\u201cvan Beethoven\u201d). Letter case does not matter."),
            QStringLiteral("ParticleText"),
            "mnuEditParticles_Save",
            [&reading] { return reading.particles().words(); },
            [] { return names::defaultParticles(); },
            [&reading](const QStringList &words) { reading.setParticles(words); }};
}

WordList titleList(ReadingSettings &reading)
{
    return {QStringLiteral("TitleListWindow"),
            QStringLiteral("Title List"),
            QStringLiteral("One title per line. With \u201cStep over titles, nicknames and extra suffixes\u201d, "
                           "these words are stepped over at the start of a name (\u201cDr. Ann Lee\u201d). "
                           "A title matches with or without its closing period; letter case does not matter."),
            QStringLiteral("TitleText"),
            "mnuEditTitles_Save",
            [&reading] { return reading.titles().words(); },
            [] { return names::defaultTitles(); },
            [&reading](const QStringList &words) { reading.setTitles(words); }};
}

WordList designationList(ReadingSettings &reading)
{
    return {QStringLiteral("DesignationListWindow"),
            QStringLiteral("Designation List"),
            QStringLiteral("One designation or phrase per line. With \u201cStep over titles, nicknames and extra "
                           "suffixes\u201d, these are stepped over after a name (\u201cAnn Lee, CPA\u201d, "
                           "\u201cJohn Roe, attorney at law\u201d). Periods do not matter; an entry without "
                           "capitals matches in any letter case, any other as written or in capitals."),
            QStringLiteral("DesignationText"),
            "mnuEditDesignations_Save",
            [&reading] { return reading.designations()->entries(); },
            [] { return names::defaultDesignations(); },
            [&reading](const QStringList &entries) { reading.setDesignations(entries); }};
}

WordList nicknameList(ReadingSettings &reading)
{
    return {QStringLiteral("NicknameListWindow"),
            QStringLiteral("Nickname List"),
            QStringLiteral("One pair per line: a nickname, a space, the full name (\u201cBob Robert\u201d). "
                           "Find Likely Duplicates groups names whose given names are such a pair. Letter "
                           "case and accents do not matter."),
            QStringLiteral("NicknameText"),
            "mnuEditNicknames_Save",
            [&reading] { return reading.nicknames()->entries(); },
            [] { return names::defaultNicknames(); },
            [&reading](const QStringList &lines) { reading.setNicknames(lines); }};
}

WordListWindow::WordListWindow(WordList list, core::Desktop &desktop, QWidget *parent)
    : QWidget(parent, Qt::Window), m_list(std::move(list)), m_desktop(desktop)
{
    setObjectName(m_list.windowName);
    setWindowTitle(m_list.title);
    auto *layout = new QVBoxLayout(this);
    auto *label = new QLabel(m_list.explanation, this);
    label->setWordWrap(true);
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(m_list.textName);
    m_text->setTabChangesFocus(true);
    label->setBuddy(m_text);
    auto *buttons = new QDialogButtonBox(
        QDialogButtonBox::Save | QDialogButtonBox::Cancel | QDialogButtonBox::RestoreDefaults, this);
    buttons->setObjectName(QStringLiteral("WordListButtons"));
    connect(buttons->button(QDialogButtonBox::Save), &QPushButton::clicked, this, [this] {
        save();
        close();
    });
    connect(buttons->button(QDialogButtonBox::Cancel), &QPushButton::clicked, this, &QWidget::close);
    connect(buttons->button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this,
            [this] { m_text->setPlainText(m_list.defaults().join(QLatin1Char('\n'))); });
    layout->addWidget(label);
    layout->addWidget(m_text, 1);
    layout->addWidget(buttons);
    m_text->setAccessibleName(m_list.title);
    m_text->setAccessibleDescription(QStringLiteral("One word per line"));
    for (QAbstractButton *button : buttons->buttons())
        button->setAccessibleName(button->text().remove(QLatin1Char('&')));
    // Escape does what Cancel does.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    resize(360, 420);
    reload();
}

void WordListWindow::reload()
{
    m_text->setPlainText(m_list.words().join(QLatin1Char('\n')));
}

void WordListWindow::save()
{
    core::Procedure p(m_desktop, core::kMainWindowModule, m_list.saveProcedure);
    // One word a line; the settings split at any white space and drop repeats.
    p.step(100, [&] { m_list.store(m_text->toPlainText().split(QLatin1Char('\n'))); });
}

} // namespace orvella::app

#include "app/SuffixEditor.h"

#include "app/AccessibleTexts.h"

#include "core/AppInfo.h"
#include "ui/ControlTable.h"
#include "ui/CursorFile.h"
#include "core/Desktop.h"
#include "core/ErrorReport.h"
#include "ui/FocusRing.h"
#include "ui/HoverPointer.h"
#include "commands/CommandContext.h"
#include "ui/Mnemonics.h"
#include "core/Paths.h"
#include "core/Procedure.h"
#include "session/Session.h"
#include "ui/RememberedSize.h"
#include "ui/Skin.h"
#include "ui/Twips.h"
#include "ui/WindowLayout.h"
#include "ui/WindowPlacement.h"
#include "ui/WindowStretch.h"
#include "commands/ListCommands.h"
#include "ui/NameListView.h"
#include "ui/PointerShape.h"
#include "app/SuffixEditorLayout.h"
#include "suffixes/SuffixStore.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include <algorithm>

namespace orvella::app {

using namespace orvella::session;
using namespace orvella::ui;
namespace {

const QString kListTooltip = QStringLiteral("Drag and drop files here. Double-click item to remove it. Move | line "
                                            "to right and out of window to reveal full names.");


} // namespace

using ui::arialBold;
using ui::controlNamed;

SuffixEditor::SuffixEditor(session::Session &session, QWidget *mainWindow)
    : QWidget(nullptr),
      m_session(session),
      m_mainWindow(mainWindow),
      m_list(session.heldSuffixList()),
      m_pointer(session.suffixEditorPointer()),
      m_commands(session.suffixEditorCommands())
{
    setWindowTitle(QStringLiteral("Suffix List"));
    buildControls();
    wireCommands();
}

SuffixEditor::~SuffixEditor() = default;

void SuffixEditor::buildControls()
{
    // Opens at its designed size and can be made larger; the controls follow its size.
    setMinimumSize(designedSize());
    resize(designedSize());
    setFont(arialBold(9));

    ui::buildControls(this, suffixEditorControls(), [this](const ui::ControlLayout &, QWidget *container) {
        return new ui::NameListView(&m_list.model(), container);
    });
    auto *stretch = new ui::StretchedControls(this, suffixEditorControls(), designedSize());
    ui::giveMnemonics(this, suffixEditorControls(), QString());
    new ui::FocusRing(this);
    m_size = new ui::RememberedSize(this, m_session.settings(), QStringLiteral("SuffixListWindowSize"));
    ui::closeOnEscape(this);
    ui::keepOnScreen(this, m_mainWindow);
    ListView1 = controlNamed<ui::NameListView>(this, "ListView1");
    Label3 = controlNamed<QLabel>(this, "Label3");
    Label4 = controlNamed<QLabel>(this, "Label4");
    PushButton6 = controlNamed<QPushButton>(this, "PushButton6");
    PushButton1 = controlNamed<QPushButton>(this, "PushButton1");
    PushButton3 = controlNamed<QPushButton>(this, "PushButton3");
    PushButton5 = controlNamed<QPushButton>(this, "PushButton5");
    PushButton4 = controlNamed<QPushButton>(this, "PushButton4");
    PushButton8 = controlNamed<QPushButton>(this, "PushButton8");
    PushButton7 = controlNamed<QPushButton>(this, "PushButton7");
    PushButton2 = controlNamed<QPushButton>(this, "PushButton2");

    ListView1->setToolTip(kListTooltip);
    ListView1->acceptFileDrops(true);
    ListView1->setHeaderHidden(true); // the column is added at creation
    QFont link = Label4->font();
    link.setUnderline(true);
    Label4->setFont(link);
    QPalette linkPalette = Label4->palette();
    linkPalette.setColor(QPalette::WindowText, QColor(0, 0, 128));
    Label4->setPalette(linkPalette);
    // The whole address stays readable where the font runs wider than the design's;
    // in a wider window the link stays as wide as its address.
    const auto table = suffixEditorControls();
    const auto linkLayout =
        std::find_if(table.begin(), table.end(), [](const auto &c) { return qstrcmp(c.name, "Label4") == 0; });
    const auto widenLink = [this, designed = ui::twips(linkLayout->width)] {
        Label4->resize(std::max(std::min(Label4->width(), designed), Label4->sizeHint().width()), Label4->height());
    };
    widenLink();
    connect(stretch, &ui::StretchedControls::placed, this, widenLink);
    Label4->raise();
    describeControls(this, suffixEditorAccessibleTexts());

    // The hand over the buttons and the link, the arrow over the background and the
    // list; the white label leaves the pointer as it is. Plain moves reach the hover
    // rule only where the mouse is tracked.
    auto *hover = new ui::HoverPointer(this, m_pointer);
    setMouseTracking(true);
    for (QWidget *w : std::initializer_list<QWidget *>{ListView1->viewport(), ListView1->header()->viewport(), Label3})
        w->setMouseTracking(true);
    hover->setArrow(ListView1);
    hover->setUnchanged(Label3);
    for (QPushButton *b : findChildren<QPushButton *>()) {
        b->setMouseTracking(true);
        hover->setHand(b);
    }
    Label4->setMouseTracking(true);
    hover->setHand(Label4);
    Label4->installEventFilter(this);
}

void SuffixEditor::wireCommands()
{
    connect(PushButton6, &QPushButton::clicked, this, [this] { m_commands.addEntry(); });
    connect(PushButton1, &QPushButton::clicked, this, [this] { m_commands.editSelected(); });
    connect(PushButton3, &QPushButton::clicked, this, [this] { m_commands.deleteSelected(); });
    connect(PushButton5, &QPushButton::clicked, this, [this] { m_commands.clearEntries(); });
    connect(PushButton4, &QPushButton::clicked, this, [this] { m_commands.loadFromFiles(); });
    connect(PushButton8, &QPushButton::clicked, this, [this] { m_commands.saveToFile(); });
    connect(PushButton7, &QPushButton::clicked, this, [this] { m_commands.resetToDefaults(); });
    connect(PushButton2, &QPushButton::clicked, this, [this] { PushButton2_Click(); });
    connect(ListView1, &ui::NameListView::doubleClickedAnywhere, this, [this] { m_commands.removeSelected(commands::RemoveGesture::DoubleClick); });
    connect(ListView1, &ui::NameListView::deletePressed, this,
            [this] { m_commands.removeSelected(commands::RemoveGesture::DeleteKey); });
    connect(ListView1, &ui::NameListView::filesDropped, this,
            [this](const QStringList &paths) { m_commands.appendFiles(paths); });
    connect(&m_pointer, &core::PointerState::changed, this,
            [this](core::Pointer pointer) { ui::showPointer(this, pointer, m_customPointer); });
}

void SuffixEditor::Form_Load(const QString &folder)
{
    core::Procedure p(m_session.desktop(), core::kSuffixEditorModule, "Form_Load");
    p.step(100, [&] { ui::WindowColourSetUp(this); });
    p.step(102, [&] { setWindowIcon(m_mainWindow ? m_mainWindow->windowIcon() : QApplication::windowIcon()); });
    ui::loadHandPointer(p, folder, m_customPointer); // steps 104 and 106
    p.step(108, [&] { ListView1->setHeaderHidden(false); });
    p.step(110, [&] { ListView1->header()->resizeSection(0, ui::twips(7300)); });
    p.step(112, [&] { ui::setBackgroundColour(Label3, Qt::white); });
    // The session loads the list now unless a sort has had it loaded already.
    p.step(114, [&] { m_session.suffixList(); });
    p.step(116, [&] { m_size->restore(this, designedSize(), QSize()); });
}

QSize SuffixEditor::designedSize()
{
    return ui::twipsRect(0, 0, kSuffixEditorWidth, kSuffixEditorHeight).size();
}

void SuffixEditor::saveWindowSize()
{
    m_size->save();
}

void SuffixEditor::PushButton2_Click()
{
    core::Procedure p(m_session.desktop(), core::kSuffixEditorModule, "PushButton2_Click");
    p.step(100, [&] { close(); });
}

void SuffixEditor::closeEvent(QCloseEvent *event)
{
    Form_QueryUnload(event);
}

void SuffixEditor::Form_QueryUnload(QCloseEvent *event)
{
    core::Procedure p(m_session.desktop(), core::kSuffixEditorModule, "Form_QueryUnload");
    p.step(100, [&] { event->ignore(); });
    p.step(102, [&] { hide(); });
    p.step(104, [&] {
        if (m_mainWindow)
            m_mainWindow->show();
    });
}

bool SuffixEditor::eventFilter(QObject *watched, QEvent *event)
{
    // Label4 works as a link: a left click (press and release over it) opens its address.
    if (watched == Label4) {
        const QEvent::Type type = event->type();
        const auto *mouse = dynamic_cast<QMouseEvent *>(event);
        if (mouse && mouse->button() == Qt::LeftButton) {
            if (type == QEvent::MouseButtonRelease && Label4->rect().contains(mouse->position().toPoint()))
                m_commands.openLink(Label4->text());
            if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease
                || type == QEvent::MouseButtonDblClick)
                return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace orvella::app

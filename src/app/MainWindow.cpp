#include "app/MainWindow.h"

#include "app/AppInfo.h"
#include "app/Desktop.h"
#include "app/Procedure.h"
#include "app/SettingsStore.h"
#include "app/Twips.h"
#include "lists/NameListView.h"
#include "sorting/SortCommand.h"
#include "suffixes/SuffixList.h"
#include "suffixes/SuffixStore.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

namespace orvella::app {
namespace {

const QString kListTooltip = QStringLiteral(
    "Double-click item to remove it. Move | line to right and out of window to reveal full names.");

QFont arialBold(double points)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

template<typename Widget>
Widget *place(Widget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(twipsRect(left, top, width, height));
    return widget;
}

} // namespace

MainWindow::MainWindow(Desktop &desktop, SettingsStore &settings, QWidget *parent)
    : QWidget(parent),
      m_desktop(desktop),
      m_settings(settings),
      m_input(QStringLiteral(" Name(s)")),
      m_results(QStringLiteral("Result(s)")),
      m_context{desktop, settings, m_input, m_results, m_progress, m_pointer, applicationTitle()}
{
    buildControls();
    m_sort = std::make_unique<sorting::SortCommand>(m_context, sortControls(),
                                                    [this]() -> suffixes::SuffixList & { return liveSuffixList(); });
    wireCommands();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildControls()
{
    setFixedSize(twips(15960), twips(7200));
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    const QFont small = arialBold(9);
    const QFont large = arialBold(11.25);
    setFont(small);

    auto button = [&](QWidget *container, const char *caption, int l, int t, int w, int h) {
        auto *b = place(new QPushButton(QString::fromLatin1(caption), container), l, t, w, h);
        b->setFont(large);
        return b;
    };
    auto frame = [&](QWidget *container, const char *caption, int l, int t, int w, int h) {
        auto *f = place(new QGroupBox(QString::fromLatin1(caption), container), l, t, w, h);
        f->setFont(small);
        return f;
    };

    ListView1 = place(new lists::NameListView(&m_input, this), 120, 120, 7800, 1815);
    ListView2 = place(new lists::NameListView(&m_results, this), 8040, 630, 7800, 4930);
    for (lists::NameListView *list : {ListView1, ListView2}) {
        list->setFont(small);
        list->setToolTip(kListTooltip);
    }
    PushButton6 = button(this, "Add One Name", 120, 2020, 3840, 405);
    PushButton3 = button(this, "Load List Of Names From File", 4080, 2020, 3840, 405);
    PushButton1 = button(this, "Clear List", 120, 2530, 3840, 405);
    PushButton17 = button(this, "Start Sorting", 8040, 120, 7800, 405);
    PushButton4 = button(this, "Save Results As Text File", 8040, 5660, 3840, 405);
    PushButton13 = button(this, "Save Results As Excel File", 12000, 5660, 3840, 405);
    PushButton2 = button(this, "Clear Results", 12000, 6170, 3840, 405);
    ProgressBar1 = place(new QProgressBar(this), 8040, 6690, 7800, 405);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(true);
    ProgressBar1->setAlignment(Qt::AlignCenter);
    ProgressBar1->setFormat(m_progress.text());
    Frame1 = frame(this, "Filter Options", 120, 5640, 7800, 1455);
    Check5 = place(new QCheckBox(QStringLiteral("Remove duplicates from results"), Frame1), 240, 300, 3525, 255);
    PushButton5 = button(this, "Copy Results To Clipboard", 8040, 6170, 3840, 405);
    PushButton7 = button(this, "Load Sample/Example Names", 4080, 2530, 3840, 405);
    Check1 = place(new QCheckBox(QStringLiteral("Keep unique last names, discard duplicate last names"), Frame1),
                   240, 650, 5085, 255);
    Check2 = place(new QCheckBox(QStringLiteral("Keep only this number of names per last name:"), Frame1), 240,
                   1000, 4845, 255);
    Text1 = place(new QLineEdit(QStringLiteral("5"), Frame1), 4680, 960, 1215, 345);
    Frame2 = frame(this, "Sort Option", 120, 3480, 7800, 2130);
    Option1 = place(new QRadioButton(QStringLiteral("Sort by Last/First"), Frame2), 240, 300, 3255, 255);
    Option2 = place(new QRadioButton(QStringLiteral("Sort by First/Last"), Frame2), 240, 1725, 4455, 255);
    Frame3 = frame(Frame2, "Last/First Additional Option", 480, 570, 7080, 1050);
    Option3 = place(new QRadioButton(
                        QStringLiteral("Sort by last word but ignore common suffixes like Jr. Sr. III etc."), Frame3),
                    240, 300, 5655, 255);
    Option4 = place(new QRadioButton(QStringLiteral("Sort by last word"), Frame3), 240, 650, 1815, 255);
    PushButton15 = button(Frame3, "List", 6000, 270, 840, 315);
    PushButton8 = button(this, "Help", 120, 3040, 3840, 405);
    PushButton9 = button(this, "Save List Of Names To File", 4080, 3040, 3840, 405);

    for (QWidget *w : std::initializer_list<QWidget *>{Check5, Check1, Check2, Text1, Option1, Option2, Option3,
                                                        Option4, ProgressBar1})
        w->setFont(small);

    // Design state: Last/First, skipping suffixes; Text1 waits for Check2.
    Option1->setChecked(true);
    Option3->setChecked(true);
    Text1->setEnabled(false);

    // Tab order as designed.
    const std::initializer_list<QWidget *> order = {
        ListView1,   ListView2, PushButton6, PushButton3, PushButton1, PushButton17, PushButton4,
        PushButton13, PushButton2, ProgressBar1, Check5, PushButton5, PushButton7, Check1,
        Check2,      Text1,     Option1,     Option2,     Option3,     Option4,      PushButton15,
        PushButton8, PushButton9};
    QWidget *previous = nullptr;
    for (QWidget *w : order) {
        if (previous)
            setTabOrder(previous, w);
        previous = w;
    }
}

void MainWindow::wireCommands()
{
    connect(PushButton17, &QPushButton::clicked, this, [this] { m_sort->PushButton17_Click(); });
    connect(&m_progress, &ProgressState::changed, this, &MainWindow::showProgress);
    connect(&m_pointer, &PointerState::changed, this,
            [this](Pointer pointer) { m_desktop.showPointer(this, pointer, m_customPointer); });
}

void MainWindow::showProgress()
{
    ProgressBar1->setValue(m_progress.shownPosition());
    ProgressBar1->setFormat(m_progress.text());
}

void MainWindow::Form_Load()
{
    Procedure p(m_desktop, "Form1", "Form_Load");
    p.step(102, [&] { setWindowTitle(QLatin1String(kProductName)); });
    p.step(126, [&] { ListView1->header()->resizeSection(0, twips(7000)); });
    p.step(152, [&] { ListView2->header()->resizeSection(0, twips(7000)); });
}

suffixes::SuffixList &MainWindow::liveSuffixList()
{
    if (!m_suffixList) {
        m_suffixList = std::make_unique<suffixes::SuffixList>();
        Procedure p(m_desktop, "Form2", "Form_Load");
        p.step(100, [&] { suffixes::LoadSuffixList(m_suffixList->model(), m_settings); });
    }
    return *m_suffixList;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    m_desktop.endProgram();
}

sorting::SortOptions MainWindow::options() const
{
    return {Option1->isChecked(), Option2->isChecked(), Option3->isChecked(), Option4->isChecked()};
}

bool MainWindow::removeDuplicates() const { return Check5->isChecked(); }
bool MainWindow::keepUnique() const { return Check1->isChecked(); }
bool MainWindow::keepLimited() const { return Check2->isChecked(); }
QString MainWindow::limitText() const { return Text1->text(); }

} // namespace orvella::app

#include "ui/NameListView.h"

#include "lists/NameListModel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QUrl>

namespace orvella::ui {

NameListView::NameListView(NameListModel *model, QWidget *parent) : QTableView(parent), m_model(model)
{
    setModel(model);
    setSelectionModel(model->selectionModel());
    setShowGrid(false);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    fitRowsToFont();
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void NameListView::fitRowsToFont()
{
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
}

void NameListView::changeEvent(QEvent *event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitRowsToFont();
}

QModelIndex NameListView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    // A list: Home and End go to the first and the last item, as in any list view.
    const int rows = model()->rowCount();
    if (rows > 0 && action == MoveHome)
        return model()->index(0, 0);
    if (rows > 0 && action == MoveEnd)
        return model()->index(rows - 1, 0);
    return QTableView::moveCursor(action, modifiers);
}

void NameListView::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTableView::mouseDoubleClickEvent(event);
    emit doubleClickedAnywhere();
}

void NameListView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Delete) {
        emit deletePressed();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

namespace {
QStringList localPaths(const QMimeData *data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    return paths;
}
} // namespace

void NameListView::acceptFileDrops(bool on)
{
    m_acceptFileDrops = on;
    setAcceptDrops(on);
    viewport()->setAcceptDrops(on);
    setDropIndicatorShown(false);
}

void NameListView::dragEnterEvent(QDragEnterEvent *event)
{
    if (m_acceptFileDrops && !localPaths(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void NameListView::dragMoveEvent(QDragMoveEvent *event)
{
    if (m_acceptFileDrops && !localPaths(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void NameListView::dropEvent(QDropEvent *event)
{
    const QStringList paths = m_acceptFileDrops ? localPaths(event->mimeData()) : QStringList();
    if (paths.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // Reading may show message boxes; the file manager should not wait for them.
    QMetaObject::invokeMethod(this, [this, paths] { emit filesDropped(paths); }, Qt::QueuedConnection);
}

} // namespace orvella::ui

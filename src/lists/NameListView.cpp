#include "lists/NameListView.h"

#include "lists/NameListModel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QUrl>

namespace orvella::lists {

NameListView::NameListView(NameListModel *model, QWidget *parent) : QTreeView(parent), m_model(model)
{
    setModel(model);
    setSelectionModel(model->selectionModel());
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void NameListView::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTreeView::mouseDoubleClickEvent(event);
    emit doubleClickedAnywhere();
}

void NameListView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Delete) {
        emit deletePressed();
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
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

} // namespace orvella::lists

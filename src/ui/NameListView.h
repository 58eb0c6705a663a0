#pragma once

#include <QHeaderView>
#include <QTableView>

namespace orvella::lists {
class NameListModel;
} // namespace orvella::lists

namespace orvella::ui {

using lists::NameListModel;

// A one-column list in report style over a NameListModel: header caption, whole-row
// selection, one selected item. Reports a double-click anywhere on it and the Delete
// key (with or without modifiers); every other key keeps its usual navigation.
//
// A table view underneath: with a million rows it takes in new rows and relayouts in
// a fraction of the time a tree view needs, since it keeps no item per row.
class NameListView : public QTableView {
    Q_OBJECT
public:
    explicit NameListView(NameListModel *model, QWidget *parent = nullptr);

    NameListModel *nameModel() const { return m_model; }
    // The column header, whose divider widens the column.
    QHeaderView *header() const { return horizontalHeader(); }
    void setHeaderHidden(bool hidden) { horizontalHeader()->setHidden(hidden); }
    bool isHeaderHidden() const { return horizontalHeader()->isHidden(); }

    // Lets files from a file manager be dropped on the list; a drop reports the local
    // paths, in the order given, once the drop itself is over.
    void acceptFileDrops(bool on);

signals:
    void doubleClickedAnywhere();
    void deletePressed();
    void filesDropped(const QStringList &paths);

protected:
    void changeEvent(QEvent *event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void fitRowsToFont();

    NameListModel *m_model;
    bool m_acceptFileDrops = false;
};

} // namespace orvella::ui

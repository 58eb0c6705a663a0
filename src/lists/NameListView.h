#pragma once

#include <QTreeView>

namespace orvella::lists {

class NameListModel;

// A one-column list in report style over a NameListModel: header caption, whole-row
// selection, one selected item. Reports a double-click anywhere on it and the Delete
// key (with or without modifiers); every other key keeps its usual navigation.
class NameListView : public QTreeView {
    Q_OBJECT
public:
    explicit NameListView(NameListModel *model, QWidget *parent = nullptr);

    NameListModel *nameModel() const { return m_model; }

    // Lets files from a file manager be dropped on the list; a drop reports the local
    // paths, in the order given, once the drop itself is over.
    void acceptFileDrops(bool on);

signals:
    void doubleClickedAnywhere();
    void deletePressed();
    void filesDropped(const QStringList &paths);

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    NameListModel *m_model;
    bool m_acceptFileDrops = false;
};

} // namespace orvella::lists

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

signals:
    void doubleClickedAnywhere();
    void deletePressed();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    NameListModel *m_model;
};

} // namespace orvella::lists

#pragma once

#include "lists/ListEdits.h"
#include "lists/TextRows.h"

#include <QAbstractListModel>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>

namespace orvella::lists {

// An ordered list of texts addressed from 1, shown in a one-column list view with a
// caption. Items are kept exactly as received and may repeat. Serves the input list,
// the result list and the suffix list.
//
// The texts are kept in large blocks (TextRows), not as a string per item: a view, a
// command or an export gets a view of one item, or a string built for that item only.
//
// Appends are cheap: views learn of new rows in one batch when the event loop next
// runs, so a command that appends a million items and yields in between does not make
// the view relayout for every row.
class NameListModel : public QAbstractListModel {
    Q_OBJECT
public:
    // A view takes in new rows in time that grows with their number (ten million rows
    // at once would hold the window for a good part of a second): appended rows reach
    // the views at most this many per pass of the event loop.
    static constexpr qsizetype kRowsPerPass = 1000000;

    explicit NameListModel(QString caption, QObject *parent = nullptr);

    int count() const { return static_cast<int>(m_items.size()); }
    bool isEmpty() const { return m_items.isEmpty(); }
    // The item at a 1-based position; throws a Failure for a position that does not exist.
    QString item(int position) const { return itemView(position).toString(); }
    // The same without a copy; valid until the list next changes.
    QStringView itemView(int position) const;
    // Every item, as strings of their own (for short lists such as the suffix list).
    QStringList items() const { return m_items.toList(); }
    // The texts themselves, for reading through a long list in order.
    const TextRows &rows() const { return m_items; }

    void append(QStringView text);
    void append(const QString &text) { append(QStringView(text)); }
    void appendMany(const QList<QString> &texts);
    void appendMany(TextRows texts);
    // Replaces the item at a 1-based position; throws for a position that does not exist.
    void setItem(int position, const QString &text);
    // Removes the item at a 1-based position; throws for a position that does not exist.
    void removeAt(int position);
    void clear();
    // Puts an item in at a 1-based position (1 .. count() + 1); those from there on move down.
    void insertAt(int position, QStringView text);

    // Every change from now on is told to the recorder (none: nothing is recorded), so
    // that it can be taken back. Whoever takes changes back detaches the recorder meanwhile.
    void setRecorder(ListRecorder *recorder) { m_recorder = recorder; }

    // The items after the first `keep`, taken out with their blocks (and, when none is
    // kept, the tooltips); restoreTail puts them back at the end.
    struct Tail {
        TextRows rows;
        std::function<QString(int, const QString &)> toolTips;
    };
    Tail takeTail(int keep);
    void restoreTail(Tail tail);

    // 1-based position of the selected item, 0 when none is selected.
    int selectedPosition() const;
    void select(int position);
    QItemSelectionModel *selectionModel() { return &m_selection; }

    QString caption() const { return m_caption; }

    // Answers each row's tooltip, from the row (0-based, counted as when the source was
    // set: a removed row takes its tooltip along) and its text, when a view asks for
    // it, so that a million rows cost nothing until shown. Dropped when the list is
    // cleared. An empty answer means no tooltip.
    using ToolTipSource = std::function<QString(int row, const QString &text)>;
    void setToolTipSource(ToolTipSource source);

    // Tells the views about every appended row now instead of at the next event-loop pass.
    void flushPendingRows();
    // True while the views have not yet been told about every row.
    bool hasPendingRows() const { return m_shownRows < m_items.size(); }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    // Emitted after any change of the items (append, edit, removal, clear).
    void itemsChanged();

private:
    void checkPosition(int position) const;
    void appended();
    void flushQueuedRows();
    void showRows(qsizetype most);

    static constexpr qsizetype kSmallList = 20000;
    static constexpr qint64 kBigListFlushMs = 250;

    // Tells the recorder, if any, of an edit.
    void record(std::unique_ptr<ListEdit> edit);
    void recordAppendFrom(qsizetype from);

    QString m_caption;
    TextRows m_items;
    ListRecorder *m_recorder = nullptr;
    qsizetype m_shownRows = 0;
    bool m_flushQueued = false;
    QElapsedTimer m_sinceFlush;
    QItemSelectionModel m_selection;
    ToolTipSource m_toolTipSource;
};

} // namespace orvella::lists

#pragma once

#include "lists/ListEdits.h"
#include "lists/ListOrigin.h"
#include "tables/NameRows.h"
#include "tables/TextRows.h"

#include <QAbstractListModel>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>
#include <optional>
#include <vector>

namespace orvella::lists {

// An ordered list of texts addressed from 1, shown in a one-column list view with a
// caption. Items are kept exactly as received and may repeat. Serves the input list,
// the result list and the suffix list.
//
// The texts are kept in large blocks (TextRows), not as a string per item: a view, a
// command or an export gets a view of one item, or a string built for that item only.
// A sort's results are kept as places in the input's blocks instead (see ListOrigin):
// only the names shown other than as they were read have texts of their own.
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

    int count() const { return static_cast<int>(size()); }
    bool isEmpty() const { return size() == 0; }
    // The item at a 1-based position; throws a Failure for a position that does not exist.
    QString item(int position) const { return itemView(position).toString(); }
    // The same without a copy; valid until the list next changes.
    QStringView itemView(int position) const;
    // Every item, as strings of their own (for short lists such as the suffix list).
    QStringList items() const;
    // The texts in blocks shared with the list (no text is copied unless the list is
    // itself places in another's blocks), for a list that shows rows of this one.
    tables::TextRows sharedTexts() const;

    void append(QStringView text);
    void append(const QString &text) { append(QStringView(text)); }
    // Appends a name together with the table row it came from (or none).
    void append(QStringView text, const tables::NameRow &row);
    // Appends names read from a table: names[i] came from row rows[i] of the table.
    void appendMany(tables::TextRows names, tables::SourceTablePtr table, const std::vector<quint32> &rows);
    void appendMany(const QList<QString> &texts);
    void appendMany(tables::TextRows texts);
    // Replaces the item at a 1-based position; throws for a position that does not exist.
    void setItem(int position, const QString &text);
    // Removes the item at a 1-based position; throws for a position that does not exist.
    void removeAt(int position);
    void clear();
    // Puts an item in at a 1-based position (1 .. count() + 1); those from there on move down.
    void insertAt(int position, QStringView text, const tables::NameRow &row = {});

    // Whether any item came from a table row.
    bool hasRows() const { return !m_refs.empty(); }
    // The table row the item at a 1-based position came from (none for a typed name);
    // throws for a position that does not exist.
    tables::NameRow rowOf(int position) const;
    // The table of the first item that came from one (none when no item did).
    tables::SourceTablePtr firstTable() const;
    // Whether some item came from a table whose names are "Last, First" lines.
    bool hasCommaLineRows() const;
    // Whether some of the names came from a table with a filing column.
    bool hasFiledAsRows() const;
    // Whether the list keeps the table (some item came from it).
    bool holdsTable(const tables::SourceTable *table) const;
    // Adds the text blocks the list holds (its items', and those its origin shares).
    void addBlocksHeld(std::vector<tables::TextRows::BlockHeld> &into) const;

    // Makes an empty list show rows of `source` (another list's sharedTexts()); false
    // for a list that is not empty.
    // appendFrom() then keeps a place in it for each item that reads the same (room
    // is made for the items expected at once). Any
    // edit other than an append or a removal turns the places into texts of their own.
    bool showRowsOf(tables::TextRows source, qsizetype expectedItems = 0);
    // Appends `shown`, read from row `sourceRow` of the source (-1 for none), with the
    // table row it came from.
    void appendFrom(QStringView shown, qsizetype sourceRow, const tables::NameRow &row);
    // Appends row `sourceRow` of the source as it reads there, without reading it; false
    // (and nothing appended) when the list shows no source's rows.
    bool appendPlace(qsizetype sourceRow, const tables::SourceTablePtr &table, quint32 row);
    // Asks for where a row of the source lies (text false) or its text (true), a few
    // items before appendFrom() needs it.
    void prefetchSource(qsizetype sourceRow, bool text) const;

    // Every change from now on is told to the recorder (none: nothing is recorded), so
    // that it can be taken back. Whoever takes changes back detaches the recorder meanwhile.
    void setRecorder(ListRecorder *recorder) { m_recorder = recorder; }

    // The items after the first `keep`, taken out with their blocks (and, when none is
    // kept, the tooltips); restoreTail puts them back at the end.
    struct Tail {
        // With an origin (when all items were taken out of a list that showed rows of
        // another), rows holds only the items' own texts: the rest are its places.
        tables::TextRows rows;
        std::optional<ListOrigin> origin;
        std::function<QString(int, const QString &, tables::RowNote)> notes;
        // The items' table rows: refs (empty when none has one) count into tables.
        std::vector<tables::SourceTablePtr> tables;
        std::vector<tables::RowRef> refs;
    };
    Tail takeTail(int keep);
    void restoreTail(Tail tail);

    // 1-based position of the selected item, 0 when none is selected.
    int selectedPosition() const;
    void select(int position);
    QItemSelectionModel *selectionModel() { return &m_selection; }

    QString caption() const { return m_caption; }

    // Answers a note on each row (its tooltip, or the words it was filed under), from the
    // row (0-based, counted as when the source was set: a removed row takes its notes
    // along) and its text, when a view or an export asks for it, so that a million rows
    // cost nothing until shown. Dropped when the list is cleared. An empty answer means
    // no note.
    using NoteSource = std::function<QString(int row, const QString &text, tables::RowNote note)>;
    void setNoteSource(NoteSource source);
    // The note on the item at a 1-based position ("" when the list has no notes).
    QString note(int position, tables::RowNote kind) const;

    // Tells the views about every appended row now instead of at the next event-loop pass.
    void flushPendingRows();
    // True while the views have not yet been told about every row.
    bool hasPendingRows() const { return m_shownRows < size(); }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    // Emitted after any change of the items (append, edit, removal, clear).
    void itemsChanged();

private:
    void checkPosition(int position) const;
    qsizetype size() const { return m_origin ? m_origin->size() : m_items.size(); }
    QStringView textAt(qsizetype row) const { return m_origin ? m_origin->at(row, m_items) : m_items.at(row); }
    // Turns places in another list's blocks into texts of the list's own.
    void ownTexts();
    void appendText(QStringView text);
    void appended();
    void flushQueuedRows();
    void showRows(qsizetype most);

    static constexpr qsizetype kSmallList = 20000;
    static constexpr qint64 kBigListFlushMs = 250;

    // Tells the recorder, if any, of an edit.
    void record(std::unique_ptr<ListEdit> edit);
    void recordAppendFrom(qsizetype from);

    QString m_caption;
    tables::TextRows m_items;
    // Keeps a row for the item appended last (none when no item has one).
    void keepRow(const tables::NameRow &row) { keepRow(row.table, row.row); }
    void keepRow(const tables::SourceTablePtr &table, quint32 row);
    quint32 tablePlace(const tables::SourceTablePtr &table);

    ListRecorder *m_recorder = nullptr;
    // The tables the items came from, and each item's row: refs is empty until an item
    // with a row comes, then holds one per item.
    std::vector<tables::SourceTablePtr> m_tables;
    std::vector<tables::RowRef> m_refs;
    // While set, the items are places in its source's blocks, and m_items holds only
    // the texts of those that read otherwise.
    std::optional<ListOrigin> m_origin;
    qsizetype m_shownRows = 0;
    bool m_flushQueued = false;
    QElapsedTimer m_sinceFlush;
    QItemSelectionModel m_selection;
    NoteSource m_noteSource;
};

} // namespace orvella::lists

#pragma once

#include "core/RowGrouping.h"

#include <QDialog>
#include <optional>

class QComboBox;

namespace orvella::app {

// "Group By Column": the column whose cells group the results ("(none)" or one of the
// table's columns), whether groups come in the column's natural order or as first met,
// and what makes two rows the same for "Remove duplicates from results" (the name,
// the whole row or one column). OK answers the choice shown; Cancel, Escape and the
// close box answer nothing.
class GroupByColumnDialog : public QDialog {
    Q_OBJECT
public:
    explicit GroupByColumnDialog(const core::GroupingRequest &request, QWidget *parent = nullptr);

    std::optional<core::RowGrouping> choice() const { return m_answer; }
    // The choice the controls show now, as OK would answer it.
    core::RowGrouping shownChoice() const;

private:
    QComboBox *m_column = nullptr;
    QComboBox *m_order = nullptr;
    QComboBox *m_same = nullptr;
    std::optional<core::RowGrouping> m_answer;
};

} // namespace orvella::app

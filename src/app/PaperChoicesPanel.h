#pragma once

#include "core/PaperChoices.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QSpinBox;

namespace orvella::app {

// The paper layout's choices: the layout (a list or name badges), the title, the list's
// columns and headings, the badge sheet, the page size and orientation. Every control
// has a label and takes the keyboard focus in turn; the list's and the badges' own
// choices are greyed for the other layout. Tells each change.
class PaperChoicesPanel : public QWidget {
    Q_OBJECT
public:
    // columns: those a list can print, by caption.
    PaperChoicesPanel(const core::PaperChoices &choices, const QStringList &columns, QWidget *parent);

    core::PaperChoices choices() const;

signals:
    void changed();

private:
    QWidget *listChoices(const core::PaperChoices &choices, const QStringList &columns);
    QWidget *badgeChoices(const core::PaperChoices &choices, const QStringList &columns);
    QWidget *pageChoices(const core::PaperChoices &choices);
    void showLayout();

    QComboBox *m_layout = nullptr;
    QLineEdit *m_title = nullptr;
    QWidget *m_list = nullptr;
    QListWidget *m_columns = nullptr;
    QCheckBox *m_letters = nullptr;
    QCheckBox *m_groupPages = nullptr;
    QSpinBox *m_namesColumns = nullptr;
    QCheckBox *m_checkBoxes = nullptr;
    QWidget *m_badges = nullptr;
    QComboBox *m_sheet = nullptr;
    QSpinBox *m_rows = nullptr;
    QSpinBox *m_sheetColumns = nullptr;
    QSpinBox *m_margin = nullptr;
    QComboBox *m_extra = nullptr;
    QComboBox *m_size = nullptr;
    QComboBox *m_orientation = nullptr;
};

} // namespace orvella::app

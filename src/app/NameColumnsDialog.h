#pragma once

#include "core/ColumnChoice.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QRadioButton;
class QSpinBox;
class QStringListModel;
class QTableView;
class QVBoxLayout;

namespace orvella::app {

class NamePreviewModel;

// "Choose Name Columns": which column(s) of a table make a person's name. It shows the
// choice proposed and a preview of the rows below the header as they will be read (each
// with its row number in the file), redrawn as the choice changes, the columns the name
// is taken from first. Load answers the choice shown, "Read Each Line As A Name" answers
// Kind::Lines, and Cancel, Escape and the close box answer Kind::Cancel.
class NameColumnsDialog : public QDialog {
    Q_OBJECT
public:
    explicit NameColumnsDialog(const core::ColumnRequest &request, QWidget *parent = nullptr);

    // The answer: Kind::Cancel until Load or Read Each Line is pressed.
    core::ColumnChoice choice() const { return m_answer; }
    // The choice the controls show now, as Load would answer it.
    core::ColumnChoice shownChoice() const;

private:
    void buildControls(const QString &fileName);
    // The header row and the two ways a name is made of columns, each with its boxes.
    void buildColumnChoice(QVBoxLayout *layout);
    void buildPreview(QVBoxLayout *layout);
    // Load, Read Each Line As A Name and Cancel, each answering the dialog.
    void buildButtons(QVBoxLayout *layout);
    // Gives the column boxes the table's captions.
    void fillColumnBoxes();
    void showChoice(const core::ColumnChoice &choice);
    void refresh();
    void refreshPreview(const core::ColumnChoice &choice);
    void answer(core::ColumnChoice::Kind kind);

    QList<QStringList> m_rows;
    core::ColumnChoice m_answer;

    QSpinBox *m_headerRow = nullptr; // counted from 1 as the preview shows rows; 0 for none
    QRadioButton *m_wholeOption = nullptr;
    QComboBox *m_wholeColumn = nullptr;
    QRadioButton *m_partsOption = nullptr;
    QComboBox *m_lastColumn = nullptr;
    QComboBox *m_firstColumn = nullptr;
    QComboBox *m_middleColumn = nullptr;
    QComboBox *m_suffixColumn = nullptr;
    QComboBox *m_filedAsColumn = nullptr; // "(none)" or the column a row files under
    QStringListModel *m_captions = nullptr;         // the items of the whole, last and first name boxes
    QStringListModel *m_optionalCaptions = nullptr; // "(none)" and the captions, for middle and suffix
    QTableView *m_preview = nullptr;
    NamePreviewModel *m_previewModel = nullptr;
    QCheckBox *m_dontAsk = nullptr;
};

} // namespace orvella::app

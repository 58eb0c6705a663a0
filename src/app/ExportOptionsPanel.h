#pragma once

#include "core/ExportOptions.h"

#include <QWidget>
#include <array>

class QCheckBox;
class QComboBox;

namespace orvella::app {

// The Export Results dialog's choices below its file list: "Add name columns:" with a
// check box a column, and how a CSV or TSV file is written (delimiter, encoding, line
// ends, formula protection). Each control has a label and takes the keyboard focus in
// turn; the text choices are greyed for the formats they do not apply to.
class ExportOptionsPanel : public QWidget {
public:
    ExportOptionsPanel(const core::ExportOptions &options, QWidget *parent);

    core::ExportOptions options() const;
    // The dialog's chosen filter ("CSV (*.csv)", "TSV (*.tsv)", …): the text choices
    // apply to CSV and TSV, the delimiter to CSV alone.
    void showFormat(const QString &filter);

private:
    QWidget *nameColumnBoxes(const core::ExportOptions &options);
    QWidget *textChoices(const core::ExportOptions &options);

    std::array<QCheckBox *, core::kNameColumnCount> m_columns{};
    QComboBox *m_delimiter = nullptr;
    QComboBox *m_encoding = nullptr;
    QComboBox *m_lineEnds = nullptr;
    QCheckBox *m_protect = nullptr;
};

} // namespace orvella::app

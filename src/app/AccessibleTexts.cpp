#include "app/AccessibleTexts.h"

#include "ui/ControlTable.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QWidget>

namespace orvella::app {
namespace {

const AccessibleText kMainWindow[] = {
    {"ListView1", "Names", "The names to sort. Delete or a double-click removes the selected name; text files "
                           "dropped here are loaded."},
    {"ListView2", "Results", "The sorted names. The selected result's description says what it was sorted under; "
                             "Delete or a double-click removes it."},
    {"PushButton6", nullptr, "Type or paste names to add, one per line"},
    {"PushButton3", nullptr, "Load names from text files, one name per line"},
    {"PushButton1", nullptr, "Remove every name from the Names list"},
    {"PushButton17", nullptr, "Sort the names into the Results list with the options chosen"},
    {"PushButton4", nullptr, "Write the results to a text file"},
    {"PushButton13", nullptr, "Open the results in a spreadsheet application"},
    {"PushButton2", nullptr, "Remove every name from the Results list"},
    {"ProgressBar1", "Progress", "How far the command under way has come"},
    {"Frame1", nullptr, "Which results to keep"},
    {"Check5", nullptr, "Keep one of each name that appears more than once"},
    {"PushButton5", nullptr, "Copy the results to the clipboard, one name per line"},
    {"PushButton7", nullptr, "Add four sample names to the Names list"},
    {"Check1", nullptr, "Keep one name for each last name and drop the others"},
    {"Check2", nullptr, "Keep at most the number in the next field of names for each last name"},
    {"Text1", "Number of names per last name", "How many names to keep for each last name"},
    {"Frame2", nullptr, "How names are read for sorting"},
    {"Option1", nullptr, "Sort by the last name, then the first"},
    {"Option2", nullptr, "Sort by the first word of each name"},
    {"Frame3", nullptr, "Which word counts as the last name"},
    {"Option3", nullptr, "Step over a suffix such as Jr. or Ph.D. at the end of a name"},
    {"Option4", nullptr, "Take the last word as it is"},
    {"PushButton15", nullptr, "Edit the suffix list"},
    {"PushButton8", nullptr, "Show whom to contact with questions about Orvella"},
    {"PushButton9", nullptr, "Write the names to a text file"},
};

const AccessibleText kSuffixEditor[] = {
    {"ListView1", "Suffixes", "The suffixes stepped over when sorting by last word. Delete or a double-click "
                              "removes the selected one; text files dropped here are loaded."},
    {"Label3", nullptr, "Where the default suffix list comes from"},
    {"Label4", "Source of the default list", "Open the page the default list was taken from"},
    {"PushButton6", nullptr, "Type a suffix to add"},
    {"PushButton1", nullptr, "Change the selected suffix"},
    {"PushButton3", nullptr, "Remove the selected suffix"},
    {"PushButton5", nullptr, "Remove every suffix"},
    {"PushButton4", nullptr, "Load suffixes from a text file, one per line"},
    {"PushButton8", nullptr, "Write the suffix list to a text file"},
    {"PushButton7", nullptr, "Put back the suffix list Orvella comes with"},
    {"PushButton2", nullptr, "Close this window and go back to the main window"},
};

// The "Choose Name Columns" dialog; its controls are built by hand, so each gets its
// name here, without the access key's mark.
const AccessibleText kNameColumns[] = {
    {"HeaderRow", "Header row",
     "The number of the row that names the columns, or none; the rows above it are a title, not names"},
    {"WholeNameOption", "One column holds the whole name", "Read each person's name from one column"},
    {"WholeNameColumn", "Whole name column", "The column that holds the whole name"},
    {"PartsOption", "First and last name are in separate columns",
     "Make each name from a last-name and a first-name column, as \"Last, First\""},
    {"LastNameColumn", "Last name column", "The column that holds the last name"},
    {"FirstNameColumn", "First name column", "The column that holds the first name"},
    {"MiddleNameColumn", "Middle name column", "The column that holds the middle name, if any"},
    {"SuffixColumn", "Suffix column", "The column that holds a suffix such as Jr., if any"},
    {"PreviewTable", "Preview", "The first rows as they will be read: the name as read, then the row's cells"},
    {"DontAskCheck", "Do not ask again for files with these columns",
     "Load files with the same header row at once with this choice"},
    {"LoadButton", "Load", "Load the names as chosen"},
    {"LinesButton", "Read Each Line As A Name", "Load the file as a names file, one name per line"},
    {"CancelButton", "Cancel", "Load nothing"},
};

} // namespace

std::span<const AccessibleText> mainWindowAccessibleTexts()
{
    return kMainWindow;
}

std::span<const AccessibleText> suffixEditorAccessibleTexts()
{
    return kSuffixEditor;
}

std::span<const AccessibleText> nameColumnsAccessibleTexts()
{
    return kNameColumns;
}

void describeControls(QWidget *window, std::span<const AccessibleText> texts)
{
    for (const AccessibleText &t : texts) {
        QWidget *control = ui::controlNamed<QWidget>(window, t.control);
        if (t.name)
            control->setAccessibleName(QString::fromUtf8(t.name));
        control->setAccessibleDescription(QString::fromUtf8(t.description));
    }
}

namespace {

// Marks the labels read as a status bar.
const char *const kStatusLabelProperty = "orvellaStatusLine";

// A label read as a status bar: its name is its text, so a screen reader hears the
// text itself and, as the label reports each change of it, hears it change.
class StatusLabelAccessible : public QAccessibleWidget {
public:
    explicit StatusLabelAccessible(QLabel *label) : QAccessibleWidget(label, QAccessible::StatusBar) {}

    QString text(QAccessible::Text which) const override
    {
        if (which == QAccessible::Name)
            return static_cast<const QLabel *>(widget())->text();
        return QAccessibleWidget::text(which);
    }
};

QAccessibleInterface *statusLabelInterface(const QString &, QObject *object)
{
    auto *label = qobject_cast<QLabel *>(object);
    if (!label || label->property(kStatusLabelProperty).toBool() == false)
        return nullptr;
    return new StatusLabelAccessible(label);
}

} // namespace

void readAsStatusLine(QLabel *label)
{
    static const bool installed = (QAccessible::installFactory(statusLabelInterface), true);
    Q_UNUSED(installed);
    label->setProperty(kStatusLabelProperty, true);
}

} // namespace orvella::app

#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>

class QPlainTextEdit;

namespace orvella::core {
class Desktop;
} // namespace orvella::core
namespace orvella::session {
class ReadingSettings;
} // namespace orvella::session

namespace orvella::app {

using session::ReadingSettings;

// One word list of the Reading menu as its window shows it: names, texts, and how the
// list is read, stored and started afresh.
struct WordList {
    QString windowName;    // object name of the window
    QString title;         // its title
    QString explanation;   // the line above the field
    QString textName;      // object name of the field
    const char *saveProcedure = ""; // the procedure a failed save is reported under
    std::function<QStringList()> words;
    std::function<QStringList()> defaults;
    std::function<void(const QStringList &)> store;
};

// The particle list and the title list, kept by the reading settings.
WordList particleList(ReadingSettings &reading);
WordList titleList(ReadingSettings &reading);
// The designation list: one entry a line, an entry may be several words.
WordList designationList(ReadingSettings &reading);
// The nickname list of Find Likely Duplicates: one pair a line.
WordList nicknameList(ReadingSettings &reading);

// Edits a word list: one word per line. Save writes it to the settings at once;
// Restore Defaults puts the default list in the field; Cancel and Escape close the
// window without a change.
class WordListWindow : public QWidget {
    Q_OBJECT
public:
    WordListWindow(WordList list, core::Desktop &desktop, QWidget *parent = nullptr);

    // Shows the list as it stands.
    void reload();
    void save();

private:
    WordList m_list;
    core::Desktop &m_desktop;
    QPlainTextEdit *m_text = nullptr;
};

} // namespace orvella::app

#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace orvella::core {

// Which cells of a table's rows make a person's name, as the "Choose Name Columns"
// dialog answers. Columns count from 0; -1 is none.
struct ColumnChoice {
    enum class Kind {
        Cancel,    // load nothing
        Lines,     // read the file as a names file, one name a line, as before
        WholeName, // one column holds the whole name
        NameParts, // a last-name and a first-name column (a middle-name and a suffix one may join)
    };
    Kind kind = Kind::Cancel;
    // The table has a header row: row headerRow (below), the first row unless a title
    // (and perhaps blank rows) come above it. Rows above the header are no names; the
    // names start below it.
    bool firstRowIsHeader = false;
    int wholeName = -1;
    int lastName = -1;
    int firstName = -1;
    int middleName = -1;
    int suffix = -1;
    // "Do not ask again for files with these columns".
    bool dontAskAgain = false;
    // Which row is the header, counted from 0, when there is one. Last, so that a choice
    // written as a list of its fields keeps the meaning it had before titles were read.
    int headerRow = 0;
    // The filing column ("Sort as", "File as"): a row whose cell there is filled files
    // under the cell's words, as a Filed-As entry would; -1 for none.
    int filedAs = -1;

    // The first row that can give a name: the one below the header.
    int firstNameRow() const { return firstRowIsHeader ? headerRow + 1 : 0; }

    friend bool operator==(const ColumnChoice &, const ColumnChoice &) = default;
};

// What the dialog is shown: the file's name, its first rows (at most a screenful) and
// the choice proposed (guessed from the header, or the one remembered for it).
struct ColumnRequest {
    QString fileName;
    QList<QStringList> firstRows;
    ColumnChoice proposed;
};

} // namespace orvella::core

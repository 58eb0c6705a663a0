#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace orvella::tables {

// The content.xml of an OpenDocument spreadsheet of one sheet, written to a file row
// by row as it comes, so that a million rows never stand in memory as one text: the
// file is then added to the archive as it is. Every cell is a text cell; one that holds
// characters XML cannot hold keeps its whole text in the attribute readOdsTable reads.
class OdsContent {
public:
    // Makes the file at path; `target` is the saved file's name for the messages.
    // Throws core::Failure when the file cannot be made.
    OdsContent(const QString &path, const QString &target);
    void addRow(const QStringList &cells);
    // Ends the document and closes the file; throws core::Failure when it cannot be
    // written whole.
    void finish();

    // Appends the text as the XML of a text:p: markup characters escaped, a run of
    // spaces that XML readers would fold (or drop at either end) as <text:s/>, TAB as
    // <text:tab/>, each line break (CR LF, LF or CR) as <text:line-break/>. Characters
    // that XML cannot hold (control characters, U+FFFE, U+FFFF, a lone surrogate) are
    // left out.
    static void appendParagraphText(QStringView text, QByteArray &into);

private:
    void flush();
    [[noreturn]] void fail() const;

    QString m_target;
    QFile m_file;
    QByteArray m_buffer;
    qint64 m_columnsAt = 0; // where the sheet's column count goes once it is known
    qsizetype m_columns = 1;
};

} // namespace orvella::tables

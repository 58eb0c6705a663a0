#pragma once

#include "core/AppInfo.h"
#include "core/PointerState.h"
#include "commands/SuffixEditorCommands.h"
#include "lists/SuffixList.h"
#include "suffixes/SuffixStore.h"
#include "support/CommandFixture.h"
#include "support/Files.h"

#include <QCoreApplication>
#include <QTemporaryDir>

namespace orvella::testing {

inline const QString kTwine = QStringLiteral("!!!TWINE!!!");

inline QStringList defaultSuffixList()
{
    return QStringList(suffixes::defaultSuffixes().begin(), suffixes::defaultSuffixes().end());
}

// A report's place line for a procedure of the suffix list editor.
inline QString editorReportLine(const char *procedure, int step)
{
    return QStringLiteral("in %1.Form2.%2 at line %3")
        .arg(QLatin1String(core::kProjectLabel), QLatin1String(procedure))
        .arg(step);
}

// What the editor's command tests share: its list set to known entries and the
// settings' write record emptied, files placed in a folder of the test's own.
template<typename Base>
struct EditorParts : Base {
    QTemporaryDir folder;

    virtual lists::NameListModel &list() = 0;
    QStringList entries() { return itemsOf(list()); }
    void setEntries(const QStringList &entries)
    {
        list().clear();
        list().appendMany(entries);
        QCoreApplication::processEvents();
        this->settings.writes.clear();
    }
    QString file(const QString &name, const QByteArray &bytes)
    {
        const QString path = folder.filePath(name);
        writeBytes(path, bytes);
        return path;
    }
    QStringList reportNames() const
    {
        QStringList names;
        for (const auto &m : this->desktop.errorReports())
            names << m.text.section(QLatin1Char('\n'), 1).section(QLatin1Char('\r'), 0, 0);
        return names;
    }
};

// The editor's commands over a live list and a pointer of their own, without a window.
struct EditorCommandsFixture : EditorParts<CommandFixture> {
    lists::SuffixList live;
    core::PointerState editorPointer;
    commands::SuffixEditorCommands editorCommands{context, live, editorPointer};

    explicit EditorCommandsFixture(const QStringList &entries = {"Jr.", "Sr.", "III"}) { setEntries(entries); }
    commands::SuffixEditorCommands &commands() { return editorCommands; }
    lists::NameListModel &list() override { return live.model(); }
    void busy(bool on) { editorPointer.set(on ? core::Pointer::Busy : core::Pointer::Default); }
};

} // namespace orvella::testing

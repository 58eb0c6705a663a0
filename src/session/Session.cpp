#include "session/Session.h"

#include "core/AppInfo.h"
#include "core/ErrorReport.h"
#include "core/Procedure.h"
#include "commands/ExportCommands.h"
#include "commands/PaperCommand.h"
#include "commands/GroupCommand.h"
#include "commands/ResultExportCommand.h"
#include "commands/ListCommands.h"
#include "commands/ListFileCommands.h"
#include "commands/SortCommand.h"
#include "commands/SuffixEditorCommands.h"
#include "suffixes/SuffixStore.h"

namespace orvella::session {

Session::Session(core::Desktop &desktop, core::SettingsStore &settings)
    : m_desktop(desktop),
      m_settings(settings),
      m_input(QStringLiteral(" Name(s)")),
      m_results(QStringLiteral("Result(s)")),
      m_context{desktop, settings, m_input, m_results, m_progress, m_pointer, core::applicationTitle(), {}, nullptr},
      m_options(settings),
      m_suffixCommands(
          std::make_unique<commands::SuffixEditorCommands>(m_context, m_suffixList, m_suffixEditorPointer)),
      m_sort(std::make_unique<commands::SortCommand>(m_context, m_options,
                                                    [this](QStringView word) { return isSuffix(word); })),
      m_lists(std::make_unique<commands::ListCommands>(m_context)),
      m_listFiles(std::make_unique<commands::ListFileCommands>(m_context)),
      m_exports(std::make_unique<commands::ExportCommands>(m_context)),
      m_resultExport(std::make_unique<commands::ResultExportCommand>(
          m_context, [this] { return m_sort->resultPartsReader(); })),
      m_print(std::make_unique<commands::PaperCommand>(m_context, [this] { return m_sort->resultPartsReader(); })),
      m_group(std::make_unique<commands::GroupCommand>(m_context))
{
    m_sort->setGroupingSource([this] { return m_group->current(); });
}

Session::~Session() = default;

lists::SuffixList &Session::suffixList()
{
    if (!m_suffixListLoaded) {
        m_suffixListLoaded = true;
        core::Procedure p(m_desktop, core::kSuffixEditorModule, "Form_Load");
        p.step(114, [&] { m_suffixList.model().appendMany(suffixes::storedSuffixList(m_settings)); });
    }
    return m_suffixList;
}

void Session::restore(const std::function<void(core::Procedure &)> &afterOptions)
{
    core::Procedure p(m_desktop, core::kMainWindowModule, "Form_Load");
    m_options.restore(p); // steps 130 to 150
    if (afterOptions)
        afterOptions(p);
    m_options.reading().restore(p); // steps 156 to 170
}

void Session::openFiles(const QList<QByteArray> &paths)
{
    m_listFiles->appendStartFiles(paths);
}

} // namespace orvella::session

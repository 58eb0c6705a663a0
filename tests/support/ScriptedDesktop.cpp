#include "support/ScriptedDesktop.h"

#include "core/ErrorReport.h"
#include "core/Spreadsheet.h"

#include <QFileInfo>

namespace orvella::testing {

QStringList ScriptedDesktop::messageTexts() const
{
    QStringList texts;
    for (const Message &m : messages)
        texts << m.text;
    return texts;
}

std::vector<ScriptedDesktop::Message> ScriptedDesktop::errorReports() const
{
    std::vector<Message> reports;
    for (const Message &m : messages) {
        if (m.title == QLatin1String(core::kErrorReportTitle))
            reports.push_back(m);
    }
    return reports;
}

QStringList ScriptedDesktop::reportPlaces() const
{
    static const QString lead = QStringLiteral("\r\nin Orvella2021/08/31.");
    QStringList places;
    for (const Message &report : errorReports()) {
        const qsizetype start = report.text.indexOf(lead) + lead.size();
        places << report.text.mid(start, report.text.indexOf(QLatin1String("\r\r")) - start);
    }
    return places;
}

int ScriptedDesktop::messageBox(const QString &text, int style, const QString &title)
{
    messages.push_back({text, style, title});
    if (onMessage)
        onMessage(messages.back());
    if (!messageAnswers.empty()) {
        const int answer = messageAnswers.front();
        messageAnswers.pop_front();
        return answer;
    }
    return style == core::MessageStyle::YesNo ? core::MessageAnswer::Yes : core::MessageAnswer::Ok;
}

QString ScriptedDesktop::inputBox(const QString &prompt, const QString &title, const QString &defaultText)
{
    inputs.push_back({prompt, title, defaultText});
    if (inputAnswers.empty())
        return QString();
    QString answer = inputAnswers.front();
    inputAnswers.pop_front();
    return answer;
}

QString ScriptedDesktop::openFileDialog(const core::FileDialogRequest &request)
{
    dialogs.push_back({false, request});
    if (openAnswers.empty())
        return QString();
    QString answer = openAnswers.front();
    openAnswers.pop_front();
    return answer;
}

QString ScriptedDesktop::saveFileDialog(const core::FileDialogRequest &request)
{
    dialogs.push_back({true, request});
    if (request.exportOptions)
        exportProposals.push_back(*request.exportOptions);
    if (saveAnswers.empty())
        return QString();
    QString answer = saveAnswers.front();
    saveAnswers.pop_front();
    if (request.exportOptions && !exportAnswers.empty()) {
        *request.exportOptions = exportAnswers.front();
        exportAnswers.pop_front();
    }
    if (request.confirmOverwrite && QFileInfo::exists(answer)) {
        overwriteQuestions << answer;
        const bool replace = overwriteAnswers.empty() || overwriteAnswers.front();
        if (!overwriteAnswers.empty())
            overwriteAnswers.pop_front();
        if (!replace)
            return QString();
    }
    return answer;
}

core::ColumnChoice ScriptedDesktop::chooseNameColumns(const core::ColumnRequest &request)
{
    columnRequests.push_back(request);
    if (columnAnswers.empty())
        return request.proposed;
    const core::ColumnChoice answer = columnAnswers.front();
    columnAnswers.pop_front();
    return answer;
}

bool ScriptedDesktop::answerPaper(const core::PaperRequest &request,
                                  std::deque<std::optional<core::PaperChoices>> &answers)
{
    paperProposals.push_back(*request.choices);
    paperColumns.push_back(request.columns);
    if (answers.empty())
        return true;
    const std::optional<core::PaperChoices> answer = answers.front();
    answers.pop_front();
    if (answer)
        *request.choices = *answer;
    return answer.has_value();
}

bool ScriptedDesktop::choosePaperLayout(const core::PaperRequest &request)
{
    return answerPaper(request, paperAnswers);
}

bool ScriptedDesktop::printPages(const core::PrintRequest &request)
{
    const bool printed = answerPaper(request.paper, printAnswers);
    if (printed && printDevice)
        request.paint(*printDevice, *request.paper.choices);
    return printed;
}

std::optional<core::RowGrouping> ScriptedDesktop::chooseRowGrouping(const core::GroupingRequest &request)
{
    groupingRequests.push_back(request);
    if (groupingAnswers.empty())
        return std::nullopt;
    const std::optional<core::RowGrouping> answer = groupingAnswers.front();
    groupingAnswers.pop_front();
    return answer;
}

void ScriptedDesktop::yield()
{
    ++yields;
    if (onEveryYield)
        onEveryYield();
    const auto found = m_atYield.find(yields);
    if (found != m_atYield.end()) {
        const auto actions = std::move(found->second);
        m_atYield.erase(found);
        for (const auto &action : actions)
            action();
    }
}

bool ScriptedDesktop::clearClipboard()
{
    ++clipboardAttempts;
    if (clipboardRefusals > 0) {
        --clipboardRefusals;
        return false;
    }
    clipboard.clear();
    clipboardHasText = false;
    return true;
}

bool ScriptedDesktop::setClipboardText(const QString &text)
{
    ++clipboardAttempts;
    if (clipboardRefusals > 0) {
        --clipboardRefusals;
        return false;
    }
    clipboard = text;
    clipboardHasText = true;
    return true;
}

std::unique_ptr<core::Spreadsheet> ScriptedDesktop::createSpreadsheet()
{
    return spreadsheetFactory ? spreadsheetFactory() : nullptr;
}

bool ScriptedDesktop::spreadsheetAvailable()
{
    return spreadsheetInstalled;
}

bool ScriptedDesktop::openUrl(const QString &url)
{
    openedUrls << url;
    return true;
}

void ScriptedDesktop::endProgram()
{
    ++endProgramCalls;
    if (onEndProgram)
        onEndProgram();
}

} // namespace orvella::testing

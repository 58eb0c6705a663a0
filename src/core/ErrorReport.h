#pragma once

#include <QString>

namespace orvella::core {

class Desktop;

// The uniform report of a failed step: the failure's description, where it happened
// and whom to tell, shown in one exclamation box titled "Application Error".
QString errorReportText(const QString &description, const QString &module, const QString &procedure,
                        int step);
void showErrorReport(Desktop &desktop, const QString &description, const QString &module,
                     const QString &procedure, int step);

inline constexpr const char *kErrorReportTitle = "Application Error";

// The module names the reports give for the steps of each window and of the commands
// behind it.
inline constexpr const char *kMainWindowModule = "Form1";
inline constexpr const char *kSuffixEditorModule = "Form2";

} // namespace orvella::core

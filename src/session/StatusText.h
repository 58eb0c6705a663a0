#pragma once

#include <QString>

namespace orvella::session {

// The status line under the main window: the counts of both lists, then what the last
// command did. "1,000,000 names · 998,731 results · sorted in 0.9 s"
QString statusText(int names, int results, const QString &lastDone);

} // namespace orvella::session

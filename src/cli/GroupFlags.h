#pragma once

#include "cli/SortRequest.h"

#include <QString>
#include <optional>

namespace orvella::session {
class Session;
} // namespace orvella::session

namespace orvella::cli {

// Puts --group-by, --group-order and --same-rows-by over the grouping the window keeps
// for the header of the input's first table, for the run to come. Answers the usage
// error when that table has no such column (and changes nothing then).
std::optional<QString> applyGroupFlags(const SortRequest &request, session::Session &session);

} // namespace orvella::cli

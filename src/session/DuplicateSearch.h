#pragma once

#include "names/LikelyDuplicates.h"

#include <functional>
#include <vector>

namespace orvella::session {

class Session;

// "Find Likely Duplicates": the groups of the input list's names that are probably one
// person, read with the session's word lists and nickname list. Positions are 0-based
// in the input list. yield is called now and then.
std::vector<names::DuplicateGroup> findInputDuplicates(Session &session, const std::function<void()> &yield = {});

} // namespace orvella::session

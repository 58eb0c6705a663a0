#pragma once

#include "core/ControlTable.h"

#include <span>

namespace orvella::suffixes {

// The suffix list editor's client size, in twips.
inline constexpr int kSuffixEditorWidth = 8040;
inline constexpr int kSuffixEditorHeight = 5625;

// The editor's controls as designed, in creation and tab order.
std::span<const core::ControlLayout> suffixEditorControls();

} // namespace orvella::suffixes

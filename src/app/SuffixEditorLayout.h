#pragma once

#include "ui/ControlTable.h"

#include <span>

namespace orvella::app {

// The suffix list editor's client size, in twips.
inline constexpr int kSuffixEditorWidth = 8040;
inline constexpr int kSuffixEditorHeight = 5625;

// The editor's controls as designed, in creation and tab order.
std::span<const ui::ControlLayout> suffixEditorControls();

} // namespace orvella::app

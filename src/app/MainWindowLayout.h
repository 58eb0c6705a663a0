#pragma once

#include "ui/ControlTable.h"

#include <span>

namespace orvella::app {

// The main window's client size, in twips.
inline constexpr int kMainWindowWidth = 15960;
inline constexpr int kMainWindowHeight = 7200;

// The main window's controls as designed, in creation and tab order.
std::span<const ui::ControlLayout> mainWindowControls();

} // namespace orvella::app

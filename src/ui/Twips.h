#pragma once

#include <QRect>
#include <cmath>

namespace orvella::ui {

// Window positions are designed in twips; 15 twips are one pixel at 96 dpi. Qt scales
// these logical pixels on denser screens.
constexpr int twips(int value)
{
    return static_cast<int>(value / 15.0 + (value >= 0 ? 0.5 : -0.5));
}

constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

} // namespace orvella::ui

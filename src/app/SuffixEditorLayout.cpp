#include "app/SuffixEditorLayout.h"

#include "core/AppInfo.h"

namespace orvella::app {

using namespace orvella::ui;
namespace {

using enum ui::ControlKind;
using enum ui::ControlFont;

// name, kind, caption, container, left, top, width, height (twips), font
const ui::ControlLayout kControls[] = {
    {"ListView1", List, nullptr, nullptr, 120, 120, 7800, 3015, Small},
    // The caption's leading spaces leave room for Label4, which lies over its right part.
    {"Label3", Label, "                   This default list was found at:", nullptr, 120, 3220, 7800, 255, Small},
    {"Label4", Label, core::kSuffixSourcePage, nullptr, 3600, 3225, 3330, 225, Small},
    {"PushButton6", PushButton, "Add One", nullptr, 120, 3580, 3840, 405, Large},
    {"PushButton1", PushButton, "Edit Selected", nullptr, 4080, 3580, 3840, 405, Large},
    {"PushButton3", PushButton, "Delete Selected", nullptr, 120, 4090, 3840, 405, Large},
    {"PushButton5", PushButton, "Clear List", nullptr, 4080, 4090, 3840, 405, Large},
    {"PushButton4", PushButton, "Load List From File", nullptr, 120, 4605, 3840, 405, Large},
    {"PushButton8", PushButton, "Save List To Text File", nullptr, 4080, 4605, 3840, 405, Large},
    {"PushButton7", PushButton, "Reset To Default List", nullptr, 120, 5110, 3840, 405, Large},
    {"PushButton2", PushButton, "Exit", nullptr, 4080, 5110, 3840, 405, Large},
};

} // namespace

std::span<const ui::ControlLayout> suffixEditorControls()
{
    return kControls;
}

} // namespace orvella::app

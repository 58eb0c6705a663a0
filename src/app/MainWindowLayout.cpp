#include "app/MainWindowLayout.h"

namespace orvella::app {

using namespace orvella::ui;
namespace {

using enum ui::ControlKind;
using enum ui::ControlFont;

// name, kind, caption, container, left, top, width, height (twips), font
const ui::ControlLayout kControls[] = {
    {"ListView1", List, nullptr, nullptr, 120, 120, 7800, 1815, Small},
    {"ListView2", List, nullptr, nullptr, 8040, 630, 7800, 4930, Small},
    {"PushButton6", PushButton, "Add One Name", nullptr, 120, 2020, 3840, 405, Large},
    {"PushButton3", PushButton, "Load List Of Names From File", nullptr, 4080, 2020, 3840, 405, Large},
    {"PushButton1", PushButton, "Clear List", nullptr, 120, 2530, 3840, 405, Large},
    {"PushButton17", PushButton, "Start Sorting", nullptr, 8040, 120, 7800, 405, Large},
    {"PushButton4", PushButton, "Save Results As Text File", nullptr, 8040, 5660, 3840, 405, Large},
    {"PushButton13", PushButton, "Save Results As Excel File", nullptr, 12000, 5660, 3840, 405, Large},
    {"PushButton2", PushButton, "Clear Results", nullptr, 12000, 6170, 3840, 405, Large},
    {"ProgressBar1", ProgressBar, nullptr, nullptr, 8040, 6690, 7800, 405, Small},
    {"Frame1", Frame, "Filter Options", nullptr, 120, 5640, 7800, 1455, Small},
    {"Check5", CheckBox, "Remove duplicates from results", "Frame1", 240, 300, 3525, 255, Small},
    {"PushButton5", PushButton, "Copy Results To Clipboard", nullptr, 8040, 6170, 3840, 405, Large},
    {"PushButton7", PushButton, "Load Sample/Example Names", nullptr, 4080, 2530, 3840, 405, Large},
    {"Check1", CheckBox, "Keep unique last names, discard duplicate last names", "Frame1", 240, 650, 5085, 255, Small},
    {"Check2", CheckBox, "Keep only this number of names per last name:", "Frame1", 240, 1000, 4845, 255, Small},
    {"Text1", TextBox, "5", "Frame1", 4680, 960, 1215, 345, Small},
    {"Frame2", Frame, "Sort Option", nullptr, 120, 3480, 7800, 2130, Small},
    {"Option1", OptionButton, "Sort by Last/First", "Frame2", 240, 300, 3255, 255, Small},
    {"Option2", OptionButton, "Sort by First/Last", "Frame2", 240, 1725, 4455, 255, Small},
    {"Frame3", Frame, "Last/First Additional Option", "Frame2", 480, 570, 7080, 1050, Small},
    {"Option3", OptionButton, "Sort by last word but ignore common suffixes like Jr. Sr. III etc.", "Frame3", 240,
     300, 5655, 255, Small},
    {"Option4", OptionButton, "Sort by last word", "Frame3", 240, 650, 1815, 255, Small},
    {"PushButton15", PushButton, "List", "Frame3", 6000, 270, 840, 315, Large},
    {"PushButton8", PushButton, "Help", nullptr, 120, 3040, 3840, 405, Large},
    {"PushButton9", PushButton, "Save List Of Names To File", nullptr, 4080, 3040, 3840, 405, Large},
};

} // namespace

std::span<const ui::ControlLayout> mainWindowControls()
{
    return kControls;
}

} // namespace orvella::app

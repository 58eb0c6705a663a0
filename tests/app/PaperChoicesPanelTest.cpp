// The paper layout's choices beside the print preview and before a PDF: the panel shows
// the choices it is given and answers them back, answers what its controls are set to,
// and greys the other layout's choices.
#include "app/PaperChoicesPanel.h"
#include "ui/support/Controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QSignalSpy>
#include <QSpinBox>

#include <functional>
#include <gtest/gtest.h>

using namespace orvella;
using app::PaperChoicesPanel;
using orvella::testing::control;

namespace {

const QStringList kColumns = {"Last, First", "First name", "Last name", "Homeroom"};

struct PanelCase {
    const char *name;
    std::function<void(core::PaperChoices &)> choose;
};

class PanelChoices : public ::testing::TestWithParam<PanelCase> {};

TEST_P(PanelChoices, AnswerWhatTheyShow)
{
    core::PaperChoices choices;
    choices.title = QStringLiteral("Class 7");
    GetParam().choose(choices);
    PaperChoicesPanel panel(choices, kColumns, nullptr);
    EXPECT_EQ(panel.choices(), choices);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, PanelChoices,
    ::testing::Values(PanelCase{"Defaults", [](core::PaperChoices &) {}},
                      PanelCase{"ListWithEverything",
                                [](core::PaperChoices &c) {
                                    c.columns = {"First name", "Homeroom"};
                                    c.letterHeadings = false;
                                    c.groupPages = false;
                                    c.namesColumns = 3;
                                    c.checkBoxes = true;
                                    c.pageSize = core::PaperSize::Letter;
                                    c.landscape = true;
                                }},
                      PanelCase{"CustomBadges",
                                [](core::PaperChoices &c) {
                                    c.layout = core::PaperLayout::Badges;
                                    c.sheet = core::BadgeSheet::Custom;
                                    c.badgeRows = 6;
                                    c.badgeColumns = 3;
                                    c.badgeMarginMm = 4;
                                    c.badgeExtra = QStringLiteral("Homeroom");
                                }},
                      PanelCase{"TwoByFive",
                                [](core::PaperChoices &c) {
                                    c.layout = core::PaperLayout::Badges;
                                    c.sheet = core::BadgeSheet::TwoByFive;
                                }}),
    [](const auto &info) { return std::string(info.param.name); });

// Setting the controls changes the answer and tells each change; choosing badges greys
// the list's choices, and the custom sheet's numbers are greyed for a common sheet.
TEST(PanelControls, SetTheAnswerAndGreyTheOtherLayout)
{
    PaperChoicesPanel panel(core::PaperChoices(), kColumns, nullptr);
    QSignalSpy changes(&panel, &PaperChoicesPanel::changed);
    auto *layout = control<QComboBox>(panel, "PaperLayout");
    auto *rows = control<QSpinBox>(panel, "PaperBadgeRows");
    EXPECT_FALSE(control<QComboBox>(panel, "PaperSheet")->isEnabled());
    layout->setCurrentIndex(1);
    EXPECT_EQ(panel.choices().layout, core::PaperLayout::Badges);
    EXPECT_FALSE(control<QListWidget>(panel, "PaperColumns")->isEnabled());
    EXPECT_TRUE(control<QComboBox>(panel, "PaperSheet")->isEnabled());
    EXPECT_FALSE(rows->isEnabled());
    control<QComboBox>(panel, "PaperSheet")->setCurrentIndex(2);
    EXPECT_TRUE(rows->isEnabled());
    rows->setValue(7);
    control<QListWidget>(panel, "PaperColumns")->item(3)->setCheckState(Qt::Checked);
    const core::PaperChoices answer = panel.choices();
    EXPECT_EQ(answer.sheet, core::BadgeSheet::Custom);
    EXPECT_EQ(answer.badgeRows, 7);
    EXPECT_EQ(answer.columns, QStringList({"Last, First", "Homeroom"}));
    EXPECT_EQ(changes.count(), 4);
}

} // namespace

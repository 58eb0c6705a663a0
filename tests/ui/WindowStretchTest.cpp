// The rules that fit a window to its size and the screen, and the buttons' access keys.

#include "ui/Mnemonics.h"
#include "ui/RememberedSize.h"
#include "ui/WindowPlacement.h"
#include "ui/WindowStretch.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

using namespace orvella::ui;

namespace {

using enum ControlKind;
using enum ControlFont;

// A window of 300 x 200 pixels: a list with a button below it on the left, a frame
// holding a check box on the right.
const ControlLayout kTable[] = {
    {"List", List, nullptr, nullptr, 150, 150, 1800, 1500, Small},          // 10, 10, 120, 100
    {"Button", PushButton, "Go", nullptr, 150, 1800, 1800, 300, Large},     // 10, 120, 120, 20
    {"Frame", Frame, "Choices", nullptr, 2100, 150, 2250, 2700, Small},     // 140, 10, 150, 180
    {"Check", CheckBox, "Keep", "Frame", 150, 300, 1500, 300, Small},       // 10, 20, 100, 20
};
const QSize kDesigned(300, 200);

TEST(WindowStretch, ListsTakeTheHeightEveryControlTheWidthSmallerIsZoomed)
{
    struct Case {
        QSize client;
        double zoom;
        QList<QRect> rects; // List, Button, Frame, Check
    };
    const Case cases[] = {
        {{300, 200}, 1.0, {{10, 10, 120, 100}, {10, 120, 120, 20}, {140, 10, 150, 180}, {10, 20, 100, 20}}},
        // wider: every control in proportion
        {{600, 200}, 1.0, {{20, 10, 240, 100}, {20, 120, 240, 20}, {280, 10, 300, 180}, {20, 20, 200, 20}}},
        // taller: the list grows, the button below it moves down, the frame keeps its height
        {{300, 300}, 1.0, {{10, 10, 120, 200}, {10, 220, 120, 20}, {140, 10, 150, 180}, {10, 20, 100, 20}}},
        {{450, 260}, 1.0, {{15, 10, 180, 160}, {15, 180, 180, 20}, {210, 10, 225, 180}, {15, 20, 150, 20}}},
        // narrower: zoomed to half; the height left over goes to the list
        {{150, 200}, 0.5, {{5, 5, 60, 150}, {5, 160, 60, 10}, {70, 5, 75, 90}, {5, 10, 50, 10}}},
        // lower and wider: zoomed to half, then stretched across
        {{600, 100}, 0.5, {{20, 5, 240, 50}, {20, 60, 240, 10}, {280, 5, 300, 90}, {20, 10, 200, 10}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.client.width() << "x" << c.client.height());
        EXPECT_EQ(zoomFor(kDesigned, c.client), c.zoom);
        EXPECT_EQ(stretchedRects(kTable, kDesigned, c.client), c.rects);
    }
}

TEST(WindowStretch, OpeningSizeFitsTheRoomAndKeepsTheStoredSizeWithinIt)
{
    const QSize designed(1064, 480);
    struct Case {
        QSize room;
        std::optional<QSize> stored;
        QSize opening;
    };
    const Case cases[] = {
        {{1264, 700}, std::nullopt, {1064, 480}},     // fits: the designed size
        {{1064, 480}, std::nullopt, {1064, 480}},     // just fits
        {{798, 700}, std::nullopt, {798, 360}},       // too narrow: zoomed by 0.75
        {{1264, 240}, std::nullopt, {532, 240}},      // too low: zoomed by 0.5
        {{300, 100}, std::nullopt, {532, 240}},       // never below half
        {{1264, 700}, QSize(1200, 600), {1200, 600}}, // stored, within the room
        {{1264, 700}, QSize(2000, 900), {1264, 700}}, // stored, larger than the screen
        {{1264, 700}, QSize(500, 300), {1064, 480}},  // stored, smaller than designed
        {{798, 700}, QSize(900, 400), {798, 400}},    // stored, on a screen too narrow
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.room.width() << "x" << c.room.height());
        EXPECT_EQ(openingClientSize(designed, c.room, c.stored), c.opening);
    }
}

TEST(WindowPlacement, FrameIsMovedTheShortestWayOntoTheScreenAndCutOnlyWhenLarger)
{
    const QRect available(0, 30, 1280, 770); // a panel across the top
    struct Case {
        QRect frame, placed;
    };
    const Case cases[] = {
        {{100, 100, 400, 300}, {100, 100, 400, 300}},    // on the screen: left alone
        {{1100, 600, 400, 300}, {880, 500, 400, 300}},   // off the bottom right corner
        {{-50, 0, 400, 300}, {0, 30, 400, 300}},         // above the panel, off the left
        {{900, 100, 400, 300}, {880, 100, 400, 300}},    // only across
        {{200, 100, 1500, 300}, {0, 100, 1280, 300}},    // wider than the screen
        {{200, 500, 1500, 900}, {0, 30, 1280, 770}},     // larger both ways
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.frame.x() << "," << c.frame.y());
        EXPECT_EQ(placedWithin(c.frame, available), c.placed);
    }
}

TEST(RememberedSize, SizeTextReadsBackAndAnythingElseIsNoSize)
{
    EXPECT_EQ(sizeText(QSize(1200, 700)), "1200x700");
    EXPECT_EQ(sizeFromText("1200x700"), QSize(1200, 700));
    EXPECT_EQ(sizeFromText(" 640x480\r"), QSize(640, 480));
    for (const char *bad : {"", "1200", "1200x", "x700", "1200X700", "1200 x 700", "0x700", "1200x0", "-5x7",
                            "1200x700x3", "200000x700", "12345678x9", "banana"})
        EXPECT_EQ(sizeFromText(QString::fromLatin1(bad)), std::nullopt) << bad;
}

TEST(Mnemonics, WordStartsFirstThenAnyLetterNeverAReservedOrTakenOne)
{
    struct Case {
        QStringList captions;
        QString reserved;
        QStringList marked;
    };
    const Case cases[] = {
        {{"Add One Name", "Load List Of Names From File", "Clear List", "Start Sorting", "Save Results As Text File",
          "Save Results As Excel File", "Clear Results", "Copy Results To Clipboard", "Load Sample/Example Names",
          "List", "Help", "Save List Of Names To File"},
         "ORH",
         {"&Add One Name", "&Load List Of Names From File", "&Clear List", "&Start Sorting",
          "Save Results As &Text File", "Save Results As &Excel File", "Clear Res&ults", "Co&py Results To Clipboard",
          "Load Sample/Example &Names", "L&ist", "Help", "Save List Of Names To &File"}},
        {{"Add One", "Edit Selected", "Delete Selected", "Clear List", "Load List From File", "Save List To Text File",
          "Reset To Default List", "Exit"},
         "",
         {"&Add One", "&Edit Selected", "&Delete Selected", "&Clear List", "&Load List From File",
          "&Save List To Text File", "&Reset To Default List", "E&xit"}},
        {{"Salt & Pepper", "salt"}, "", {"&Salt && Pepper", "s&alt"}},
        {{"ok", "OK", "K"}, "", {"&ok", "OK", "&K"}}, // no letter left for the second
    };
    for (const Case &c : cases) {
        const QStringList marked = withMnemonics(c.captions, c.reserved);
        EXPECT_EQ(marked, c.marked);
        for (qsizetype i = 0; i < marked.size(); ++i)
            EXPECT_EQ(shownCaption(marked[i]), c.captions[i]);
    }
}

} // namespace

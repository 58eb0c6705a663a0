// The session without a window: the start-up restore, shared by the window and the
// command line, and the live suffix list, which comes into being on first need under
// the suffix list editor's start-up step, whoever asks first.

#include "session/Session.h"
#include "commands/SortCommand.h"
#include "commands/EditorFixtures.h"
#include "support/MemorySettings.h"
#include "support/ScriptedDesktop.h"

#include <gtest/gtest.h>

using namespace orvella;
using namespace orvella::testing;

namespace {

struct SessionFixture {
    ScriptedDesktop desktop;
    MemorySettings settings;
    session::Session session{desktop, settings};

    QStringList sort(const QStringList &names)
    {
        session.inputList().clear();
        session.inputList().appendMany(names);
        session.sortCommand().run();
        return session.resultList().items();
    }
};

// The sort in the suffix-skipping reading loads the stored list (the defaults here) when
// it first reads a name, and sees later edits to it.
TEST(Session, TheSortLoadsTheLiveSuffixListOnFirstNeedAndSeesItsEdits)
{
    SessionFixture f;
    f.session.options().chooseSortBy(orvella::names::SortBy::LastFirst);
    f.session.options().chooseLastWord(orvella::names::LastWordReading::SkipSuffixes);
    EXPECT_FALSE(f.session.suffixListLoaded());
    EXPECT_EQ(f.sort({"John Smith Jr.", "Ann Lee"}), (QStringList{"Ann Lee", "John Smith Jr."}));
    EXPECT_TRUE(f.session.suffixListLoaded());
    EXPECT_EQ(itemsOf(f.session.suffixList().model()), defaultSuffixList());
    f.session.suffixList().model().clear();
    f.session.suffixList().model().append("Lee");
    // "Lee" is now a suffix and "Jr." an ordinary last word.
    EXPECT_EQ(f.sort({"John Smith Jr.", "Ann Lee"}), (QStringList{"Ann Lee", "John Smith Jr."}));
    EXPECT_TRUE(f.session.isSuffix(u"lee"));
    EXPECT_TRUE(f.desktop.errorReports().empty());
}

// A stored list that cannot be read is reported once, as the editor's start-up step,
// and the sort goes on with an empty list.
TEST(Session, AnUnreadableStoredListIsReportedOnceAsTheEditorsStartUpStep)
{
    SessionFixture f;
    f.settings.unreadableKey = "SuffixList";
    f.session.options().chooseSortBy(orvella::names::SortBy::LastFirst);
    f.session.options().chooseLastWord(orvella::names::LastWordReading::SkipSuffixes);
    EXPECT_EQ(f.sort({"Bo Kim Jr.", "Al Ray"}), (QStringList{"Bo Kim Jr.", "Al Ray"}));
    f.sort({"Bo Kim Jr."});
    EXPECT_EQ(f.desktop.reportPlaces(), QStringList{"Form2.Form_Load at line 114"});
    EXPECT_TRUE(f.session.suffixList().model().isEmpty());
}

// The start-up takes the option and filter states and the reading choices from the
// store. What cannot be read is reported as a step of the main window's start-up, and
// the rest is restored all the same.
TEST(Session, RestoreTakesTheStoredChoicesAndReportsWhatItCannotRead)
{
    struct Case {
        QMap<QString, QString> stored;
        QStringList reported; // where the reports say the failure happened
        bool firstLast, alphabetical, keepLimited;
    };
    const Case cases[] = {
        {{}, {}, false, false, false},
        {{{"Option1", "False"}, {"Option2", "True"}, {"Order", "Alphabetical"}, {"Check2", "1"}},
         {},
         true, true, true},
        {{{"Option3", "banana"}, {"Order", "Alphabetical"}, {"Check2", "1"}},
         {"Form1.Form_Load at line 140"},
         false, true, true},
        {{{"Option2", "maybe"}, {"Option4", "?"}, {"Check2", "1"}},
         {"Form1.Form_Load at line 138", "Form1.Form_Load at line 142"},
         false, false, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(QStringList(c.stored.keys()).join(',').toStdString());
        SessionFixture f;
        f.settings.values = c.stored;
        f.session.restore();
        EXPECT_EQ(f.desktop.reportPlaces(), c.reported);
        for (const auto &report : f.desktop.errorReports())
            EXPECT_TRUE(report.text.startsWith("Type mismatch")) << report.text.toStdString();
        EXPECT_EQ(f.session.reading().choices().order == names::NameOrder::Alphabetical, c.alphabetical);
        EXPECT_EQ(f.session.options().keepLimited(), c.keepLimited);
        // The sort reads what was restored: by the first word, or by the last name.
        const QStringList byFirstWord{"Al Zed", "Bo Ann"}, byLastName{"Bo Ann", "Al Zed"};
        EXPECT_EQ(f.sort(byFirstWord), c.firstLast ? byFirstWord : byLastName);
    }
}

} // namespace

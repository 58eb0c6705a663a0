// The session without a window: the live suffix list comes into being on first need,
// under the suffix list editor's start-up step, whoever asks first.

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

} // namespace

#include "session/OptionSettings.h"
#include "core/ErrorReport.h"
#include "core/Procedure.h"
#include "support/MemorySettings.h"
#include "support/Printers.h"
#include "support/ScriptedDesktop.h"

#include <gtest/gtest.h>

#include <functional>

using namespace orvella::session;
using namespace orvella::core;
using orvella::testing::MemorySettings;
using orvella::testing::ScriptedDesktop;
using orvella::names::LastWordReading;
using orvella::names::SortBy;

namespace {

struct Options {
    MemorySettings settings;
    OptionSettings options{settings};
    ScriptedDesktop desktop;

    // Runs the start-up restore as Form_Load does.
    void restore()
    {
        Procedure p(desktop, "Form1", "Form_Load");
        options.restore(p);
    }
};

OptionStates statesWith(const std::function<void(OptionStates &)> &change)
{
    OptionStates s;
    change(s);
    return s;
}

// ---- Click and change rules --------------------------------------------------------

struct RuleCase {
    const char *name;
    std::function<void(OptionSettings &)> before; // brings the controls into a state (writes not checked)
    std::function<void(OptionSettings &)> action;
    QStringList writes;                          // in order
    std::function<void(OptionStates &)> expected; // from the design state
};

TEST(OptionRules, EachRuleWritesItsKeysInOrderAndTiesTheControls)
{
    const std::vector<RuleCase> cases = {
        {"Check5 ticked", nullptr, [](OptionSettings &o) { o.setRemoveDuplicates(true); }, {"Remove Duplicates=1"},
         [](OptionStates &s) { s.removeDuplicates = true; }},
        {"Check5 unticked",
         [](OptionSettings &o) { o.setRemoveDuplicates(true); },
         [](OptionSettings &o) { o.setRemoveDuplicates(false); },
         {"Remove Duplicates=0"},
         [](OptionStates &) {}},
        {"Check1 ticked alone", nullptr, [](OptionSettings &o) { o.setKeepUnique(true); }, {"Check1=1"},
         [](OptionStates &s) { s.lastNameFilter = LastNameFilter::KeepUnique; }},
        {"Check1 ticked while Check2 ticked: Check2's rule first",
         [](OptionSettings &o) { o.setKeepLimited(true); },
         [](OptionSettings &o) { o.setKeepUnique(true); },
         {"Check2=0", "Check1=1"},
         [](OptionStates &s) { s.lastNameFilter = LastNameFilter::KeepUnique; }},
        {"Check2 ticked enables Text1", nullptr, [](OptionSettings &o) { o.setKeepLimited(true); }, {"Check2=1"},
         [](OptionStates &s) { s.lastNameFilter = LastNameFilter::KeepLimited; }},
        {"Check2 ticked while Check1 ticked: Check1's rule first",
         [](OptionSettings &o) { o.setKeepUnique(true); },
         [](OptionSettings &o) { o.setKeepLimited(true); },
         {"Check1=0", "Check2=1"},
         [](OptionStates &s) { s.lastNameFilter = LastNameFilter::KeepLimited; }},
        {"Check2 unticked disables Text1",
         [](OptionSettings &o) { o.setKeepLimited(true); },
         [](OptionSettings &o) { o.setKeepLimited(false); },
         {"Check2=0"},
         [](OptionStates &) {}},
        {"Check1 unticked while Check2 ticked changes nothing",
         [](OptionSettings &o) { o.setKeepLimited(true); },
         [](OptionSettings &o) { o.setKeepUnique(false); },
         {},
         [](OptionStates &s) { s.lastNameFilter = LastNameFilter::KeepLimited; }},
        {"Option2 selected: Frame3 off, Option3/Option4 untouched", nullptr,
         [](OptionSettings &o) { o.chooseSortBy(SortBy::FirstLast); }, {"Option1=False", "Option2=True"},
         [](OptionStates &s) {
             s.sortBy = SortBy::FirstLast;
             s.lastWordEnabled = false;
         }},
        {"Option1 selected again: Frame3 on",
         [](OptionSettings &o) { o.chooseSortBy(SortBy::FirstLast); },
         [](OptionSettings &o) { o.chooseSortBy(SortBy::LastFirst); },
         {"Option1=True", "Option2=False"},
         [](OptionStates &) {}},
        {"Option4 selected", nullptr, [](OptionSettings &o) { o.chooseLastWord(LastWordReading::LastWord); },
         {"Option3=False", "Option4=True"},
         [](OptionStates &s) { s.lastWord = LastWordReading::LastWord; }},
        {"Option4 selected while Frame3 is off keeps Frame3 off",
         [](OptionSettings &o) { o.chooseSortBy(SortBy::FirstLast); },
         [](OptionSettings &o) { o.chooseLastWord(LastWordReading::LastWord); },
         {"Option3=False", "Option4=True"},
         [](OptionStates &s) {
             s.sortBy = SortBy::FirstLast;
             s.lastWordEnabled = false;
             s.lastWord = LastWordReading::LastWord;
         }},
        {"Text1: every change, numeric or not", nullptr,
         [](OptionSettings &o) {
             o.setLimitText("");
             o.setLimitText("7");
             o.setLimitText("7x");
         },
         {"Text1=", "Text1=7", "Text1=7x"},
         [](OptionStates &s) { s.limitText = "7x"; }},
        {"Assignments that change nothing run no rule", nullptr,
         [](OptionSettings &o) {
             o.setKeepUnique(false);
             o.chooseSortBy(SortBy::LastFirst);
             o.chooseLastWord(LastWordReading::SkipSuffixes);
             o.setLimitText("5");
         },
         {},
         [](OptionStates &) {}},
    };
    for (const RuleCase &c : cases) {
        SCOPED_TRACE(c.name);
        MemorySettings settings;
        OptionSettings options(settings);
        if (c.before)
            c.before(options);
        settings.writes.clear();
        c.action(options);
        EXPECT_EQ(settings.writes, c.writes);
        EXPECT_EQ(options.states(), statesWith(c.expected));
    }
}

TEST(OptionRules, CheckBoxesExcludeEachOtherAfterAnySequence)
{
    MemorySettings settings;
    OptionSettings options(settings);
    const bool sequence[][2] = {{true, false}, {false, true}, {true, false}, {true, true}, {false, false}};
    for (const auto &step : sequence) {
        options.setKeepUnique(step[0]);
        options.setKeepLimited(step[1]);
        const OptionStates &s = options.states();
        EXPECT_EQ(s.keepsLimited(), step[1]);
        EXPECT_EQ(s.keepsUnique(), step[0] && !step[1]);
        EXPECT_EQ(settings.values.value("Check1", "0"), s.keepsUnique() ? "1" : "0");
        EXPECT_EQ(settings.values.value("Check2", "0"), s.keepsLimited() ? "1" : "0");
    }
}

TEST(OptionRules, WindowIsToldOncePerAssignmentAfterAllRulesRan)
{
    MemorySettings settings;
    OptionSettings options(settings);
    options.setKeepLimited(true);
    std::vector<OptionStates> seen;
    QObject::connect(&options, &OptionSettings::statesChanged, [&] { seen.push_back(options.states()); });
    options.setKeepUnique(true); // runs Check2's rule inside Check1's
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(seen[0].keepsUnique());
    EXPECT_FALSE(seen[0].keepsLimited());
    EXPECT_FALSE(seen[0].limitTextEnabled());
    options.setKeepUnique(true); // no change
    EXPECT_EQ(seen.size(), 1u);
}

TEST(OptionRules, FailedWriteStillAppliesTheRuleAndIsHandedOut)
{
    MemorySettings settings;
    OptionSettings options(settings);
    settings.failWrites = true;
    options.chooseSortBy(SortBy::FirstLast);
    EXPECT_FALSE(options.states().lastWordEnabled);
    EXPECT_EQ(options.takeWriteFailures(), (QStringList{"The settings could not be written",
                                                        "The settings could not be written"}));
    EXPECT_TRUE(options.takeWriteFailures().isEmpty());
}

// ---- Reading rules -------------------------------------------------------------------

TEST(OptionReading, CheckBoxTickedExactlyWhenLeadingNumberIsOne)
{
    const std::pair<const char *, bool> table[] = {
        {"1", true},    {"01", true},  {"1.0", true},  {"1 x", true},  {" 1", true},  {"1e0", true},
        {"+1", true},   {"2", false},  {"-1", false},  {"", false},    {"0", false},  {"True", false},
        {"x1", false},  {"0.9", false}, {"banana", false}, {"10", false}, {"1.5", false},
    };
    for (const auto &[stored, ticked] : table) {
        SCOPED_TRACE(stored);
        EXPECT_EQ(OptionSettings::readTicked(stored), ticked);
        // And at start-up, for each of the three boxes, without a report.
        for (const QString key : {"Remove Duplicates", "Check1", "Check2"}) {
            Options o;
            o.settings.values[key] = stored;
            o.restore();
            const OptionStates &s = o.options.states();
            const bool shown = key == "Remove Duplicates" ? s.removeDuplicates
                : key == "Check1"                         ? s.keepsUnique()
                                                          : s.keepsLimited();
            EXPECT_EQ(shown, ticked) << key.toStdString();
            EXPECT_TRUE(o.desktop.messages.empty());
        }
    }
}

TEST(OptionReading, OptionValuesAreTruthValuesOthersAreReportedAtTheirStep)
{
    struct Row {
        const char *stored;
        std::optional<bool> selected; // empty: cannot be read
    };
    const Row table[] = {
        {"True", true},  {"tRUE", true},   {"FALSE", false}, {"1", true},        {"01", true},
        {"1.0", true},   {"2", true},      {"-1", true},     {"0", false},       {"0.0", false},
        {"", {}},        {"1 x", {}},      {"banana", {}},   {"Yes", {}},
    };
    const std::pair<int, int> optionSteps[] = {{1, 136}, {2, 138}, {3, 140}, {4, 142}};
    for (const Row &row : table) {
        for (const auto &[number, step] : optionSteps) {
            SCOPED_TRACE(QStringLiteral("Option%1 = \"%2\"").arg(number).arg(row.stored).toStdString());
            Options o;
            const QString key = QStringLiteral("Option%1").arg(number);
            o.settings.values[key] = row.stored;
            o.settings.values["Text1"] = "9"; // the last step still runs
            o.restore();
            const OptionStates &s = o.options.states();
            const bool states[] = {s.sortBy == SortBy::LastFirst, s.sortBy == SortBy::FirstLast,
                                   s.lastWord == LastWordReading::SkipSuffixes,
                                   s.lastWord == LastWordReading::LastWord};
            const bool designStates[] = {true, false, true, false};
            EXPECT_EQ(s.limitText, "9");
            if (!row.selected) {
                ASSERT_EQ(o.desktop.errorReports().size(), 1u);
                const QString text = o.desktop.errorReports()[0].text;
                EXPECT_TRUE(text.contains(QStringLiteral("in Orvella2021/08/31.Form1.Form_Load at line %1\r\r")
                                              .arg(step)))
                    << text.toStdString();
                EXPECT_TRUE(text.startsWith(QStringLiteral("Type mismatch"))) << text.toStdString();
                EXPECT_EQ(states[number - 1], designStates[number - 1]); // keeps its state
                continue;
            }
            EXPECT_TRUE(o.desktop.messages.empty());
            const bool firstOfPair = number % 2 == 1;
            if (*row.selected) {
                EXPECT_TRUE(states[number - 1]);
                EXPECT_FALSE(states[firstOfPair ? number : number - 2]); // partner deselected
            } else if (!firstOfPair) {
                EXPECT_FALSE(states[number - 1]);
            }
        }
    }
}

// ---- Restore -------------------------------------------------------------------------

TEST(OptionRestore, FirstRunShowsTheDesignStateAndWritesNothing)
{
    Options o;
    o.restore();
    EXPECT_EQ(o.options.states(), OptionStates{});
    const OptionStates &s = o.options.states();
    EXPECT_TRUE(s.sortBy == SortBy::LastFirst && s.lastWord == LastWordReading::SkipSuffixes && s.lastWordEnabled);
    EXPECT_FALSE(s.removeDuplicates || s.keepsUnique() || s.keepsLimited() || s.limitTextEnabled());
    EXPECT_EQ(s.limitText, "5");
    EXPECT_TRUE(o.settings.writes.isEmpty());
    EXPECT_TRUE(o.desktop.messages.empty());
}

TEST(OptionRestore, BothFilterBoxesStoredTickedEndsWithCheck2)
{
    Options o;
    o.settings.values = {{"Check1", "1"}, {"Check2", "1"}};
    o.restore();
    const OptionStates &s = o.options.states();
    EXPECT_FALSE(s.keepsUnique());
    EXPECT_TRUE(s.keepsLimited());
    EXPECT_TRUE(s.limitTextEnabled());
    // Check1 restored (writes itself back), then Check2's rule unticks it first.
    EXPECT_EQ(o.settings.writes, (QStringList{"Check1=1", "Check1=0", "Check2=1"}));
    EXPECT_EQ(o.settings.values.value("Check1"), "0");
}

TEST(OptionRestore, StoredChoicesComeBackInTheFixedOrder)
{
    Options o;
    o.settings.values = {{"Remove Duplicates", "1"}, {"Check1", "1"},     {"Option1", "False"},
                         {"Option2", "True"},        {"Option3", "False"}, {"Option4", "True"},
                         {"Text1", "12abc"}};
    o.restore();
    EXPECT_EQ(o.options.states(), statesWith([](OptionStates &s) {
                  s.removeDuplicates = true;
                  s.lastNameFilter = LastNameFilter::KeepUnique;
                  s.sortBy = SortBy::FirstLast;
                  s.lastWordEnabled = false;
                  s.lastWord = LastWordReading::LastWord;
                  s.limitText = "12abc"; // shown unchanged, not checked
              }));
    // Each changed control's rule writes the same value back, in restore order. The
    // deselected Option1 and Option3 write nothing: their partners are still to be read.
    EXPECT_EQ(o.settings.writes, (QStringList{"Remove Duplicates=1", "Check1=1", "Option1=False", "Option2=True",
                                              "Option3=False", "Option4=True", "Text1=12abc"}));
    EXPECT_TRUE(o.desktop.messages.empty());
}

TEST(OptionRestore, SecondButtonOfAPairStoredSelectedSurvivesTheRestore)
{
    // Restoring Option1 = "False" must not overwrite the stored Option2 = "True" before
    // it is read; likewise for Option3/Option4.
    Options o;
    o.settings.values = {{"Option1", "False"}, {"Option2", "True"}, {"Option3", "False"}, {"Option4", "True"}};
    o.restore();
    EXPECT_EQ(o.options.states().sortBy, SortBy::FirstLast);
    EXPECT_EQ(o.options.states().lastWord, LastWordReading::LastWord);
    EXPECT_FALSE(o.options.states().lastWordEnabled);
    o.settings.writes.clear();
    Options next; // and the next start sees the same
    next.settings.values = o.settings.values;
    next.restore();
    EXPECT_EQ(next.options.states(), o.options.states());
}

TEST(OptionRestore, GroupLeftWithoutSelectionFallsBackToItsDesignChoice)
{
    struct Case {
        QMap<QString, QString> stored;
        SortBy sortBy;
        LastWordReading lastWord;
        QStringList writes; // the design choice is written back once the pair is read
    };
    const Case cases[] = {
        // Both marked: the later one wins.
        {{{"Option1", "0"}, {"Option2", "0"}, {"Option3", "True"}, {"Option4", "True"}},
         SortBy::LastFirst,
         LastWordReading::LastWord,
         {"Option3=False", "Option4=True", "Option1=True", "Option2=False"}},
        {{{"Option3", "False"}}, SortBy::LastFirst, LastWordReading::SkipSuffixes, {"Option3=True", "Option4=False"}},
        {{{"Option1", "False"}, {"Option2", "banana"}, {"Option3", "False"}, {"Option4", "False"}},
         SortBy::LastFirst,
         LastWordReading::SkipSuffixes,
         {"Option1=True", "Option2=False", "Option3=True", "Option4=False"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.writes.join(" ").toStdString());
        Options o;
        o.settings.values = c.stored;
        o.restore();
        const OptionStates &s = o.options.states();
        EXPECT_EQ(s.sortBy, c.sortBy);
        EXPECT_TRUE(s.lastWordEnabled);
        EXPECT_EQ(s.lastWord, c.lastWord);
        EXPECT_EQ(o.settings.writes, c.writes);
        // A click after the restore writes as any click does.
        o.settings.writes.clear();
        o.options.chooseSortBy(SortBy::LastFirst);
        EXPECT_TRUE(o.settings.writes.isEmpty());
    }
}

TEST(OptionRestore, WriteFailureIsReportedAtTheRestoringStepAndTheRestoreGoesOn)
{
    Options o;
    o.settings.values = {{"Check2", "1"}, {"Option2", "True"}, {"Text1", "3"}};
    o.settings.failWrites = true;
    o.restore();
    const OptionStates &s = o.options.states();
    EXPECT_TRUE(s.keepsLimited());
    EXPECT_EQ(s.sortBy, SortBy::FirstLast);
    EXPECT_FALSE(s.lastWordEnabled);
    EXPECT_EQ(s.limitText, "3");
    // Check2's, Option2's and Text1's write, each in a report of its own.
    EXPECT_EQ(o.desktop.reportPlaces(), (QStringList{"Form1.Form_Load at line 134", "Form1.Form_Load at line 138",
                                                     "Form1.Form_Load at line 150"}));
}

} // namespace

// ---- Reading choices ------------------------------------------------------------------

TEST(ReadingSettings, RestoreTakesWhatIsStoredAndTheDefaultForWhatIsMissingOrUnreadable)
{
    using orvella::names::NameOrder;
    struct Case {
        QMap<QString, QString> stored;
        NameOrder order;
        bool lastCommaFirst;
        bool keepParticles;
        QStringList particles; // empty entry list written as {}
        bool stepOverExtras = false;
        bool familyNameFirst = false;
        bool learnLastNames = false;
        QStringList titles = orvella::names::defaultTitles();
        bool twoFamilyNames = false;
        int filedAs = 0; // entries of the Filed-As list
    };
    const QStringList defaults = orvella::names::defaultParticles();
    const Case cases[] = {
        {{}, NameOrder::Exact, false, false, defaults},
        {{{"Order", "Alphabetical"}, {"LastCommaFirst", "True"}, {"KeepParticles", "-1"}, {"ParticleList", "van de"},
          {"StepOverExtras", "True"}, {"FamilyNameFirst", "true"}, {"LearnLastNames", "-1"}, {"TitleList", "Dr Rev."},
          {"TwoFamilyNames", "True"}, {"FiledAsList", "Van Morrison\tMorrison\nAnn Lee\tLee\tAnn\n"}},
         NameOrder::Alphabetical, true, true, {"van", "de"}, true, true, true, {"Dr", "Rev."}, true, 2},
        {{{"Order", "alphabetical "}, {"LastCommaFirst", "banana"}, {"KeepParticles", ""}, {"StepOverExtras", "banana"},
          {"FamilyNameFirst", ""}, {"LearnLastNames", "yes please"}, {"TwoFamilyNames", "maybe"},
          {"FiledAsList", "no tab\n\tno name"}},
         NameOrder::Alphabetical, false, false, defaults},
        {{{"Order", "Reverse"}, {"LastCommaFirst", "0"}, {"KeepParticles", "False"}, {"ParticleList", ""},
          {"StepOverExtras", "False"}, {"TitleList", ""}},
         NameOrder::Exact, false, false, {}, false, false, false, {}}, // an empty stored list is the user's own list
        {{{"ParticleList", "  van\tVan  de\nDE St.  "}, {"TitleList", " Dr\tDR  Sir "}}, NameOrder::Exact, false, false,
         {"van", "de", "St."}, false, false, false, {"Dr", "Sir"}},
    };
    for (const Case &c : cases) {
        Options o;
        o.settings.values = c.stored;
        Procedure p(o.desktop, "Form1", "Form_Load");
        o.options.reading().restore(p);
        const ReadingSettings &r = o.options.reading();
        SCOPED_TRACE(c.stored.value("Order").toStdString() + "/" + c.stored.value("ParticleList").toStdString());
        EXPECT_EQ(r.choices().order, c.order);
        EXPECT_EQ(r.choices().lastCommaFirst, c.lastCommaFirst);
        EXPECT_EQ(r.choices().keepParticles, c.keepParticles);
        EXPECT_EQ(r.particles().words(), c.particles);
        EXPECT_EQ(r.choices().stepOverExtras, c.stepOverExtras);
        EXPECT_EQ(r.choices().familyNameFirst, c.familyNameFirst);
        EXPECT_EQ(r.choices().learnLastNames, c.learnLastNames);
        EXPECT_EQ(r.titles().words(), c.titles);
        EXPECT_EQ(r.choices().twoFamilyNames, c.twoFamilyNames);
        EXPECT_EQ(r.filedAs()->entries().size(), c.filedAs);
        EXPECT_EQ(o.options.filedAs(), r.filedAs());
        // What the sort reads comes from the same place.
        EXPECT_EQ(o.options.readingChoices().order, r.choices().order);
        EXPECT_EQ(o.options.readingChoices().keepParticles, r.choices().keepParticles);
        EXPECT_EQ(o.options.readingChoices().learnLastNames, r.choices().learnLastNames);
        EXPECT_EQ(o.options.isTitle(u"dr."), c.titles.contains("Dr"));
        EXPECT_TRUE(o.settings.writes.isEmpty()); // restoring writes nothing
        EXPECT_TRUE(o.desktop.messages.empty());
    }
}

TEST(ReadingSettings, EachChangeIsWrittenAtOnceAndOnlyWhenItChanges)
{
    Options o;
    ReadingSettings &r = o.options.reading();
    r.setOrder(orvella::names::NameOrder::Alphabetical);
    r.setOrder(orvella::names::NameOrder::Alphabetical);
    r.setLastCommaFirst(true);
    r.setKeepParticles(true);
    r.setKeepParticles(false);
    r.setParticles({"van", "der", "VAN", " ", "ibn"});
    r.setOrder(orvella::names::NameOrder::Exact);
    r.setStepOverExtras(true);
    r.setFamilyNameFirst(true);
    r.setFamilyNameFirst(true);
    r.setLearnLastNames(true);
    r.setTitles({"Dr", "dr", "Sir"});
    r.setTitles({"Dr", "Sir"});
    r.setTwoFamilyNames(true);
    r.setTwoFamilyNames(true);
    r.setFiledAs({{"Van  Morrison", "Morrison", ""}, {"", "Lee", ""}});
    r.setFiledAs({{"Van Morrison", "Morrison", ""}});
    r.setFiledAs({});
    r.setDesignations({"AIA", " attorney  at law ", "aia", ""});
    r.setNicknames({"Bob Robert", "bob robert", "one"});
    r.setNicknames({"Bob Robert"});
    EXPECT_EQ(o.settings.writes, (QStringList{"Order=Alphabetical", "LastCommaFirst=True", "KeepParticles=True",
                                              "KeepParticles=False", "ParticleList=van der ibn", "Order=Exact",
                                              "StepOverExtras=True", "FamilyNameFirst=True", "LearnLastNames=True",
                                              "TitleList=Dr Sir", "TwoFamilyNames=True",
                                              "FiledAsList=Van Morrison\tMorrison", "FiledAsList=",
                                              "DesignationList=AIA\nattorney at law", "NicknameList=Bob Robert"}));
    EXPECT_TRUE(r.designations()->contains(u"Attorney at Law"));
    EXPECT_EQ(r.nicknames()->fullNameOf("bob"), "robert");
    EXPECT_TRUE(o.options.isParticle(u"Van"));
    EXPECT_FALSE(o.options.isParticle(u"de"));
    EXPECT_TRUE(o.options.isTitle(u"SIR"));
    EXPECT_FALSE(o.options.isTitle(u"Mrs"));

    // A store that cannot be written says so; the choice holds for this session.
    o.settings.failWrites = true;
    EXPECT_THROW(r.setLastCommaFirst(false), orvella::core::Failure);
    EXPECT_FALSE(o.options.readingChoices().lastCommaFirst);
}

#pragma once

#include "lists/NameListModel.h"
#include "commands/SortCommand.h"
#include "commands/SortControls.h"
#include "lists/SuffixList.h"
#include "suffixes/SuffixStore.h"
#include "support/CommandFixture.h"

namespace orvella::testing {

enum class Reading { LastWord, SkipSuffix, FirstLast };

// The option and filter controls as the sort reads them, set directly by the tests.
struct FakeControls : commands::SortControls {
    names::SortOptions reading;
    bool noDuplicates = false, uniqueLastNames = false, perLastName = false;
    QString limit = QStringLiteral("5");
    names::ReadingChoices choices;
    std::shared_ptr<const names::FiledAsList> filed;
    names::SortOptions options() const override { return reading; }
    bool removeDuplicates() const override { return noDuplicates; }
    bool keepUnique() const override { return uniqueLastNames; }
    bool keepLimited() const override { return perLastName; }
    QString limitText() const override { return limit; }
    names::ReadingChoices readingChoices() const override { return choices; }
    std::shared_ptr<const names::FiledAsList> filedAs() const override { return filed; }
};

// The real sort command over the commands' lists, progress and pointer, with a live
// suffix list loaded from the store as the suffix editor loads it, and the controls
// set by the test.
struct SortFixture : CommandFixture {
    FakeControls controls;
    lists::SuffixList liveSuffixes;
    commands::SortCommand command{context, controls, [this](QStringView word) { return liveSuffixes.IsSuffix(word); }};

    SortFixture() { liveSuffixes.model().appendMany(suffixes::storedSuffixList(settings)); }

    void read(Reading reading)
    {
        using names::LastWordReading;
        using names::SortBy;
        controls.reading = reading == Reading::FirstLast ? names::SortOptions{SortBy::FirstLast}
            : reading == Reading::LastWord ? names::SortOptions{SortBy::LastFirst, LastWordReading::LastWord}
                                           : names::SortOptions{SortBy::LastFirst};
    }
    void run() { command.run(); }
    QStringList sort(const QStringList &names)
    {
        fillInput(names);
        run();
        return results();
    }
    void suffixList(const QStringList &entries)
    {
        lists::NameListModel &live = liveSuffixes.model();
        live.clear();
        live.appendMany(entries);
    }
    QStringList reportPlaces() const { return desktop.reportPlaces(); }
};

} // namespace orvella::testing

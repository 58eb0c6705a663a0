#include "session/ReadingTable.h"

#include <QStringList>

namespace orvella::session {

std::vector<ReadingRow> readingRows(QStringView name, const names::SortOptions &current,
                                    const names::ReadingChoices &choices, const names::WordTests &words)
{
    using names::LastWordReading;
    using names::SortBy;
    struct Reading {
        QString label;
        names::SortOptions options;
        bool readsLastName;
    };
    const Reading readings[] = {
        {QStringLiteral("Last word, suffixes stepped over"), {SortBy::LastFirst, LastWordReading::SkipSuffixes}, true},
        {QStringLiteral("Last word"), {SortBy::LastFirst, LastWordReading::LastWord}, true},
        {QStringLiteral("First word"), {SortBy::FirstLast, LastWordReading::LastWord}, false},
    };
    struct Options {
        QString label;
        bool lastCommaFirst;
        bool keepParticles;
    };
    const Options optionSets[] = {
        {QStringLiteral("\u2014"), false, false},
        {QStringLiteral("\u201cLast, First\u201d"), true, false},
        {QStringLiteral("particles"), false, true},
        {QStringLiteral("\u201cLast, First\u201d, particles"), true, true},
    };
    const bool currentReadsLastName = !current.firstLast();
    std::vector<ReadingRow> rows;
    for (const Reading &reading : readings) {
        const bool readingIsCurrent = reading.readsLastName == currentReadsLastName
                                      && (!reading.readsLastName || reading.options.lastWord == current.lastWord);
        for (const Options &set : optionSets) {
            if (set.keepParticles && !reading.readsLastName)
                continue;
            names::ReadingChoices rowChoices = choices;
            rowChoices.lastCommaFirst = set.lastCommaFirst;
            rowChoices.keepParticles = set.keepParticles;
            ReadingRow row;
            row.reading = reading.label;
            row.options = set.label;
            row.result = names::readName(name, reading.options, rowChoices, words);
            row.current = readingIsCurrent && set.lastCommaFirst == choices.lastCommaFirst
                          && (set.keepParticles == choices.keepParticles || !reading.readsLastName);
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

QString alsoChosenText(const names::ReadingChoices &choices)
{
    QStringList on;
    if (choices.stepOverExtras)
        on << QStringLiteral("titles, nicknames and extra suffixes stepped over");
    if (choices.familyNameFirst)
        on << QStringLiteral("family name first for Chinese, Japanese and Korean script");
    if (choices.learnLastNames)
        on << QStringLiteral("last names learnt from \u201cLast, First\u201d lines in the list");
    if (choices.twoFamilyNames)
        on << QStringLiteral("two family names (Spanish and Portuguese)");
    return on.isEmpty() ? QString() : QStringLiteral("Also: ") + on.join(QStringLiteral("; "));
}

} // namespace orvella::session

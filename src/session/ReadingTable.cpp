#include "session/ReadingTable.h"

#include <QStringList>

namespace orvella::session {

std::vector<ReadingRow> readingRows(QStringView name, const names::SortOptions &current,
                                    const names::ReadingChoices &choices, const names::WordTests &words)
{
    struct Reading {
        QString label;
        names::SortOptions options;
        bool readsLastName;
    };
    const Reading readings[] = {
        {QStringLiteral("Last word, suffixes stepped over"), {true, false, true, false}, true},
        {QStringLiteral("Last word"), {true, false, false, true}, true},
        {QStringLiteral("First word"), {false, true, false, false}, false},
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
    const bool currentReadsLastName = current.option1;
    std::vector<ReadingRow> rows;
    for (const Reading &reading : readings) {
        const bool readingIsCurrent = reading.readsLastName == currentReadsLastName
                                      && (!reading.readsLastName || reading.options.option3 == current.option3);
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
    return on.isEmpty() ? QString() : QStringLiteral("Also: ") + on.join(QStringLiteral("; "));
}

} // namespace orvella::session

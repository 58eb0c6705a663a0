#include "session/ReadingTable.h"

namespace orvella::session {

std::vector<ReadingRow> readingRows(QStringView name, const sorting::SortOptions &current,
                                    const sorting::ReadingChoices &choices, const sorting::SuffixTest &isSuffix,
                                    const sorting::ParticleTest &isParticle)
{
    struct Reading {
        QString label;
        sorting::SortOptions options;
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
            sorting::ReadingChoices rowChoices = choices;
            rowChoices.lastCommaFirst = set.lastCommaFirst;
            rowChoices.keepParticles = set.keepParticles;
            ReadingRow row;
            row.reading = reading.label;
            row.options = set.label;
            row.result = sorting::readName(name, reading.options, rowChoices, isSuffix, isParticle);
            row.current = readingIsCurrent && set.lastCommaFirst == choices.lastCommaFirst
                          && (set.keepParticles == choices.keepParticles || !reading.readsLastName);
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

} // namespace orvella::session

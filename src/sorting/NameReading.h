#pragma once
// Provisional: replaced by the reading work.
#include "sorting/SortKeys.h"
#include <QString>
#include <QStringView>
#include <functional>
namespace orvella::sorting {
enum class NameOrder { Exact, Alphabetical };
struct ReadingChoices {
    NameOrder order = NameOrder::Exact;
    bool lastCommaFirst = false;
    bool keepParticles = false;
    bool operator==(const ReadingChoices &) const = default;
};
using ParticleTest = std::function<bool(QStringView word)>;
struct NameReading {
    QString sortedUnder;
    QString then;
    QString lastName;
    QString suffix;
    QString particles;
    bool commaLine = false;
};
NameReading readName(QStringView name, const SortOptions &options, const ReadingChoices &choices,
                     const SuffixTest &isSuffix, const ParticleTest &isParticle);
QString sortedUnderText(const NameReading &reading);
}

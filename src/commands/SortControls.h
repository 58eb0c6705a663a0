#pragma once

#include "names/Designations.h"
#include "names/FiledAs.h"
#include "names/NameReading.h"
#include "names/Particles.h"
#include "names/SortKeys.h"

#include <QString>
#include <memory>

namespace orvella::commands {

// The option and filter controls' states as the sort reads them, each time it needs
// them (the user may change them while a run yields).
class SortControls {
public:
    virtual ~SortControls() = default;
    virtual names::SortOptions options() const = 0;
    virtual bool removeDuplicates() const = 0; // Check5
    virtual bool keepUnique() const = 0;       // Check1
    virtual bool keepLimited() const = 0;      // Check2
    virtual QString limitText() const = 0;     // Text1
    // The order and reading choices; a run reads them once, at its start.
    virtual names::ReadingChoices readingChoices() const { return {}; }
    // Whether a word is in the particle list (the default list unless overridden).
    virtual bool isParticle(QStringView word) const
    {
        static const names::ParticleSet defaults;
        return defaults.contains(word);
    }
    // Whether a word is in the title list (the default list unless overridden).
    virtual bool isTitle(QStringView word) const
    {
        static const names::TitleSet defaults;
        return defaults.isTitle(word);
    }
    // The Filed-As list (none: no entries); a run reads it once, at its start.
    virtual std::shared_ptr<const names::FiledAsList> filedAs() const { return {}; }
    // The designation list (the default list unless overridden); a run reads it once.
    virtual std::shared_ptr<const names::DesignationSet> designations() const
    {
        static const auto defaults = std::make_shared<const names::DesignationSet>();
        return defaults;
    }
};

} // namespace orvella::commands

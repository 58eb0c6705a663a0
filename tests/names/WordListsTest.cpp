#include "names/NameWords.h"
#include "names/Particles.h"

#include <gtest/gtest.h>

using namespace orvella::names;

namespace {

TEST(Particles, DefaultListMatchedIgnoringCase)
{
    const ParticleSet defaults;
    EXPECT_EQ(defaults.words(), defaultParticles());
    for (const char *word : {"van", "VAN", "Von", "st.", "SAINT", "ibn", "el", "ben", "Mac", "zu", "vom", "dela",
                             "\u00d3", "\u00f3", "N\u00cd", "nic", "U\u00ed", "ua", "MHIC"})
        EXPECT_TRUE(defaults.contains(QString::fromUtf8(word))) << word;
    for (const char *word : {"st", "vanderbilt", "", "d'", "Smith", "O", "Ni", "Se\u00e1n"})
        EXPECT_FALSE(defaults.contains(QString::fromUtf8(word))) << word;
    const ParticleSet own(QStringList{QStringLiteral("Mac"), QStringLiteral("ÖZ"), QStringLiteral("Strasse")});
    EXPECT_TRUE(own.contains(u"mac"));
    EXPECT_TRUE(own.contains(u"öz"));
    EXPECT_FALSE(own.contains(u"van"));
    // Words beyond ASCII are folded as the library folds them (the long s to "s"); one
    // that cannot fold to a word of the list is none.
    for (const char *word : {"STRASSE", "ſtrasse", "Straſſe", "öZ"})
        EXPECT_TRUE(own.contains(QString::fromUtf8(word))) << word;
    for (const char *word : {"xöz", "Öz.", "straßen", "ſtrassa", "Mäc", "öx"})
        EXPECT_FALSE(own.contains(QString::fromUtf8(word))) << word;
    const TitleSet titles;
    for (const char *word : {"Dr", "dr.", "PROF.", "Sheikh", "ſir", "honourable"})
        EXPECT_TRUE(titles.isTitle(QString::fromUtf8(word))) << word;
    for (const char *word : {"Dr..", "D", "Doctor", "Dré", "Mr.s", "."})
        EXPECT_FALSE(titles.isTitle(QString::fromUtf8(word))) << word;
}

// The suffixes the step over knows beside the suffix list, as written and as they may be
// typed: what counts and what does not.
TEST(ExtraSuffixes, KnownBesideTheSuffixList)
{
    const SuffixTest phd = [](QStringView word) { return word.compare(u"phd", Qt::CaseInsensitive) == 0; };
    const struct {
        const char *word;
        bool suffix;
    } cases[] = {
        // Ordinals: digits and two letters in any case (the long s counts as an "s").
        {"2nd", true}, {"21ST", true}, {"3Rd", true}, {"11th", true}, {"1ſt", true}, {"1st.", false},
        {"st", false}, {"2ns", false}, {"２nd", false}, {"100", false},
        // Roman numerals from I to XX, in capitals, with or without a period.
        {"I", true}, {"XIV.", true}, {"XX", true}, {"XXI", false}, {"IIII", false}, {"iv", false}, {"X..", false},
        // Junior, Senior, Esquire and their short forms, in any case, periods anywhere.
        {"Jnr.", true}, {"ESQUIRE", true}, {"jUnIoR", true}, {"S.r.", true}, {"Juniors", false}, {"Jür", false},
        // Degrees and honours: as written or all in capitals, periods left out.
        {"M.Sc.", true}, {"MSC", true}, {"PHARMD", true}, {"Q.C.", true}, {"DPhil", true}, {"msc", false},
        {"Msc", false}, {"MA", false}, {"M.B.A.S", false},
        // The suffix list, also without the word's periods.
        {"PhD", true}, {"Ph.D.", true}, {"P.h.d", true}, {"Ph-D", false}, {"", false},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(isExtraSuffix(QString::fromUtf8(c.word), phd), c.suffix) << c.word;
        const bool listed = QString::fromUtf8(c.word).remove(QLatin1Char('.')).compare(u"phd", Qt::CaseInsensitive) == 0;
        EXPECT_EQ(isExtraSuffix(QString::fromUtf8(c.word), {}), c.suffix && !listed) << c.word;
    }
}

} // namespace

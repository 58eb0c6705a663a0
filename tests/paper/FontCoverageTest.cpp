// Names in each script print in a font that has their letters, and a name whose letters
// no installed font has is found before anything is printed.
#include "PdfText.h"
#include "paper/FontCoverage.h"
#include "paper/PageSetup.h"
#include "paper/PaperWriter.h"

#include <QFontDatabase>
#include <gtest/gtest.h>

namespace orvella::testing {
namespace {

struct ScriptCase {
    const char *name;
    const char *first;
    const char *last;
    QFontDatabase::WritingSystem system;
};

class Scripts : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(Scripts, PrintWithAFontThatHasThem)
{
    const ScriptCase &c = GetParam();
    if (QFontDatabase::families(c.system).isEmpty())
        GTEST_SKIP() << "no font for the script is installed";
    const RowText row{QString::fromUtf8(c.first), QString::fromUtf8(c.last), {}, {}};
    const commands::PaperRows rows = paperRowsOf({row});
    paper::PaperWriter writer;
    EXPECT_TRUE(writer.namesWithoutFont(rows, {}).isEmpty());
    for (const core::PaperLayout layout : {core::PaperLayout::List, core::PaperLayout::Badges}) {
        core::PaperChoices choices;
        choices.layout = layout;
        const QString text = pdfPages(writer.pdf(rows, choices, {})).join(u' ');
        EXPECT_TRUE(text.contains(row.first)) << text.toStdString();
        EXPECT_TRUE(text.contains(row.last)) << text.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Names, Scripts,
                         ::testing::Values(ScriptCase{"Latin", "Zoë", "Ångström", QFontDatabase::Latin},
                                           ScriptCase{"Cyrillic", "Дмитрий", "Иванов", QFontDatabase::Cyrillic},
                                           ScriptCase{"Greek", "Ελένη", "Παπαδοπούλου", QFontDatabase::Greek},
                                           ScriptCase{"Chinese", "小明", "王", QFontDatabase::SimplifiedChinese}),
                         [](const auto &info) { return std::string(info.param.name); });

// Cuneiform, which no font of a desktop installs: the name is told, once, and the names
// that can print are not.
TEST(FontCoverage, TellsNamesNoFontHas)
{
    paper::FontCoverage coverage(paper::paperFont(10));
    const char32_t sign = 0x12000;
    if (coverage.covers(sign))
        GTEST_SKIP() << "a cuneiform font is installed";
    const QString unprintable = QStringLiteral("Ur ") + QString::fromUcs4(&sign, 1);
    const commands::PaperRows rows = paperRowsOf({{QStringLiteral("Anna"), QStringLiteral("Baker"), {}, {}},
                                                  {unprintable, QStringLiteral("Sumer"), {}, {}},
                                                  {unprintable, QStringLiteral("Sumer"), {}, {}}});
    EXPECT_EQ(coverage.namesWithout(rows), QStringList({QStringLiteral("Sumer, ") + unprintable, unprintable}));
    EXPECT_TRUE(coverage.coversText(QStringLiteral("Zoë\u200d Ångström")));
}

} // namespace
} // namespace orvella::testing

// The readers of number-like texts: the number field's test, the leading number of a
// check-box setting, the truth value of an option setting and the 16-bit limit.
//
// The input bytes are read as UTF-8 (so that non-ASCII digits and spaces occur).
// Rules checked, against a reference written from the rules:
// - numeric: blanks (space, tab) around, an optional sign, digits with at most one
//   decimal point, an optional exponent (e or E, optional sign, digits); not empty;
// - leading number: the longest such number after leading blanks, converted as the C
//   library converts decimal text (so an out-of-range value is an infinity or zero);
//   0 when there is none;
// - truth value: "True" or "False" in any ASCII letter case (around them only white
//   space), or a number: 0 is false, any other value true; any other text unreadable;
// - 16-bit limit: the value rounded to the nearest whole number, halves to the even
//   neighbour; a Failure exactly when the text is not numeric or the rounded value
//   lies outside -32768..32767; nothing but a Failure is ever thrown;
// - the sort's limit reader answers what the 16-bit reader does, also when asked again.

#include "FuzzTargets.h"

#include "core/Failure.h"
#include "core/NumberText.h"
#include "names/ResultFilters.h"

#include <QRegularExpression>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <optional>

namespace orvella::fuzz {
namespace {

const QString kNumber = QStringLiteral("[+-]?(?:[0-9]+(?:\\.[0-9]*)?|\\.[0-9]+)(?:[eE][+-]?[0-9]+)?");

bool referenceNumeric(const QString &text)
{
    static const QRegularExpression whole(QStringLiteral("\\A[ \\t]*") + kNumber + QStringLiteral("[ \\t]*\\z"));
    return whole.match(text).hasMatch();
}

double referenceLeadingNumber(const QString &text)
{
    static const QRegularExpression leading(QStringLiteral("\\A[ \\t]*(") + kNumber + QStringLiteral(")"));
    const QRegularExpressionMatch match = leading.match(text);
    if (!match.hasMatch())
        return 0.0;
    // strtod in the C locale, whatever locale the process runs in.
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    const QByteArray number = match.captured(1).toLatin1();
    return strtod_l(number.constData(), nullptr, c);
}

std::optional<bool> referenceTruth(const QString &text)
{
    const QString word = text.trimmed();
    const auto is = [&word](QLatin1StringView expected) {
        if (word.size() != expected.size())
            return false;
        for (qsizetype i = 0; i < word.size(); ++i) {
            const char16_t u = word[i].unicode();
            const char16_t lower = u >= u'A' && u <= u'Z' ? char16_t(u + 32) : u;
            if (lower != char16_t(expected[i].unicode()))
                return false;
        }
        return true;
    };
    if (is(QLatin1StringView("true")))
        return true;
    if (is(QLatin1StringView("false")))
        return false;
    if (referenceNumeric(text))
        return referenceLeadingNumber(text) != 0.0;
    return std::nullopt;
}

// Nearest whole number, halves to the even neighbour.
double roundedHalfEven(double value)
{
    const double below = std::floor(value);
    const double rest = value - below;
    if (rest < 0.5)
        return below;
    if (rest > 0.5)
        return below + 1;
    return std::fmod(below, 2.0) == 0.0 ? below : below + 1;
}

std::optional<int> referenceInt16(const QString &text)
{
    if (!referenceNumeric(text))
        return std::nullopt;
    const double value = referenceLeadingNumber(text);
    if (!std::isfinite(value))
        return std::nullopt;
    const double whole = roundedHalfEven(value);
    if (whole < -32768.0 || whole > 32767.0)
        return std::nullopt;
    return int(whole);
}

std::string valueText(std::optional<int> value)
{
    return value ? std::to_string(*value) : std::string("a failure");
}

bool sameNumber(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

} // namespace

void fuzzNumberText(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));

    const bool numeric = core::isNumeric(text);
    FUZZ_CHECK(numeric == referenceNumeric(text), shown(text) + (numeric ? " taken" : " not taken") + " as numeric");

    const double leading = core::leadingNumber(text);
    const double expectedLeading = referenceLeadingNumber(text);
    FUZZ_CHECK(sameNumber(leading, expectedLeading), "leading number of " + shown(text) + " is " +
                                                         std::to_string(leading) + ", expected " +
                                                         std::to_string(expectedLeading));

    const std::optional<bool> truth = core::readTruthValue(text);
    const std::optional<bool> expectedTruth = referenceTruth(text);
    FUZZ_CHECK(truth == expectedTruth, "truth value of " + shown(text));
    if (numeric)
        FUZZ_CHECK(truth == (leading != 0.0), "truth value of the number " + shown(text));

    std::optional<int> limit;
    try {
        limit = core::readInt16(text);
    } catch (const core::Failure &failure) {
        FUZZ_CHECK(!failure.description().isEmpty(), "a failure without a description for " + shown(text));
    } catch (...) {
        FUZZ_CHECK(false, "readInt16 threw something other than a Failure for " + shown(text));
    }
    const std::optional<int> expectedLimit = referenceInt16(text);
    FUZZ_CHECK(limit == expectedLimit, "16-bit value of " + shown(text) + " is " + valueText(limit) + ", expected " +
                                           valueText(expectedLimit));

    names::LimitReader reader;
    FUZZ_CHECK(reader.read(text) == limit, "the limit reader disagrees for " + shown(text));
    FUZZ_CHECK(reader.read(text) == limit, "the limit reader changed its answer for " + shown(text));
    FUZZ_CHECK(limit.has_value() == reader.error().isEmpty(), "the limit reader's error for " + shown(text));
}

} // namespace orvella::fuzz

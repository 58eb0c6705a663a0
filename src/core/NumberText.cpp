#include "core/NumberText.h"

#include "core/Failure.h"

#include <cfenv>
#include <cmath>

namespace orvella::core {
namespace {

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }
bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// Length of the number that starts at `from` (0 when none does).
qsizetype numberLength(QStringView text, qsizetype from)
{
    qsizetype i = from;
    const qsizetype n = text.size();
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ++i;
    qsizetype digits = 0;
    while (i < n && isDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < n && text[i] == QLatin1Char('.')) {
        qsizetype j = i + 1;
        qsizetype fraction = 0;
        while (j < n && isDigit(text[j])) {
            ++j;
            ++fraction;
        }
        if (digits + fraction > 0) {
            i = j;
            digits += fraction;
        }
    }
    if (digits == 0)
        return 0;
    if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        if (j < n && (text[j] == QLatin1Char('+') || text[j] == QLatin1Char('-')))
            ++j;
        const qsizetype expStart = j;
        while (j < n && isDigit(text[j]))
            ++j;
        if (j > expStart)
            i = j;
    }
    return i - from;
}

qsizetype skipBlanks(QStringView text, qsizetype from)
{
    while (from < text.size() && isBlank(text[from]))
        ++from;
    return from;
}

double toDouble(QStringView number)
{
    // The text is a well-formed number here; the only failure left is a value out of
    // range, for which Qt answers an infinity (too large) or zero (too small). That is
    // the value as far as a double can hold it: taking 0 instead would read "1e400" as
    // a false truth value and as a limit of 0 instead of an overflow.
    bool ok = false;
    return number.toString().toDouble(&ok);
}

} // namespace

bool isNumeric(QStringView text)
{
    const qsizetype start = skipBlanks(text, 0);
    const qsizetype length = numberLength(text, start);
    if (length == 0)
        return false;
    return skipBlanks(text, start + length) == text.size();
}

double leadingNumber(QStringView text)
{
    const qsizetype start = skipBlanks(text, 0);
    const qsizetype length = numberLength(text, start);
    return length == 0 ? 0.0 : toDouble(text.mid(start, length));
}

std::optional<bool> readTruthValue(QStringView text)
{
    const QStringView trimmed = text.trimmed();
    if (trimmed.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (trimmed.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    if (isNumeric(text))
        return leadingNumber(text) != 0.0;
    return std::nullopt;
}

int readInt16(QStringView text)
{
    if (!isNumeric(text))
        throw Failure(QStringLiteral("Type mismatch: \"%1\" is not a number").arg(text.toString()));
    const double value = leadingNumber(text);
    // nearbyint rounds in the current mode, which is to-nearest with ties to even.
    const double rounded = std::isfinite(value) ? std::nearbyint(value) : value;
    if (!(rounded >= -32768.0 && rounded <= 32767.0))
        throw Failure(QStringLiteral("Overflow: %1 is outside -32768 to 32767").arg(text.trimmed().toString()));
    return static_cast<int>(rounded);
}

QString groupedCount(qint64 count)
{
    QString digits = QString::number(count < 0 ? -count : count);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(','));
    return count < 0 ? QLatin1Char('-') + digits : digits;
}

QString countOf(qint64 count, const char *one, const char *many)
{
    return groupedCount(count) + QLatin1Char(' ') + QLatin1String(count == 1 ? one : many);
}

} // namespace orvella::core

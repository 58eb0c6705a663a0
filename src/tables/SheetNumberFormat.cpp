#include "tables/SheetNumberFormat.h"

#include <QDate>
#include <QLocale>

#include <cmath>

namespace orvella::tables {
namespace {

// The format codes of the built-in numbers, as the workbook standard lists them; the
// ones that depend on the language (27 to 36, 50 to 58) are dates in East Asian locales.
QStringView builtInCode(int id)
{
    switch (id) {
    case 1: return u"0";
    case 2: return u"0.00";
    case 3: return u"#,##0";
    case 4: return u"#,##0.00";
    case 9: return u"0%";
    case 10: return u"0.00%";
    case 11: return u"0.00E+00";
    case 14: return u"mm-dd-yy";
    case 15: return u"d-mmm-yy";
    case 16: return u"d-mmm";
    case 17: return u"mmm-yy";
    case 18: return u"h:mm AM/PM";
    case 19: return u"h:mm:ss AM/PM";
    case 20: return u"h:mm";
    case 21: return u"h:mm:ss";
    case 22: return u"m/d/yy h:mm";
    case 37: case 38: return u"#,##0 ;(#,##0)";
    case 39: case 40: return u"#,##0.00;(#,##0.00)";
    case 45: return u"mm:ss";
    case 46: return u"[h]:mm:ss";
    case 47: return u"mmss.0";
    case 48: return u"##0.0E+0";
    default:
        if ((id >= 27 && id <= 36) || (id >= 50 && id <= 58))
            return u"yyyy-mm-dd";
        return u"General";
    }
}

// The last day a spreadsheet shows as a date: 9999-12-31.
constexpr double kLastDate = 2958465;

void groupThousands(QString &digits)
{
    const qsizetype first = digits.startsWith(u'-') ? 1 : 0;
    for (qsizetype at = digits.size() - 3; at > first; at -= 3)
        digits.insert(at, u',');
}

} // namespace

QString generalNumberText(double value)
{
    if (!std::isfinite(value))
        return QString::number(value);
    // 15 significant digits, as the spreadsheet keeps them: 0.1 + 0.2 shows 0.3.
    const double rounded = QString::number(value, 'g', 15).toDouble();
    if (rounded == 0)
        return QStringLiteral("0");
    const double size = std::fabs(rounded);
    if (size >= 1e-9 && size < 1e15)
        return QString::number(rounded, 'f', QLocale::FloatingPointShortest);
    return QString::number(rounded, 'g', 15).toUpper();
}

SheetNumberFormat SheetNumberFormat::builtIn(int id)
{
    return fromCode(builtInCode(id));
}

SheetNumberFormat SheetNumberFormat::fromCode(QStringView code)
{
    SheetNumberFormat format;
    if (code.trimmed().startsWith(u"General", Qt::CaseInsensitive))
        return format;
    bool digits = false, percent = false, exponent = false, afterPoint = false;
    bool month = false, day = false, hour = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        const QChar lower = c.toLower();
        if (c == u';')
            break; // the sections for negative numbers, zero and text
        if (c == u'"') {
            i = code.indexOf(u'"', i + 1);
            if (i < 0)
                break;
        } else if (c == u'[') {
            // Colours and locales are not shown; [h], [m] and [s] count elapsed time.
            const qsizetype end = code.indexOf(u']', i);
            const QStringView inside = code.sliced(i + 1, (end < 0 ? code.size() : end) - i - 1);
            if (!inside.isEmpty() && QStringView(u"hms").contains(inside.front().toLower()))
                format.m_elapsed = hour = true;
            if (end < 0)
                break;
            i = end;
        } else if (c == u'\\' || c == u'_' || c == u'*') {
            ++i; // an escaped character, a space as wide as a character, a fill character
        } else if (code.sliced(i).startsWith(u"AM/PM", Qt::CaseInsensitive)) {
            i += 4;
        } else if (code.sliced(i).startsWith(u"A/P", Qt::CaseInsensitive)) {
            i += 2;
        } else if (lower == u'd' || lower == u'y') {
            day = true;
        } else if (lower == u'm') {
            month = true;
        } else if (lower == u'h' || lower == u's') {
            hour = true;
        } else if (lower == u'e' && digits) {
            exponent = true;
        } else if (c == u'%') {
            percent = true;
        } else if (c == u'.') {
            afterPoint = true;
        } else if (c == u'0' || c == u'#' || c == u'?') {
            digits = true;
            if (afterPoint && !exponent) {
                format.m_maxDecimals += 1;
                format.m_minDecimals += c == u'0' ? 1 : 0;
            }
        } else if (c == u',' && digits && !afterPoint) {
            format.m_grouped = true;
        }
    }
    if (day || month || hour) {
        // An "m" among hours and seconds is minutes, elsewhere a month.
        format.m_kind = Kind::DateTime;
        format.m_date = !format.m_elapsed && (day || (month && !hour));
        format.m_time = hour;
    } else if (exponent) {
        format.m_kind = Kind::Scientific;
    } else if (percent) {
        format.m_kind = Kind::Percent;
    } else if (digits) {
        format.m_kind = Kind::Fixed;
    }
    return format;
}

QString SheetNumberFormat::show(double value, bool from1904) const
{
    if (!std::isfinite(value))
        return generalNumberText(value);
    switch (m_kind) {
    case Kind::General:
        break;
    case Kind::Fixed:
        return showFixed(value);
    case Kind::Percent:
        return showFixed(value * 100) + u'%';
    case Kind::Scientific:
        return QString::number(value, 'E', m_minDecimals);
    case Kind::DateTime:
        if (value >= 0 && value <= kLastDate + 1)
            return showDateTime(value, from1904);
        break;
    }
    return generalNumberText(value);
}

QString SheetNumberFormat::showFixed(double value) const
{
    QString text = QString::number(value, 'f', m_maxDecimals);
    if (m_maxDecimals > m_minDecimals) {
        const qsizetype point = text.indexOf(u'.');
        qsizetype end = text.size();
        while (end > point + 1 + m_minDecimals && text[end - 1] == u'0')
            --end;
        if (end == point + 1)
            end = point;
        text.truncate(end);
    }
    // "-0" for a small negative number rounded away.
    if (text.startsWith(u'-') && text.count(u'0') + text.count(u'.') == text.size() - 1)
        text.remove(0, 1);
    if (m_grouped) {
        const qsizetype point = text.indexOf(u'.');
        QString whole = point < 0 ? text : text.left(point);
        groupThousands(whole);
        text = point < 0 ? whole : whole + text.sliced(point);
    }
    return text;
}

QString SheetNumberFormat::showDateTime(double value, bool from1904) const
{
    qint64 days = qint64(std::floor(value));
    qint64 seconds = std::llround((value - double(days)) * 86400);
    if (m_elapsed) {
        // Hours counted on past a day.
        seconds += days * 86400;
        days = 0;
    } else if (seconds >= 86400) {
        ++days;
        seconds -= 86400;
    }
    // The 1900 system counts a 29 February 1900 that never was: days 1 to 59 lie one
    // day later than the count from 1899-12-30 gives.
    const QDate epoch = from1904 ? QDate(1904, 1, 1) : days < 60 ? QDate(1899, 12, 31) : QDate(1899, 12, 30);
    QStringList parts;
    if (m_date || !m_time)
        parts << epoch.addDays(days).toString(u"yyyy-MM-dd");
    if (m_time) {
        parts << QStringLiteral("%1:%2:%3")
                     .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
                     .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
                     .arg(seconds % 60, 2, 10, QLatin1Char('0'));
    }
    return parts.join(u' ');
}

} // namespace orvella::tables

#include "ui/WindowStretch.h"

#include "ui/Mnemonics.h"
#include "ui/Twips.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace orvella::ui {
namespace {

constexpr double kSmallestZoom = 0.5;
// A caption that does not fit its control is set this much smaller at a time, down to
// this share of its zoomed size.
constexpr double kCaptionStep = 0.25;
constexpr double kSmallestCaptionShare = 0.6;

double pointsOf(ControlFont font)
{
    return font == ControlFont::Large ? 11.25 : 9.0;
}

// Scales the span from `from` to `from + length` and rounds its two ends, so that
// neighbours that met stay met.
std::pair<int, int> scaled(int from, int length, double factor)
{
    const int start = static_cast<int>(std::lround(from * factor));
    const int end = static_cast<int>(std::lround((from + length) * factor));
    return {start, end - start};
}

bool liesBelow(const ControlLayout &control, const ControlLayout &list)
{
    const bool sameColumn =
        control.left < list.left + list.width && list.left < control.left + control.width;
    return sameColumn && control.top >= list.top + list.height;
}

} // namespace

int captionWidthNeeded(const QWidget *control)
{
    if (qobject_cast<const QCheckBox *>(control) || qobject_cast<const QRadioButton *>(control))
        return control->sizeHint().width(); // box or circle, spacing and the text
    if (const auto *button = qobject_cast<const QPushButton *>(control)) {
        const int margin = control->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, control);
        return QFontMetrics(control->font()).horizontalAdvance(shownCaption(button->text())) + 2 * margin;
    }
    if (const auto *frame = qobject_cast<const QGroupBox *>(control))
        return frame->minimumSizeHint().width(); // the title with its indent
    return 0;
}

void fitCaption(QWidget *control, int width)
{
    QFont font = control->font();
    const double smallest = font.pointSizeF() * kSmallestCaptionShare;
    while (captionWidthNeeded(control) > width && font.pointSizeF() - kCaptionStep >= smallest) {
        font.setPointSizeF(font.pointSizeF() - kCaptionStep);
        control->setFont(font);
    }
}

double zoomFor(QSize designed, QSize client)
{
    if (designed.isEmpty())
        return 1.0;
    const double across = double(client.width()) / designed.width();
    const double down = double(client.height()) / designed.height();
    return std::min({1.0, across, down});
}

QList<QRect> stretchedRects(std::span<const ControlLayout> table, QSize designed, QSize client)
{
    const double across = designed.width() > 0 ? double(client.width()) / designed.width() : 1.0;
    const double zoom = zoomFor(designed, client);
    const int extra = std::max(0, client.height() - static_cast<int>(std::lround(designed.height() * zoom)));

    QList<QRect> rects;
    rects.reserve(qsizetype(table.size()));
    for (const ControlLayout &c : table) {
        const QRect r = twipsRect(c.left, c.top, c.width, c.height);
        const auto [left, width] = scaled(r.left(), r.width(), across);
        const auto [top, height] = scaled(r.top(), r.height(), zoom);
        rects << QRect(left, top, width, height);
    }
    if (extra == 0)
        return rects;

    // Only the window's own controls share out the height; a frame's contents keep
    // their places within it.
    QList<bool> moved(rects.size(), false);
    for (size_t i = 0; i < table.size(); ++i) {
        const ControlLayout &list = table[i];
        if (list.kind != ControlKind::List || list.parent)
            continue;
        rects[qsizetype(i)].setHeight(rects[qsizetype(i)].height() + extra);
        for (size_t j = 0; j < table.size(); ++j) {
            if (j == i || table[j].parent || moved[qsizetype(j)] || !liesBelow(table[j], list))
                continue;
            rects[qsizetype(j)].translate(0, extra);
            moved[qsizetype(j)] = true;
        }
    }
    return rects;
}

QSize fittingClientSize(QSize designed, QSize room)
{
    if (designed.isEmpty())
        return designed;
    double zoom = std::min({1.0, double(room.width()) / designed.width(), double(room.height()) / designed.height()});
    if (zoom >= 1.0)
        return designed;
    zoom = std::max(zoom, kSmallestZoom);
    // Rounded down, so that it fits (the small addend keeps an exact product exact).
    const auto down = [zoom](int side) { return static_cast<int>(side * zoom + 1e-9); };
    return QSize(down(designed.width()), down(designed.height()));
}

QSize openingClientSize(QSize designed, QSize room, std::optional<QSize> stored)
{
    const QSize fitting = fittingClientSize(designed, room);
    if (!stored)
        return fitting;
    return stored->boundedTo(room).expandedTo(fitting);
}

StretchedControls::StretchedControls(QWidget *client, std::span<const ControlLayout> table, QSize designed)
    : QObject(client), m_client(client), m_table(table), m_designed(designed)
{
    for (const ControlLayout &c : table)
        m_controls << controlNamed<QWidget>(client, c.name);
    client->installEventFilter(this);
}

void StretchedControls::apply()
{
    const QList<QRect> rects = stretchedRects(m_table, m_designed, m_client->size());
    const double zoom = zoomFor(m_designed, m_client->size());
    for (qsizetype i = 0; i < m_controls.size(); ++i) {
        QWidget *control = m_controls[i];
        control->setGeometry(rects[i]);
        if (zoom != m_zoom) {
            const ControlLayout &c = m_table[size_t(i)];
            QFont font = control->font();
            font.setPointSizeF(pointsOf(c.font) * zoom);
            control->setFont(font);
            // Fitted to the narrowest the control gets at this zoom (a wider window
            // only widens it), so a caption that fits once fits at every width.
            fitCaption(control, static_cast<int>(twips(c.width) * zoom));
        }
    }
    m_zoom = zoom;
    emit placed();
}

bool StretchedControls::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_client && event->type() == QEvent::Resize)
        apply();
    return QObject::eventFilter(watched, event);
}

} // namespace orvella::ui

#include "ui/ReadingOrder.h"

#include <algorithm>

namespace orvella::ui {
namespace {

// Splits the controls into groups that a line across the given axis separates, in
// order along it. start and end give a rectangle's extent along the axis.
template<typename Start, typename End>
QList<QList<qsizetype>> separated(QList<qsizetype> controls, const QList<QRect> &places, Start start, End end)
{
    std::stable_sort(controls.begin(), controls.end(),
                     [&](qsizetype a, qsizetype b) { return start(places[a]) < start(places[b]); });
    QList<QList<qsizetype>> groups;
    int reach = 0; // the furthest end of the group being gathered
    for (const qsizetype control : controls) {
        if (groups.isEmpty() || start(places[control]) >= reach) {
            groups.append(QList<qsizetype>());
            reach = end(places[control]);
        }
        groups.last().append(control);
        reach = std::max(reach, end(places[control]));
    }
    return groups;
}

void read(const QList<qsizetype> &controls, const QList<QRect> &places, QList<qsizetype> &order)
{
    if (controls.size() <= 1) {
        order += controls;
        return;
    }
    const auto left = [](const QRect &r) { return r.left(); };
    const auto right = [](const QRect &r) { return r.left() + r.width(); };
    const auto top = [](const QRect &r) { return r.top(); };
    const auto bottom = [](const QRect &r) { return r.top() + r.height(); };
    for (const auto &groups : {separated(controls, places, left, right), separated(controls, places, top, bottom)}) {
        if (groups.size() > 1) {
            for (const QList<qsizetype> &group : groups)
                read(group, places, order);
            return;
        }
    }
    QList<qsizetype> overlapping = controls;
    std::stable_sort(overlapping.begin(), overlapping.end(), [&](qsizetype a, qsizetype b) {
        return std::pair(places[a].top(), places[a].left()) < std::pair(places[b].top(), places[b].left());
    });
    order += overlapping;
}

} // namespace

QList<qsizetype> readingOrder(const QList<QRect> &places)
{
    QList<qsizetype> controls;
    for (qsizetype i = 0; i < places.size(); ++i)
        controls.append(i);
    QList<qsizetype> order;
    read(controls, places, order);
    return order;
}

} // namespace orvella::ui

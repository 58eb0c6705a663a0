#include "core/ProgressState.h"

#include "core/ShownText.h"

#include <algorithm>
#include <cmath>

namespace orvella::core {

ProgressState::ProgressState(QObject *parent) : QObject(parent) {}

int ProgressState::shownPosition() const
{
    if (!std::isfinite(m_position))
        return 0;
    return static_cast<int>(std::clamp(std::round(m_position), 0.0, 100.0));
}

QString ProgressState::shownText() const
{
    return core::shownText(m_text);
}

void ProgressState::setPosition(double position)
{
    if (m_unwatched)
        return;
    emit positionSet(position);
    if (position == m_position)
        return;
    m_position = position;
    queueChanged();
}

void ProgressState::setText(const QString &text)
{
    if (m_unwatched)
        return;
    emit textSet(text);
    if (text == m_text)
        return;
    m_text = text;
    queueChanged();
}

void ProgressState::setText(QStringView prefix, QStringView rest)
{
    if (m_unwatched)
        return;
    // Compared and composed in place: a command that names every item of a long list
    // sets this millions of times.
    const QStringView current(m_text);
    const bool same = current.size() == prefix.size() + rest.size() && current.startsWith(prefix) &&
        current.sliced(prefix.size()) == rest;
    if (!same) {
        m_text.resize(0);
        m_text.append(prefix).append(rest);
    }
    emit textSet(m_text);
    if (!same)
        queueChanged();
}

void ProgressState::queueChanged()
{
    if (m_queued)
        return;
    m_queued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_queued = false;
            emit changed();
        },
        Qt::QueuedConnection);
}

} // namespace orvella::core

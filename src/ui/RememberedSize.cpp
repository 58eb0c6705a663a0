#include "ui/RememberedSize.h"

#include "core/Failure.h"
#include "core/SettingsStore.h"
#include "ui/WindowStretch.h"

#include <QEvent>
#include <QRegularExpression>
#include <QScreen>
#include <QWidget>

namespace orvella::ui {
namespace {

// A size beyond any screen is a damaged value.
constexpr int kLargestSide = 100000;

} // namespace

QString sizeText(QSize size)
{
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

std::optional<QSize> sizeFromText(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^([0-9]{1,6})x([0-9]{1,6})$"));
    const QRegularExpressionMatch match = form.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const int width = match.captured(1).toInt();
    const int height = match.captured(2).toInt();
    if (width < 1 || height < 1 || width > kLargestSide || height > kLargestSide)
        return std::nullopt;
    return QSize(width, height);
}

RememberedSize::RememberedSize(QWidget *window, core::SettingsStore &settings, QString key)
    : QObject(window), m_window(window), m_settings(settings), m_key(std::move(key))
{
    m_rest.setSingleShot(true);
    m_rest.setInterval(kRestMs);
    connect(&m_rest, &QTimer::timeout, this, &RememberedSize::save);
    window->installEventFilter(this);
}

std::optional<QSize> RememberedSize::stored() const
{
    const QString text = m_settings.read(m_key, QString());
    return sizeFromText(text);
}

void RememberedSize::restore(QWidget *client, QSize designed, QSize overhead)
{
    const QSize available = m_window->screen()->availableGeometry().size();
    const QSize room = available - overhead - kFrameAllowance;
    const QSize fitting = openingClientSize(designed, room, std::nullopt);
    client->setMinimumSize(fitting);
    m_window->resize(fitting + overhead);
    const std::optional<QSize> size = stored();
    if (size)
        m_window->resize(openingClientSize(designed, room, *size - overhead) + overhead);
}

void RememberedSize::save()
{
    m_rest.stop();
    if (!m_resizedByUser)
        return;
    const QString value = sizeText(m_window->size());
    if (value == m_written)
        return;
    try {
        if (m_written.isNull())
            m_written = m_settings.read(m_key, QString());
        if (value != m_written) {
            m_settings.write(m_key, value);
            m_written = value;
        }
    } catch (const core::Failure &) {
        // Left unsaved: the window keeps working and the next resize tries again.
    }
}

bool RememberedSize::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window) {
        switch (event->type()) {
        case QEvent::Show:
            if (!m_opened)
                m_opened = m_window->size();
            break;
        case QEvent::Resize:
            if (m_opened && m_window->isVisible()) {
                m_resizedByUser = m_resizedByUser || m_window->size() != *m_opened;
                if (m_resizedByUser)
                    m_rest.start();
            }
            break;
        case QEvent::Hide:
            save();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace orvella::ui

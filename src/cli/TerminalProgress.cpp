#include "cli/TerminalProgress.h"

#include "core/ProgressState.h"

#include <cstdio>

#include <unistd.h>

namespace orvella::cli {

TerminalProgress::TerminalProgress(core::ProgressState &state) : m_state(state), m_terminal(::isatty(STDERR_FILENO))
{
    m_since.start();
    if (m_terminal)
        connect(&state, &core::ProgressState::changed, this,
                [this] { show(m_state.shownText() + QStringLiteral(" %1 %").arg(m_state.shownPosition())); });
}

void TerminalProgress::note(const QString &text)
{
    if (m_terminal)
        show(text);
}

void TerminalProgress::show(const QString &text)
{
    const qint64 now = m_since.elapsed();
    if (now < 1000 || now - m_lastShown < 100)
        return;
    m_lastShown = now;
    m_shown = true;
    std::fprintf(stderr, "\r%s\033[K", text.toLocal8Bit().constData());
    std::fflush(stderr);
}

void TerminalProgress::finish()
{
    if (m_shown)
        std::fputs("\r\033[K", stderr);
    m_shown = false;
}

} // namespace orvella::cli

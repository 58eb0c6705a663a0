#include "cli/TerminalProgress.h"

#include "core/ProgressState.h"

#include <cstdio>

#include <unistd.h>

namespace orvella::cli {

TerminalProgress::TerminalProgress(core::ProgressState &state) : m_state(state), m_terminal(::isatty(STDERR_FILENO))
{
    m_since.start();
    // The sort sets its progress for every name and lets no event loop run: the line
    // follows the settings themselves, not the queued "changed" that a window waits for.
    state.setUnwatched(!m_terminal);
    if (m_terminal) {
        connect(&state, &core::ProgressState::positionSet, this, [this] { showState(); });
        connect(&state, &core::ProgressState::textSet, this, [this] { showState(); });
    }
}

void TerminalProgress::showState()
{
    if (due())
        show(m_state.shownText() + QStringLiteral(" %1 %").arg(m_state.shownPosition()));
}

bool TerminalProgress::due() const
{
    const qint64 now = m_since.elapsed();
    return now >= 1000 && now - m_lastShown >= 100;
}

void TerminalProgress::note(const QString &text)
{
    if (m_terminal)
        show(text);
}

void TerminalProgress::show(const QString &text)
{
    if (!due())
        return;
    m_lastShown = m_since.elapsed();
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

#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>

namespace orvella::core {
class ProgressState;
} // namespace orvella::core

namespace orvella::cli {

// A progress line on standard error while a long run reads, sorts and writes: only when
// standard error is a terminal, only once the run has taken a second, and at most ten
// times a second. finish() takes the line away again.
class TerminalProgress : public QObject {
public:
    explicit TerminalProgress(core::ProgressState &state);
    // What the run is doing besides the sort's own progress ("Reading names.txt").
    void note(const QString &text);
    void finish();

private:
    void showState();
    // A second into the run, and a tenth of a second since the line last changed.
    bool due() const;
    void show(const QString &text);

    core::ProgressState &m_state;
    QElapsedTimer m_since;
    qint64 m_lastShown = -1000;
    bool m_terminal;
    bool m_shown = false;
};

} // namespace orvella::cli

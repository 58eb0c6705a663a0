#pragma once

#include <QObject>
#include <QString>

namespace orvella::core {

// The main window's progress bar as data: a position 0..100 and a text. Commands set
// it as often as they like; the bar is told once per event-loop pass.
class ProgressState : public QObject {
    Q_OBJECT
public:
    static inline const QString kIdleText = QStringLiteral("Progress Bar");

    explicit ProgressState(QObject *parent = nullptr);

    double position() const { return m_position; }
    const QString &text() const { return m_text; }
    // The text as the bar shows it: cut like a long list row (the text itself stays
    // whole), since laying out a text of millions of characters takes seconds.
    QString shownText() const;
    // Whole-number position as the bar shows it (clamped to 0..100).
    int shownPosition() const;

    // Nobody watches (a run for a script that writes to no terminal): the settings
    // below are dropped, which spares a sort two of its steps per name.
    void setUnwatched(bool unwatched) { m_unwatched = unwatched; }

    void setPosition(double position);
    void setText(const QString &text);
    // The same as setText(prefix + rest), without a new string each time.
    void setText(QStringView prefix, QStringView rest);

signals:
    // Coalesced: at most once per event-loop pass.
    void changed();
    // Every assignment, for those that need to see each step (tests).
    void positionSet(double position);
    void textSet(const QString &text);

private:
    void queueChanged();

    double m_position = 0;
    QString m_text = kIdleText;
    bool m_queued = false;
    bool m_unwatched = false;
};

} // namespace orvella::core

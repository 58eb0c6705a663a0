#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace orvella::core {
class Desktop;
}

namespace orvella::session {
class ReadingSettings;
}

namespace orvella::app {

using session::ReadingSettings;

// Edits the particle list: one particle per line. Save writes it to the settings at
// once; Restore Defaults puts the default list in the field; Cancel and Escape close
// the window without a change.
class ParticleListWindow : public QWidget {
    Q_OBJECT
public:
    ParticleListWindow(ReadingSettings &reading, core::Desktop &desktop, QWidget *parent = nullptr);

    // Shows the list as it stands.
    void reload();
    void save();

private:
    ReadingSettings &m_reading;
    core::Desktop &m_desktop;
    QPlainTextEdit *m_text = nullptr;
};

} // namespace orvella::app

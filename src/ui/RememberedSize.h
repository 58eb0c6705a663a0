#pragma once

#include <QObject>
#include <QSize>
#include <QString>
#include <QTimer>
#include <optional>

class QWidget;

namespace orvella::core {
class SettingsStore;
} // namespace orvella::core

namespace orvella::ui {

// A window's size as the user left it, kept in the settings store under a key of its
// own as "WIDTHxHEIGHT" (logical pixels, the whole window without the desktop's frame).
//
// The size is written once the user has resized the window (to a size other than the
// one it opened at): when a resize has come to rest, and when the window hides or
// closes, each time only when it differs from what is stored. Every write is one
// attempt; a store that cannot be written leaves the size unsaved and the user
// undisturbed, so that hiding and closing never wait on it.
class RememberedSize : public QObject {
    Q_OBJECT
public:
    RememberedSize(QWidget *window, core::SettingsStore &settings, QString key);

    // The stored size, or nothing when it is missing or unreadable. Throws a Failure
    // when the store cannot be read.
    std::optional<QSize> stored() const;

    // Sizes the window for the screen it shows on: the client area (the window itself
    // or a part of it, overhead being the rest) at least the size that fits on the
    // screen, and at the stored size within the screen when there is one (see
    // openingClientSize). Throws a Failure when the store cannot be read; the window
    // then has the fitting size.
    void restore(QWidget *client, QSize designed, QSize overhead);

    // Room kept free for the desktop's frame around a window (its title bar and
    // borders), which is not known before the window is shown.
    static constexpr QSize kFrameAllowance{16, 40};

    // Writes the present size when the user changed it (see above).
    void save();

    // How long a resize must rest before it is written.
    static constexpr int kRestMs = 400;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
    core::SettingsStore &m_settings;
    QString m_key;
    std::optional<QSize> m_opened; // the size when first shown
    bool m_resizedByUser = false;   // since then, to another size
    QString m_written;             // the value last written or found stored
    QTimer m_rest;
};

// "1200x700" for a size, and back; nothing for any other text.
QString sizeText(QSize size);
std::optional<QSize> sizeFromText(const QString &text);

} // namespace orvella::ui

#include "app/X11Clipboard.h"

#include <QAbstractNativeEventFilter>
#include <QClipboard>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace orvella::app {
namespace {

xcb_atom_t internAtom(xcb_connection_t *connection, const char *name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

xcb_window_t selectionOwner(xcb_connection_t *connection, xcb_atom_t selection)
{
    xcb_get_selection_owner_reply_t *reply =
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, selection), nullptr);
    const xcb_window_t owner = reply ? reply->owner : xcb_window_t(XCB_NONE);
    std::free(reply);
    return owner;
}

// Ends a wait when the answer to a selection request arrives: a SelectionNotify for
// the requesting window. Keeps the property the answer names (none: refused).
class SelectionAnswer : public QAbstractNativeEventFilter {
public:
    SelectionAnswer(xcb_window_t requestor, QEventLoop &wait) : m_requestor(requestor), m_wait(wait) {}

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
        if (eventType != "xcb_generic_event_t")
            return false;
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        if ((event->response_type & 0x7f) != XCB_SELECTION_NOTIFY)
            return false;
        const auto *notify = reinterpret_cast<const xcb_selection_notify_event_t *>(event);
        if (notify->requestor != m_requestor)
            return false;
        answered = true;
        property = notify->property;
        m_wait.quit();
        return true;
    }

    bool answered = false;
    xcb_atom_t property = XCB_ATOM_NONE;

private:
    xcb_window_t m_requestor;
    QEventLoop &m_wait;
};

// Asks the owner of a selection to convert it to target into property of a window made
// for the purpose, and waits for the answer at most waitMs while the window system's
// events (not the user's) are processed. Calls done with the answer, then drops the window.
template<typename Done>
void requestSelection(xcb_connection_t *connection, xcb_atom_t selection, xcb_atom_t target, xcb_atom_t property,
                      int waitMs, Done &&done)
{
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const xcb_window_t requestor = xcb_generate_id(connection);
    xcb_create_window(connection, 0, requestor, screen->root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, 0, nullptr);
    QEventLoop wait;
    SelectionAnswer answer(requestor, wait);
    QCoreApplication::instance()->installNativeEventFilter(&answer);
    xcb_delete_property(connection, requestor, property);
    xcb_convert_selection(connection, requestor, selection, target, property, XCB_CURRENT_TIME);
    xcb_flush(connection);
    QTimer::singleShot(waitMs, &wait, &QEventLoop::quit);
    wait.exec(QEventLoop::ExcludeUserInputEvents);
    QCoreApplication::instance()->removeNativeEventFilter(&answer);
    done(answer, requestor);
    xcb_destroy_window(connection, requestor);
    xcb_flush(connection);
}

// Qt's connection to the X server; null on another window system.
xcb_connection_t *x11Connection()
{
    auto *application = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    auto *x11 = application ? application->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

} // namespace

void handClipboardToManager(int waitMs)
{
    auto *application = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    QClipboard *clipboard = application ? QGuiApplication::clipboard() : nullptr;
    if (!clipboard || !clipboard->ownsClipboard())
        return;
    xcb_connection_t *connection = x11Connection();
    if (!connection)
        return;
    const xcb_atom_t manager = internAtom(connection, "CLIPBOARD_MANAGER");
    const xcb_atom_t saveTargets = internAtom(connection, "SAVE_TARGETS");
    const xcb_atom_t property = internAtom(connection, "ORVELLA_SAVE_TARGETS");
    if (manager == XCB_ATOM_NONE || saveTargets == XCB_ATOM_NONE || property == XCB_ATOM_NONE ||
        selectionOwner(connection, manager) == XCB_NONE)
        return;
    // No list of targets in the property: the manager keeps every format we offer. It
    // asks us for the clipboard's contents meanwhile, which the event processing answers.
    requestSelection(connection, manager, saveTargets, property, waitMs, [](const SelectionAnswer &, xcb_window_t) {});
}

ClipboardHolder clipboardHolder()
{
    xcb_connection_t *connection = x11Connection();
    const xcb_atom_t clipboard = connection ? internAtom(connection, "CLIPBOARD") : xcb_atom_t(XCB_ATOM_NONE);
    if (clipboard == XCB_ATOM_NONE)
        return ClipboardHolder::Unknown;
    const xcb_window_t owner = selectionOwner(connection, clipboard);
    if (owner == XCB_NONE)
        return ClipboardHolder::Nobody;
    // Every window a client makes has an id in the client's own range.
    const xcb_setup_t *setup = xcb_get_setup(connection);
    return (owner & ~setup->resource_id_mask) == setup->resource_id_base ? ClipboardHolder::ThisProgram
                                                                           : ClipboardHolder::OtherProgram;
}

ClipboardReading readClipboardText(int waitMs)
{
    xcb_connection_t *connection = x11Connection();
    if (!connection)
        return {ClipboardReading::Unknown, {}};
    const xcb_atom_t clipboard = internAtom(connection, "CLIPBOARD");
    const xcb_atom_t utf8 = internAtom(connection, "UTF8_STRING");
    const xcb_atom_t incremental = internAtom(connection, "INCR");
    const xcb_atom_t property = internAtom(connection, "ORVELLA_READ_BACK");
    if (clipboard == XCB_ATOM_NONE || utf8 == XCB_ATOM_NONE || property == XCB_ATOM_NONE)
        return {ClipboardReading::Unknown, {}};
    ClipboardReading reading{ClipboardReading::NoAnswer, {}};
    requestSelection(connection, clipboard, utf8, property, waitMs, [&](const SelectionAnswer &answer,
                                                                        xcb_window_t requestor) {
        if (!answer.answered)
            return;
        reading.outcome = ClipboardReading::Text;
        if (answer.property == XCB_ATOM_NONE)
            return; // refused: it holds no text
        xcb_get_property_reply_t *reply = xcb_get_property_reply(
            connection,
            xcb_get_property(connection, 1, requestor, answer.property, XCB_GET_PROPERTY_TYPE_ANY, 0, UINT32_MAX / 4),
            nullptr);
        if (!reply || reply->type == incremental) // sent in parts: a large answer
            reading.outcome = ClipboardReading::Unknown;
        else if (reply->format == 8)
            reading.utf8 = QByteArray(static_cast<const char *>(xcb_get_property_value(reply)),
                                      xcb_get_property_value_length(reply));
        std::free(reply);
    });
    return reading;
}

} // namespace orvella::app

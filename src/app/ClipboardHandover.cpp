#include "app/ClipboardHandover.h"

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

// Ends the wait when the manager's answer to our request arrives: a SelectionNotify
// for our own window.
class ManagerAnswer : public QAbstractNativeEventFilter {
public:
    ManagerAnswer(xcb_window_t requestor, QEventLoop &wait) : m_requestor(requestor), m_wait(wait) {}

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
        if (eventType != "xcb_generic_event_t")
            return false;
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        if ((event->response_type & 0x7f) != XCB_SELECTION_NOTIFY ||
            reinterpret_cast<const xcb_selection_notify_event_t *>(event)->requestor != m_requestor)
            return false;
        m_wait.quit();
        return true;
    }

private:
    xcb_window_t m_requestor;
    QEventLoop &m_wait;
};

} // namespace

void handClipboardToManager(int waitMs)
{
    auto *application = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    QClipboard *clipboard = application ? QGuiApplication::clipboard() : nullptr;
    if (!clipboard || !clipboard->ownsClipboard())
        return;
    auto *x11 = application->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return;
    const xcb_atom_t manager = internAtom(connection, "CLIPBOARD_MANAGER");
    const xcb_atom_t saveTargets = internAtom(connection, "SAVE_TARGETS");
    const xcb_atom_t property = internAtom(connection, "ORVELLA_SAVE_TARGETS");
    if (manager == XCB_ATOM_NONE || saveTargets == XCB_ATOM_NONE || property == XCB_ATOM_NONE ||
        selectionOwner(connection, manager) == XCB_NONE)
        return;

    // An invisible window of our own receives the answer.
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const xcb_window_t requestor = xcb_generate_id(connection);
    xcb_create_window(connection, 0, requestor, screen->root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, 0, nullptr);

    QEventLoop wait;
    ManagerAnswer answer(requestor, wait);
    application->installNativeEventFilter(&answer);
    // No list of targets in the property: the manager keeps every format we offer.
    xcb_delete_property(connection, requestor, property);
    xcb_convert_selection(connection, requestor, manager, saveTargets, property, XCB_CURRENT_TIME);
    xcb_flush(connection);
    // The manager now asks us for the clipboard's contents; the window system's events
    // are processed so that we answer, but nothing the user does is.
    QTimer::singleShot(waitMs, &wait, &QEventLoop::quit);
    wait.exec(QEventLoop::ExcludeUserInputEvents);
    application->removeNativeEventFilter(&answer);
    xcb_destroy_window(connection, requestor);
    xcb_flush(connection);
}

} // namespace orvella::app

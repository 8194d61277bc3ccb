#include "platform/linux/x11/X11QueuedEvents.h"

#include "platform/linux/x11/XcbConnection.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTimer>
#include <utility>
#include <xcb/xcb.h>

namespace rondelix::platform::linux_desktop {

namespace {

constexpr const char* markerName = "_RONDELIX_QUEUED_EVENTS_HANDLED";
// A server that no longer answers must not keep the program from quitting.
constexpr int answerWaitMs = 2000;

xcb_connection_t* qtConnection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

} // namespace

X11QueuedEvents::X11QueuedEvents() {
    xcb_connection_t* connection = qtConnection();
    if (!connection) return;
    marker_ = internAtom(connection, markerName, AtomLookup::Create);
    if (marker_ == XCB_ATOM_NONE) return;
    // A message sent with no event mask goes to the client that made the
    // window: an input-only window of its own, never shown, receives it.
    window_ = xcb_generate_id(connection);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window_, root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_flush(connection);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11QueuedEvents::~X11QueuedEvents() {
    if (!window_) return;
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeNativeEventFilter(this);
    if (xcb_connection_t* connection = qtConnection()) {
        xcb_destroy_window(connection, window_);
        xcb_flush(connection);
    }
}

void X11QueuedEvents::handleThen(std::function<void()> then) {
    waiting_.push_back(std::move(then));
    xcb_connection_t* connection = window_ ? qtConnection() : nullptr;
    if (!connection) {
        QTimer::singleShot(0, &timers_, [this] { runWaiting(); });
        return;
    }
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window_;
    message.type = marker_;
    xcb_send_event(connection, 0, window_, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
    QTimer::singleShot(answerWaitMs, &timers_, [this] { runWaiting(); });
}

bool X11QueuedEvents::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    // The high bit marks a sent event, which the marker is.
    if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE) return false;
    const auto* client = static_cast<const xcb_client_message_event_t*>(message);
    if (client->window != window_ || client->type != marker_) return false;
    // The events ahead of the marker have been read, but the toolkit hands
    // them to their windows on a later turn of the loop: that turn is taken
    // first, and the work comes after it.
    QTimer::singleShot(0, &timers_, [this] {
        QCoreApplication::processEvents();
        runWaiting();
    });
    return true;
}

void X11QueuedEvents::runWaiting() {
    for (auto& then : std::exchange(waiting_, {}))
        then();
}

} // namespace rondelix::platform::linux_desktop

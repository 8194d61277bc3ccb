#include "platform/linux/X11ManagerProperty.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>
// Last: Xlib's macros would rewrite names in the headers above.
#include <X11/Xlib.h>

namespace rondelix::platform::linux_desktop {

namespace {

template <typename Reply> using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

xcb_atom_t atom(xcb_connection_t* connection, const std::string& name) {
    const Owned<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(name.size()), name.data()),
            nullptr),
        &std::free);
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// Adds to the events this program hears from a window, keeping those it
// (Qt, for the root window) already hears.
void hear(xcb_connection_t* connection, xcb_window_t window, std::uint32_t events) {
    const Owned<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window), nullptr),
        &std::free);
    if (!attributes) return;
    const std::uint32_t mask = attributes->your_event_mask | events;
    xcb_change_window_attributes(connection, window, XCB_CW_EVENT_MASK, &mask);
}

} // namespace

X11ManagerProperty::X11ManagerProperty(const std::string& selectionPrefix, const std::string& property,
                                       std::function<void()> changed)
    : changed_(std::move(changed)) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    connection_ = x11 ? x11->connection() : nullptr;
    if (!connection_) return;
    const int screen = x11->display() ? DefaultScreen(x11->display()) : 0;
    selection_ = atom(connection_, selectionPrefix + std::to_string(screen));
    property_ = atom(connection_, property);
    manager_ = atom(connection_, "MANAGER");
    // A service announces taking a selection over to the root window.
    const xcb_screen_t* root = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    for (xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection_)); it.rem;
         xcb_screen_next(&it))
        if (it.index == screen) root = it.data;
    if (root) hear(connection_, root->root, XCB_EVENT_MASK_STRUCTURE_NOTIFY);
    followOwner();
    xcb_flush(connection_);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11ManagerProperty::~X11ManagerProperty() {
    if (connection_ && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

void X11ManagerProperty::followOwner() {
    const Owned<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(connection_, xcb_get_selection_owner(connection_, selection_), nullptr),
        &std::free);
    owner_ = owner ? owner->owner : static_cast<xcb_window_t>(XCB_WINDOW_NONE);
    if (owner_ != XCB_WINDOW_NONE)
        hear(connection_, owner_, XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY);
}

std::optional<X11ManagerProperty::Value> X11ManagerProperty::read() const {
    if (!connection_ || owner_ == XCB_WINDOW_NONE || property_ == XCB_ATOM_NONE) return std::nullopt;
    // Settings stay well under a megabyte; the length is in 32-bit units.
    const Owned<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(
            connection_,
            xcb_get_property(connection_, 0, owner_, property_, XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 18),
            nullptr),
        &std::free);
    if (!reply || reply->type == XCB_ATOM_NONE) return std::nullopt;
    const auto* data = static_cast<const std::uint8_t*>(xcb_get_property_value(reply.get()));
    const int length = xcb_get_property_value_length(reply.get());
    return Value{reply->format, std::vector<std::uint8_t>(data, data + std::max(length, 0))};
}

bool X11ManagerProperty::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t" || !message) return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    switch (event->response_type & ~0x80) {
    case XCB_PROPERTY_NOTIFY: {
        const auto* notify = static_cast<const xcb_property_notify_event_t*>(message);
        if (notify->window == owner_ && notify->atom == property_) changed_();
        break;
    }
    case XCB_CLIENT_MESSAGE: {
        const auto* client = static_cast<const xcb_client_message_event_t*>(message);
        if (client->type == manager_ && client->format == 32 && client->data.data32[1] == selection_) {
            followOwner();
            xcb_flush(connection_);
            changed_();
        }
        break;
    }
    case XCB_DESTROY_NOTIFY: {
        const auto* destroyed = static_cast<const xcb_destroy_notify_event_t*>(message);
        if (destroyed->window == owner_ && owner_ != XCB_WINDOW_NONE) {
            owner_ = XCB_WINDOW_NONE;
            changed_();
        }
        break;
    }
    default:
        break;
    }
    return false;
}

} // namespace rondelix::platform::linux_desktop

#include "platform/linux/x11/X11ManagerProperty.h"

#include "platform/linux/x11/XcbConnection.h"

#include <QMetaObject>
#include <QSocketNotifier>
#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

namespace rondelix::platform::linux_desktop {

namespace {

void hear(xcb_connection_t* connection, xcb_window_t window, std::uint32_t events) {
    xcb_change_window_attributes(connection, window, XCB_CW_EVENT_MASK, &events);
}

} // namespace

X11ManagerProperty::X11ManagerProperty(const std::string& selectionPrefix, const std::string& property,
                                       std::function<void()> changed)
    : changed_(std::move(changed)) {
    const XcbConnection opened = connectBesideToolkit();
    if (!opened.connection) return;
    connection_ = opened.connection;
    selection_ = internAtom(connection_, selectionPrefix + std::to_string(opened.screen), AtomLookup::Create);
    property_ = internAtom(connection_, property, AtomLookup::Create);
    manager_ = internAtom(connection_, "MANAGER", AtomLookup::Create);
    // A service announces taking a selection over to the root window.
    if (opened.root != XCB_WINDOW_NONE) hear(connection_, opened.root, XCB_EVENT_MASK_STRUCTURE_NOTIFY);
    followOwner();
    xcb_flush(connection_);
    notifier_ =
        std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(connection_), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { handleEvents(); });
}

X11ManagerProperty::~X11ManagerProperty() {
    notifier_.reset();
    if (connection_) xcb_disconnect(connection_);
}

void X11ManagerProperty::followOwner() {
    const Owned<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(connection_, xcb_get_selection_owner(connection_, selection_), nullptr),
        &std::free);
    owner_ = owner ? owner->owner : static_cast<xcb_window_t>(XCB_WINDOW_NONE);
    if (owner_ != XCB_WINDOW_NONE)
        hear(connection_, owner_, XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY);
}

std::optional<X11ManagerProperty::Value> X11ManagerProperty::read() {
    if (!connection_ || owner_ == XCB_WINDOW_NONE || property_ == XCB_ATOM_NONE) return std::nullopt;
    // Settings stay well under a megabyte; the length is in 32-bit units.
    const Owned<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(
            connection_,
            xcb_get_property(connection_, 0, owner_, property_, XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 18),
            nullptr),
        &std::free);
    // Events that came in while waiting are queued where the socket no
    // longer shows them.
    QMetaObject::invokeMethod(
        notifier_.get(), [this] { handleEvents(); }, Qt::QueuedConnection);
    if (!reply || reply->type == XCB_ATOM_NONE) return std::nullopt;
    const auto* data = static_cast<const std::uint8_t*>(xcb_get_property_value(reply.get()));
    const int length = xcb_get_property_value_length(reply.get());
    return Value{reply->format, std::vector<std::uint8_t>(data, data + std::max(length, 0))};
}

void X11ManagerProperty::handleEvents() {
    bool tell = false;
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        const Owned<xcb_generic_event_t> owned(event, &std::free);
        switch (event->response_type & ~0x80) {
        case XCB_PROPERTY_NOTIFY: {
            const auto* notify = reinterpret_cast<const xcb_property_notify_event_t*>(event);
            tell = tell || (notify->window == owner_ && notify->atom == property_);
            break;
        }
        case XCB_CLIENT_MESSAGE: {
            const auto* client = reinterpret_cast<const xcb_client_message_event_t*>(event);
            if (client->type == manager_ && client->format == 32 && client->data.data32[1] == selection_) {
                followOwner();
                tell = true;
            }
            break;
        }
        case XCB_DESTROY_NOTIFY: {
            const auto* destroyed = reinterpret_cast<const xcb_destroy_notify_event_t*>(event);
            if (destroyed->window == owner_ && owner_ != XCB_WINDOW_NONE) {
                owner_ = XCB_WINDOW_NONE;
                tell = true;
            }
            break;
        }
        default:
            break;
        }
    }
    xcb_flush(connection_);
    if (tell) changed_();
}

} // namespace rondelix::platform::linux_desktop

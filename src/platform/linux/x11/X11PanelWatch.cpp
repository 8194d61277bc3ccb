#include "platform/linux/x11/X11PanelWatch.h"

#include "platform/linux/x11/X11PanelColour.h"
#include "platform/linux/x11/XcbConnection.h"

#include <QMetaObject>
#include <QSocketNotifier>
#include <algorithm>
#include <cstdlib>
#include <unordered_map>
#include <xcb/damage.h>
#include <xcb/xcb.h>

namespace rondelix::platform::linux_desktop {

X11PanelWatch::X11PanelWatch(std::function<void()> repainted) : repainted_(std::move(repainted)) {
    const XcbConnection opened = connectBesideToolkit();
    if (!opened.connection) return;
    connection_ = opened.connection;
    root_ = opened.root;
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection_, &xcb_damage_id);
    if (extension && extension->present) {
        const Owned<xcb_damage_query_version_reply_t> version(
            xcb_damage_query_version_reply(
                connection_,
                xcb_damage_query_version(connection_, XCB_DAMAGE_MAJOR_VERSION, XCB_DAMAGE_MINOR_VERSION),
                nullptr),
            &std::free);
        damage_ = version != nullptr;
        damageEvent_ = extension->first_event + XCB_DAMAGE_NOTIFY;
    }
    notifier_ =
        std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(connection_), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { handleEvents(); });
}

X11PanelWatch::~X11PanelWatch() {
    notifier_.reset();
    if (connection_) xcb_disconnect(connection_);
}

std::optional<QColor> X11PanelWatch::colourAround(const QRect& area, int ring) {
    if (!connection_ || !root_) return std::nullopt;
    const xcb_setup_t* setup = xcb_get_setup(connection_);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(setup).data;
    const QRect grabbed = area.adjusted(-ring, -ring, ring, ring)
                              .intersected(QRect(0, 0, screen->width_in_pixels, screen->height_in_pixels));
    if (grabbed.isEmpty()) return std::nullopt;
    const Owned<xcb_get_image_reply_t> image(
        xcb_get_image_reply(connection_,
                            xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, root_,
                                          std::int16_t(grabbed.x()), std::int16_t(grabbed.y()),
                                          std::uint16_t(grabbed.width()), std::uint16_t(grabbed.height()),
                                          ~0u),
                            nullptr),
        &std::free);
    takeInLater();
    if (!image || image->depth < 24) return std::nullopt;
    // Four bytes a pixel, red, green and blue in the low three, as every
    // server of today lays out a true-colour screen.
    const xcb_format_t* formats = xcb_setup_pixmap_formats(setup);
    const xcb_format_t* format = std::find_if(formats, formats + xcb_setup_pixmap_formats_length(setup),
                                              [&](const xcb_format_t& f) { return f.depth == image->depth; });
    if (format == formats + xcb_setup_pixmap_formats_length(setup) || format->bits_per_pixel != 32)
        return std::nullopt;
    const std::uint8_t* data = xcb_get_image_data(image.get());
    const int stride = grabbed.width() * 4;
    if (xcb_get_image_data_length(image.get()) < stride * grabbed.height()) return std::nullopt;
    const bool mostFirst = setup->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;
    const QRect inner = area.translated(-grabbed.topLeft());
    std::unordered_map<QRgb, int> counts;
    for (int y = 0; y < grabbed.height(); ++y)
        for (int x = 0; x < grabbed.width(); ++x) {
            if (inner.contains(x, y)) continue;
            const std::uint8_t* p = data + y * stride + x * 4;
            ++counts[mostFirst ? qRgb(p[1], p[2], p[3]) : qRgb(p[2], p[1], p[0])];
        }
    if (counts.empty()) return std::nullopt;
    return QColor(std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
                      return a.second < b.second;
                  })->first);
}

bool X11PanelWatch::follow(const QRect& area, int ring) {
    stop();
    if (!damage_) return false;
    std::vector<xcb_window_t> windows;
    if (area.isEmpty()) {
        windows = dockWindows(connection_, root_);
        takeInLater();
    } else {
        // The window shown there: the panel, or the frame it sits in.
        const Owned<xcb_translate_coordinates_reply_t> under(
            xcb_translate_coordinates_reply(connection_,
                                            xcb_translate_coordinates(connection_, root_, root_,
                                                                      std::int16_t(area.center().x()),
                                                                      std::int16_t(area.center().y())),
                                            nullptr),
            &std::free);
        takeInLater();
        if (!under || under->child == XCB_WINDOW_NONE) return false;
        windows = {under->child};
        inner_ = area;
        outer_ = area.adjusted(-ring, -ring, ring, ring);
    }
    // Each drawing is told apart, so that the icon's own does not hide among
    // the panel's. A new damage object tells of the whole window at once,
    // and the caller looks at the panel after this: only what is drawn after
    // the request that follows the last object counts.
    for (const xcb_window_t window : windows) {
        const xcb_damage_damage_t damage = xcb_generate_id(connection_);
        const auto sequence = static_cast<std::uint16_t>(
            xcb_damage_create(connection_, damage, window, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES).sequence);
        if (followed_.empty()) firstRequest_ = sequence;
        lastRequest_ =
            static_cast<std::uint16_t>(xcb_damage_subtract(connection_, damage, XCB_NONE, XCB_NONE).sequence);
        followed_.push_back(damage);
    }
    xcb_flush(connection_);
    return !followed_.empty();
}

void X11PanelWatch::stop() {
    for (const std::uint32_t damage : followed_)
        xcb_damage_destroy(connection_, damage);
    if (!followed_.empty()) xcb_flush(connection_);
    followed_.clear();
    outer_.reset();
    inner_.reset();
}

// Events that came in while an answer was waited for are queued where the
// socket no longer shows them.
void X11PanelWatch::takeInLater() {
    QMetaObject::invokeMethod(
        notifier_.get(), [this] { handleEvents(); }, Qt::QueuedConnection);
}

void X11PanelWatch::handleEvents() {
    bool told = false;
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        const Owned<xcb_generic_event_t> owned(event, &std::free);
        if ((event->response_type & ~0x80) != damageEvent_ || !damage_) continue;
        const auto* notify = reinterpret_cast<const xcb_damage_notify_event_t*>(event);
        if (std::find(followed_.begin(), followed_.end(), notify->damage) == followed_.end() ||
            std::uint16_t(notify->sequence - firstRequest_) < std::uint16_t(lastRequest_ - firstRequest_))
            continue;
        // Where it was drawn on screen: the area is told from the window's origin.
        const QRect drawn(notify->geometry.x + notify->area.x, notify->geometry.y + notify->area.y,
                          notify->area.width, notify->area.height);
        // The icon drawing itself leaves the panel around it as it was.
        told = told || !outer_ || (drawn.intersects(*outer_) && !inner_->contains(drawn));
    }
    xcb_flush(connection_);
    if (told) repainted_();
}

} // namespace rondelix::platform::linux_desktop

#include "desktop/x11/server_frames.h"

#include <xcb/xcb.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace kelto {
namespace {

template <class Reply>
struct FreeReply {
    void operator()(Reply* reply) const { std::free(reply); }
};
template <class Reply>
using ReplyPtr = std::unique_ptr<Reply, FreeReply<Reply>>;

const xcb_screen_t* ScreenWithRoot(xcb_connection_t* connection, xcb_window_t root) {
    for (auto it = xcb_setup_roots_iterator(xcb_get_setup(connection)); it.rem;
         xcb_screen_next(&it))
        if (it.data->root == root) return it.data;
    return nullptr;
}

const xcb_visualtype_t* RootVisual(const xcb_screen_t& screen) {
    for (auto depths = xcb_screen_allowed_depths_iterator(&screen); depths.rem;
         xcb_depth_next(&depths)) {
        if (depths.data->depth != screen.root_depth) continue;
        for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem;
             xcb_visualtype_next(&visuals))
            if (visuals.data->visual_id == screen.root_visual) return visuals.data;
    }
    return nullptr;
}

// Rows in the server's bitmap layout: whole pads, bits and bytes in the server's order.
std::vector<std::uint8_t> BitmapRows(const QImage& picture, int unitBits, int padBits,
                                     bool lsbBitFirst, bool lsbByteFirst) {
    const QImage rows =
        picture.convertToFormat(lsbBitFirst ? QImage::Format_MonoLSB : QImage::Format_Mono);
    const auto rowBytes = static_cast<std::size_t>((rows.width() + padBits - 1) / padBits) *
                          static_cast<std::size_t>(padBits / 8);
    const auto copied =
        std::min<std::size_t>(rowBytes, static_cast<std::size_t>(rows.bytesPerLine()));
    std::vector<std::uint8_t> out(rowBytes * static_cast<std::size_t>(rows.height()), 0);
    for (int y = 0; y < rows.height(); ++y)
        std::copy_n(rows.constScanLine(y), copied,
                    out.begin() + static_cast<std::ptrdiff_t>(y * rowBytes));
    // A bit stream in the bit order is right as it stands when the bytes of a unit run in the
    // same order; otherwise each unit's bytes are reversed.
    const auto unitBytes = static_cast<std::size_t>(unitBits / 8);
    if (unitBytes > 1 && lsbBitFirst != lsbByteFirst)
        for (std::size_t at = 0; at + unitBytes <= out.size(); at += unitBytes)
            std::reverse(out.begin() + static_cast<std::ptrdiff_t>(at),
                         out.begin() + static_cast<std::ptrdiff_t>(at + unitBytes));
    return out;
}

// A window that is exposed, mapped (again) or taken into another parent may have lost its
// pixels; a compositing window manager may only start to track it then.
bool WhatWasDrawnMayBeLost(const xcb_generic_event_t& event, xcb_window_t window) {
    switch (event.response_type & 0x7f) {
        case XCB_EXPOSE:
            return reinterpret_cast<const xcb_expose_event_t&>(event).window == window;
        case XCB_MAP_NOTIFY:
            return reinterpret_cast<const xcb_map_notify_event_t&>(event).window == window;
        case XCB_REPARENT_NOTIFY:
            return reinterpret_cast<const xcb_reparent_notify_event_t&>(event).window == window;
        default:
            return false;
    }
}

constexpr const char* kWindowDestroyed = "cannot show a frame: its window was destroyed";

std::string ErrorName(std::uint8_t code) {
    static constexpr const char* kNames[] = {
        "Success",   "BadRequest", "BadValue",    "BadWindow",   "BadPixmap", "BadAtom",
        "BadCursor", "BadFont",    "BadMatch",    "BadDrawable", "BadAccess", "BadAlloc",
        "BadColor",  "BadGC",      "BadIDChoice", "BadName",     "BadLength", "BadImplementation"};
    if (code < std::size(kNames)) return kNames[code];
    return "X error " + std::to_string(code);
}

}  // namespace

bool ServerFrames::Start(QWidget& window, std::function<void()> lost) {
    if (window.devicePixelRatio() != 1.0) return false;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection || xcb_connection_has_error(connection)) return false;
    const auto id = static_cast<xcb_window_t>(window.winId());
    const auto geometryCookie = xcb_get_geometry(connection, id);
    const auto attributesCookie = xcb_get_window_attributes(connection, id);
    const ReplyPtr<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection, geometryCookie, nullptr));
    const ReplyPtr<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(connection, attributesCookie, nullptr));
    if (!geometry || !attributes) return false;
    const xcb_screen_t* screen = ScreenWithRoot(connection, geometry->root);
    if (!screen || geometry->depth != screen->root_depth ||
        attributes->visual != screen->root_visual)
        return false;
    const xcb_visualtype_t* visual = RootVisual(*screen);
    if (!visual || visual->_class != XCB_VISUAL_CLASS_TRUE_COLOR) return false;

    const xcb_setup_t* setup = xcb_get_setup(connection);
    const BitmapFormat format{setup->bitmap_format_scanline_unit, setup->bitmap_format_scanline_pad,
                              setup->bitmap_format_bit_order == XCB_IMAGE_ORDER_LSB_FIRST,
                              setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST};
    const auto validBits = [](int bits) { return bits == 8 || bits == 16 || bits == 32; };
    if (!validBits(format.unit) || !validBits(format.pad) || format.pad < format.unit) return false;

    connection_ = connection;
    window_ = id;
    format_ = format;
    lost_ = std::move(lost);
    // A set bit draws white, a clear one black. No exposure events: the pixmaps are whole.
    windowGc_ = xcb_generate_id(connection_);
    const std::uint32_t white = visual->red_mask | visual->green_mask | visual->blue_mask;
    const std::uint32_t values[] = {white, 0, 0};
    Sent(xcb_create_gc(connection_, windowGc_, window_,
                       XCB_GC_FOREGROUND | XCB_GC_BACKGROUND | XCB_GC_GRAPHICS_EXPOSURES, values)
             .sequence,
         "set up drawing in the window");
    QCoreApplication::instance()->installNativeEventFilter(this);
    return true;
}

ServerFrames::~ServerFrames() {
    if (!connection_) return;
    if (auto* application = QCoreApplication::instance())
        application->removeNativeEventFilter(this);
    for (const auto& [key, bitmap] : bitmaps_) xcb_free_pixmap(connection_, bitmap);
    if (bitmapGc_) xcb_free_gc(connection_, bitmapGc_);
    xcb_free_gc(connection_, windowGc_);
    xcb_flush(connection_);
}

void ServerFrames::Show(const QImage& picture, const QRect& area) {
    ThrowIfFailed();
    auto found = bitmaps_.find(picture.cacheKey());
    if (found == bitmaps_.end())
        found = bitmaps_.emplace(picture.cacheKey(), Upload(picture)).first;
    const int width = std::clamp(picture.width(), 0, std::max(area.width(), 0));
    const int height = std::clamp(picture.height(), 0, std::max(area.height(), 0));
    // Not remembered one by one: a pass a request would pile up while the server sends no
    // events. The toolkit never copies a plane, so a refused copy is known by its kind.
    xcb_copy_plane(connection_, found->second, window_, windowGc_, 0, 0,
                   static_cast<std::int16_t>(area.x()), static_cast<std::int16_t>(area.y()),
                   static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height), 1);
    xcb_flush(connection_);
}

void ServerFrames::EndOfEventStep() {
    if (!connection_) return;  // not started: the toolkit paints every frame
    ThrowIfFailed();
    // One cheap round trip a pass keeps the program at most one frame ahead of the server: over
    // a slow connection the copies would otherwise queue up for seconds, keys and the end
    // included. Its answer is collected a pass later, so the trip overlaps the pass's wait. It
    // also asks after the window, which a cam standing still copies nothing into.
    if (paced_) {
        xcb_generic_error_t* error = nullptr;
        const ReplyPtr<xcb_get_geometry_reply_t> answer(
            xcb_get_geometry_reply(connection_, xcb_get_geometry_cookie_t{*paced_}, &error));
        paced_.reset();
        // Asking after a window fails only once it is gone; said as its destruction is said,
        // whichever of the two answers comes first.
        if (error && failure_.empty())
            failure_ = error->error_code == XCB_DRAWABLE
                           ? kWindowDestroyed
                           : "cannot show a frame: the X server refused it (" +
                                 ErrorName(error->error_code) + ")";
        std::free(error);
        // Neither answer nor error: the connection broke, which the toolkit reports itself.
        ThrowIfFailed();
    }
    paced_ = xcb_get_geometry(connection_, window_).sequence;
    xcb_flush(connection_);
}

void ServerFrames::ThrowIfFailed() const {
    if (!failure_.empty()) throw std::runtime_error(failure_);
}

void ServerFrames::Sent(unsigned int sequence, const char* what) {
    unsettled_.emplace(sequence, what);
}

bool ServerFrames::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if (WhatWasDrawnMayBeLost(*event, window_) && lost_) lost_();
    // Told at once, not at the next request into it.
    if ((event->response_type & 0x7f) == XCB_DESTROY_NOTIFY &&
        reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window == window_ &&
        failure_.empty())
        failure_ = kWindowDestroyed;
    const unsigned int sequence = event->full_sequence;
    if (event->response_type == 0) {
        const auto* error = static_cast<const xcb_generic_error_t*>(message);
        const auto found = unsettled_.find(sequence);
        const char* what = found != unsettled_.end()             ? found->second
                           : error->major_code == XCB_COPY_PLANE ? "show a frame"
                                                                 : nullptr;
        if (what) {
            if (failure_.empty())
                failure_ = "cannot " + std::string(what) + ": the X server refused it (" +
                           ErrorName(error->error_code) + ")";
            unsettled_.erase(unsettled_.begin(), unsettled_.upper_bound(sequence));
            return true;  // answered here, not by the toolkit's warning
        }
    }
    // The server answers in order: every request before this answer has been answered too.
    unsettled_.erase(unsettled_.begin(), unsettled_.lower_bound(sequence));
    return false;
}

std::uint32_t ServerFrames::Upload(const QImage& picture) {
    const xcb_pixmap_t bitmap = xcb_generate_id(connection_);
    const auto width = static_cast<std::uint16_t>(picture.width());
    const auto height = static_cast<std::uint16_t>(picture.height());
    // On the window's screen; the window is only where the pixmap belongs.
    Sent(xcb_create_pixmap(connection_, 1, bitmap, window_, width, height).sequence,
         "make a frame's bitmap");
    if (!bitmapGc_) {
        bitmapGc_ = xcb_generate_id(connection_);
        Sent(xcb_create_gc(connection_, bitmapGc_, bitmap, 0, nullptr).sequence,
             "set up drawing in a bitmap");
    }
    const std::vector<std::uint8_t> rows =
        BitmapRows(picture, format_.unit, format_.pad, format_.leastSignificantBitFirst,
                   format_.leastSignificantByteFirst);
    // In bands that each fit one request.
    const std::size_t rowBytes = height ? rows.size() / height : 0;
    const std::size_t maxBytes = std::size_t{xcb_get_maximum_request_length(connection_)} * 4;
    const std::size_t bandRows =
        std::max<std::size_t>(1, (maxBytes - 64) / std::max<std::size_t>(rowBytes, 1));
    for (std::size_t top = 0; top < height; top += bandRows) {
        const std::size_t band = std::min<std::size_t>(bandRows, height - top);
        Sent(
            xcb_put_image(connection_, XCB_IMAGE_FORMAT_XY_PIXMAP, bitmap, bitmapGc_, width,
                          static_cast<std::uint16_t>(band), 0, static_cast<std::int16_t>(top), 0, 1,
                          static_cast<std::uint32_t>(band * rowBytes), rows.data() + top * rowBytes)
                .sequence,
            "upload a frame's bitmap");
    }
    return bitmap;
}

}  // namespace kelto

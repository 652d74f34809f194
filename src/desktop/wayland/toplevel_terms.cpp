#include "desktop/wayland/toplevel_terms.h"

#include <QtGui/private/qhighdpiscaling_p.h>
#include <qpa/qplatformnativeinterface.h>
#include <wayland-client.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWindow>
#include <optional>
#include <utility>

#include "desktop/wayland/wayland_globals.h"
#include "xdg-decoration-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

namespace kelto {

struct ToplevelTerms::Protocol {
    wl_display* display = nullptr;
    QWindow* window = nullptr;
    wl_surface* surface = nullptr;
    xdg_toplevel* toplevel = nullptr;
    zxdg_decoration_manager_v1* decorations = nullptr;
    zxdg_toplevel_decoration_v1* decoration = nullptr;
    std::function<void(bool)> ownBar;
    std::optional<bool> drawsOwnBar;
    // The first limits went out, and the bar was asked for.
    bool modeAsked = false;

    ~Protocol() {
        // Before the toolkit destroys the toplevel, as the decoration protocol requires.
        if (decoration) zxdg_toplevel_decoration_v1_destroy(decoration);
        if (decorations) zxdg_decoration_manager_v1_destroy(decorations);
    }
};

namespace {

void DecorationMode(void* data, zxdg_toplevel_decoration_v1*, uint32_t mode) {
    auto* protocol = static_cast<ToplevelTerms::Protocol*>(data);
    const bool own = mode != ZXDG_TOPLEVEL_DECORATION_V1_MODE_SERVER_SIDE;
    if (protocol->drawsOwnBar == own) return;
    protocol->drawsOwnBar = own;
    // Not inside the toolkit's event dispatch: the answer changes the window's size.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [ownBar = protocol->ownBar, own] { ownBar(own); },
        Qt::QueuedConnection);
}

const zxdg_toplevel_decoration_v1_listener kDecorationListener = {DecorationMode};

}  // namespace

ToplevelTerms::ToplevelTerms(std::unique_ptr<Protocol> protocol) : protocol_(std::move(protocol)) {}

ToplevelTerms::~ToplevelTerms() = default;

std::unique_ptr<ToplevelTerms> ToplevelTerms::For(QWindow& window,
                                                  std::function<void(bool)> ownBar) {
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    if (!native) return nullptr;
    auto protocol = std::make_unique<Protocol>();
    protocol->display =
        static_cast<wl_display*>(native->nativeResourceForIntegration("wl_display"));
    protocol->window = &window;
    protocol->surface =
        static_cast<wl_surface*>(native->nativeResourceForWindow("surface", &window));
    protocol->toplevel =
        static_cast<xdg_toplevel*>(native->nativeResourceForWindow("xdg_toplevel", &window));
    if (!protocol->display || !protocol->surface || !protocol->toplevel) return nullptr;
    protocol->ownBar = std::move(ownBar);
    // Its answers come with the toolkit's events, in the toolkit's thread.
    BindGlobals(protocol->display, nullptr,
                {{zxdg_decoration_manager_v1_interface, 1,
                  reinterpret_cast<void**>(&protocol->decorations)}});
    if (protocol->decorations) {
        protocol->decoration = zxdg_decoration_manager_v1_get_toplevel_decoration(
            protocol->decorations, protocol->toplevel);
        zxdg_toplevel_decoration_v1_add_listener(protocol->decoration, &kDecorationListener,
                                                 protocol.get());
    }
    return std::unique_ptr<ToplevelTerms>(new ToplevelTerms(std::move(protocol)));
}

void ToplevelTerms::KeepSize(QSize size) {
    size_ = size;
    SendLimits();
    if (!protocol_->modeAsked) {
        protocol_->modeAsked = true;
        // sway decides between its own bar and ours from the limits in force when asked, so
        // they are committed first, while the window has no buffer yet.
        wl_surface_commit(protocol_->surface);
        if (protocol_->decoration)
            zxdg_toplevel_decoration_v1_set_mode(protocol_->decoration,
                                                 ZXDG_TOPLEVEL_DECORATION_V1_MODE_CLIENT_SIDE);
    }
    // Later limits go with the toolkit's next commit, the one of the new layout. A commit of
    // their own would show the last buffer, the old layout, with the frame's surface already
    // moved to its new place in it.
    wl_display_flush(protocol_->display);
}

void ToplevelTerms::FollowStates(Qt::WindowStates states) {
    const bool compositors = states & (Qt::WindowMaximized | Qt::WindowFullScreen);
    if (compositors == sizeIsCompositors_) return;
    sizeIsCompositors_ = compositors;
    SendLimits();
    // Takes effect with the toolkit's next commit, the one of the new size.
    wl_display_flush(protocol_->display);
}

void ToplevelTerms::SendLimits() {
    // In surface units, which differ from the toolkit's pixels where it follows a fractional
    // scale.
    const QSize size = size_ * QHighDpiScaling::factor(protocol_->window);
    const QSize limit = sizeIsCompositors_ ? QSize(0, 0) : size;
    xdg_toplevel_set_min_size(protocol_->toplevel, size.width(), size.height());
    xdg_toplevel_set_max_size(protocol_->toplevel, limit.width(), limit.height());
}

}  // namespace kelto

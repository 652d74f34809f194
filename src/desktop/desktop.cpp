#include "desktop/desktop.h"

#include <QGuiApplication>

#include "desktop/fixed_size.h"
#include "desktop/wayland/compositor_frames.h"
#include "desktop/wayland/wayland_frame.h"
#include "desktop/x11/server_frames.h"
#include "desktop/x11/window_hints.h"

namespace kelto {
namespace {

Desktop::Platform AskToolkit() {
    const QString name = QGuiApplication::platformName();
    if (name == QLatin1String("xcb")) return Desktop::Platform::X11;
    if (name.startsWith(QLatin1String("wayland"))) return Desktop::Platform::Wayland;
    return Desktop::Platform::Other;
}

std::unique_ptr<FrameSender> FramesFor(Desktop::Platform platform) {
    switch (platform) {
        case Desktop::Platform::X11:
            return std::make_unique<ServerFrames>();
        case Desktop::Platform::Wayland:
            return std::make_unique<CompositorFrames>();
        default:
            return std::make_unique<FrameSender>();
    }
}

}  // namespace

Desktop::Desktop() : platform_(AskToolkit()), frames_(FramesFor(platform_)) {}

Desktop::~Desktop() = default;

std::unique_ptr<QObject> Desktop::Show(QWidget& window, QSize clientSize) {
    KeepFixedSize(window, clientSize);
    if (platform_ == Platform::X11) WriteWindowHintsOnShow(window);
    if (platform_ == Platform::Wayland) return ShowInOwnFrame(window);
    window.show();
    return nullptr;
}

}  // namespace kelto

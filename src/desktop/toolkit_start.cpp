#include "desktop/toolkit_start.h"

#include <QGuiApplication>

#include "desktop/screen_check.h"
#include "desktop/toolkit_failure.h"
#include "desktop/whole_scale.h"

namespace kelto {

void PrepareToolkit() {
    // The animation loop pumps events from inside an event handler; the plain Unix
    // event dispatcher delivers posted events and repaints at any depth, glib's does not.
    qputenv("QT_NO_GLIB", "1");
    // With no session bus the toolkit would launch one of its own to look for a screen
    // reader: a daemon that outlives the window and costs the start-up 10 to 100 ms.
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
    // On Wayland the program draws its own frame, so the toolkit's frames are never used; yet
    // to learn whether it could draw them, the toolkit's Wayland plugin loads EGL and the
    // display's GL driver, which the software painting here never uses: 45 of 90 MB.
    if (qEnvironmentVariableIsEmpty("QT_WAYLAND_DISABLE_WINDOWDECORATION"))
        qputenv("QT_WAYLAND_DISABLE_WINDOWDECORATION", "1");
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::Floor);
    UseWholeScaleFactorsOnly();
    EndAtOnceOnToolkitFailure();
}

void CheckToolkitStarted() {
    ToolkitStarted();
    RequireDisplayThatShowsFrames();
}

}  // namespace kelto
